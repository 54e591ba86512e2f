#pragma once
// A main window as the layout store sees it, with its two grids played by fakes that keep
// "<grid>.<field>=<position>,<width>" keys in their own sections, and a reader of the file's
// sections and keys in file order.

#include "controls/LayoutKeys.h"
#include "layout/TLayoutStore.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QStringList>
#include <utility>
#include <vector>

// Stands in for the program's main window, whose class name the sections carry; this test
// program never links the real one.
class Tfrm_main final : public QMainWindow {
    Q_OBJECT
public:
    Tfrm_main();
    bool refuseClose = false;

protected:
    void closeEvent(QCloseEvent *event) override { event->setAccepted(!refuseClose); }
};

namespace layouttest {

class FakeGrid final : public LayoutClient {
public:
    struct Column {
        QString field;
        int width;
        bool operator==(const Column &) const = default;
    };
    FakeGrid(QString name, std::vector<Column> columns) : name(std::move(name)), columns(std::move(columns)) {}

    void saveLayout(LayoutKeys &keys) override;
    void loadLayout(LayoutKeys &keys) override;
    void layoutStorageGone() override { storageGone = true; }

    QString section() const { return QStringLiteral("Tfrm_main") + name; }

    QString name;
    std::vector<Column> columns;
    bool storageGone = false;
};

// The designed main window with its store on `iniPath` and both grids linked, restored as
// the start-up restores it.
struct MainWindowRun {
    explicit MainWindowRun(const QString &iniPath);
    ~MainWindowRun();

    ::Tfrm_main window;
    TLayoutStore store{&window};
    FakeGrid nucleo{QStringLiteral("grid_nucleo"), {{"Nome", 120}, {"Ruolo", 80}, {"Eta", 30}}};
    FakeGrid anagrafica{QStringLiteral("grid_anagrafica"), {{"Protocollo", 60}, {"Fascia", 40}, {"Ascolto", 50}}};
    QStringList errors;
};

// "[section]" and "key" entries of the file, in file order.
QStringList fileEntries(const QString &path);
QByteArray fileBytes(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace layouttest
