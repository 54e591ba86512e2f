#pragma once
// The layout store of a window: its placement and the column layouts of the controls linked
// to it, kept in an ini file. It restores when told to and whenever the window is shown,
// and saves when the window may close and when the window is being destroyed.
//
// Qt announces no destruction while a widget is still whole, so the window calls
// formDestroy() first thing in its destructor. Saves and restores the store starts by itself
// run inside Qt's event delivery, where no exception may pass: their errors go to the error
// handler (the window shows them in its error box) and the close goes on. Called directly,
// restoreLayout() and saveLayout() let EIniFileException reach the caller.

#include "controls/LayoutKeys.h"
#include "layout/WindowPlacement.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <functional>
#include <vector>

class IniLayoutKeys;
class QCloseEvent;

class TLayoutStore final : public QObject, public LayoutStorage {
    Q_OBJECT
public:
    enum class Option { State = 0x1, Position = 0x2 };
    Q_DECLARE_FLAGS(Options, Option)
    using ErrorHandler = std::function<void(const std::exception &error)>;

    explicit TLayoutStore(QWidget *window);
    // Forgets the window and the linked controls; never saves.
    ~TLayoutStore() override;

    // Empty means the program file's name with the extension ".INI", in the working folder.
    void setIniFileName(const QString &fileName) { m_iniFileName = fileName; }
    QString iniFileName() const;
    // Empty means the window's class name.
    void setIniSection(const QString &section) { m_iniSection = section; }
    QString iniSection() const;
    void setActive(bool active) { m_active = active; }
    bool active() const { return m_active; }
    void setOptions(Options options) { m_options = options; }
    Options options() const { return m_options; }
    // A file whose stored version is lower is not restored.
    void setVersion(int version) { m_version = version; }
    int version() const { return m_version; }
    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }

    void restoreLayout();
    // Raises EIniFileException when the file system refuses a key; later keys are not written.
    void saveLayout();
    // The window's destruction: saves (with "Visible" 1) unless saved since the last restore.
    void formDestroy();

    bool restored() const { return m_restored; }
    bool saved() const { return m_saved; }

    QString storageSection() const override { return m_iniSection; }
    void linkClient(LayoutClient *client) override;
    void unlinkClient(LayoutClient *client) override;

signals:
    void placementRestored();
    void placementSaved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restorePlacement(const IniLayoutKeys &keys);
    void restorePosition(const IniLayoutKeys &keys);
    // False when a minimized start was handed to the application.
    bool restoreState(const IniLayoutKeys &keys);
    void adjustMaxPosition();
    void closeQuery(QCloseEvent *event);
    template <class Action> void reportingErrors(Action action);

    QPointer<QWidget> m_window;
    WindowPlacer m_placer;
    std::vector<LayoutClient *> m_clients;
    QString m_iniFileName;
    QString m_iniSection;
    Options m_options = Options(Option::State) | Option::Position;
    int m_version = 0;
    bool m_active = true;
    bool m_restored = false;
    bool m_saved = false;
    bool m_destroying = false;
    ErrorHandler m_errorHandler;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TLayoutStore::Options)
