#pragma once
// The grid's options menu: 37 entries (separators included) built with the grid, shown
// from the top-left cell when the grid allows it. Each entry switches a display property
// or runs one bulk command over the grid's columns or dataset.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPoint;
class TExDBGrid;

class GridOptionsMenu final {
public:
    static constexpr int kEntryCount = 37;

    explicit GridOptionsMenu(TExDBGrid &grid);
    ~GridOptionsMenu();
    GridOptionsMenu(const GridOptionsMenu &) = delete;
    GridOptionsMenu &operator=(const GridOptionsMenu &) = delete;

    QMenu &menu() { return *m_menu; }
    QAction *entry(int index) const { return m_entries.value(index); }
    QAction *fixedColumnsEntry(int count) const { return m_fixed.value(count); }
    // Sets check marks and shown entries from the grid's properties.
    void synchronise();
    void popup(const QPoint &globalPos);

    // --- commands ------------------------------------------------------------------------------
    // Writes DataExport.Dat in `folder` (the program's folder when empty); the file's path.
    QString exportGrid(const QString &folder = QString());
    void selectAll();
    void unselectAll();
    void queryByForm();
    void customize();
    void saveLayout();
    void loadLayout();
    // Lines of a printout: the captions, then one line of texts per record.
    QList<QStringList> printLines(bool allFields) const;

    // Printing is handed to whoever owns a printer.
    std::function<void(const QString &title, const QList<QStringList> &lines)> onPrint;

private:
    void build();
    QAction *addToggle(const QString &caption, unsigned member, std::function<bool()> get,
                       std::function<void(bool)> set);
    QAction *addCommand(const QString &caption, unsigned member, std::function<void()> run);
    void addSeparator();
    void print(bool allFields);
    QString settingsName() const;

    TExDBGrid &m_grid;
    std::unique_ptr<QMenu> m_menu;
    QList<QAction *> m_entries;
    QList<unsigned> m_members;
    QList<std::function<bool()>> m_checks;
    QList<QAction *> m_fixed;
};
