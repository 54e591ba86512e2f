#include "controls/GridOptionsMenu.h"

#include "controls/GridColumn.h"
#include "controls/GridCustomizeDialog.h"
#include "controls/TExDBGrid.h"
#include "controls/TMessageBox.h"
#include "db/TDataSet.h"
#include "db/TField.h"
#include "platform/OutputFile.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTextStream>

namespace {

constexpr int kMaxFixedColumns = 5;
constexpr int kMaxLayoutColumns = 100;

QString delimiterText(TExportDelimiter delimiter)
{
    switch (delimiter) {
    case TExportDelimiter::Comma:
        return QStringLiteral(",");
    case TExportDelimiter::Quote:
        return QStringLiteral("\"");
    case TExportDelimiter::Pipe:
        break;
    }
    return QStringLiteral("|");
}

// Walks every record with the controls switched off, then comes back.
void forEachRecord(TDataSet &ds, const std::function<void()> &visit)
{
    const TBookmark bookmark = ds.getBookmark();
    ds.disableControls();
    try {
        for (ds.first(); !ds.eof(); ds.next())
            visit();
        if (!bookmark.isEmpty() && ds.bookmarkValid(bookmark))
            ds.gotoBookmark(bookmark);
    } catch (...) {
        ds.enableControls();
        throw;
    }
    ds.enableControls();
}

unsigned member(TExMenuOption option) { return unsigned(option); }

} // namespace

GridOptionsMenu::GridOptionsMenu(TExDBGrid &grid) : m_grid(grid), m_menu(std::make_unique<QMenu>())
{
    build();
    QObject::connect(m_menu.get(), &QMenu::aboutToShow, m_menu.get(), [this] { synchronise(); });
}

GridOptionsMenu::~GridOptionsMenu() = default;

QAction *GridOptionsMenu::addToggle(const QString &caption, unsigned memberBit, std::function<bool()> get,
                                    std::function<void(bool)> set)
{
    QAction *action = m_menu->addAction(caption);
    action->setCheckable(true);
    QObject::connect(action, &QAction::triggered, m_menu.get(), [set](bool checked) { set(checked); });
    m_entries.append(action);
    m_members.append(memberBit);
    m_checks.append(std::move(get));
    return action;
}

QAction *GridOptionsMenu::addCommand(const QString &caption, unsigned memberBit, std::function<void()> run)
{
    QAction *action = m_menu->addAction(caption);
    QObject::connect(action, &QAction::triggered, m_menu.get(), [run] { run(); });
    m_entries.append(action);
    m_members.append(memberBit);
    m_checks.append(nullptr);
    return action;
}

void GridOptionsMenu::addSeparator()
{
    m_entries.append(m_menu->addSeparator());
    m_members.append(0);
    m_checks.append(nullptr);
}

void GridOptionsMenu::build()
{
    using O = TExMenuOption;
    TExDBGrid &g = m_grid;
    addToggle(QStringLiteral("Auto Size"), member(O::exAutoSize), [&g] { return g.gridAutoSize(); },
              [&g](bool on) { g.setGridAutoSize(on); });
    addToggle(QStringLiteral("Auto Width"), member(O::exAutoWidth), [&g] { return g.gridAutoWidth(); },
              [&g](bool on) { g.setGridAutoWidth(on); });
    addSeparator();
    addToggle(QStringLiteral("Display Boolean"), member(O::exDisplayBoolean), [&g] { return g.displayBoolean(); },
              [&g](bool on) { g.setDisplayBoolean(on); });
    addToggle(QStringLiteral("Display Images"), member(O::exDisplayImages), [&g] { return g.displayImages(); },
              [&g](bool on) { g.setDisplayImages(on); });
    addToggle(QStringLiteral("Display Memo"), member(O::exDisplayMemo), [&g] { return g.displayMemo(); },
              [&g](bool on) { g.setDisplayMemo(on); });
    addToggle(QStringLiteral("Display Date/Time"), member(O::exDisplayDateTime), [&g] { return g.displayDateTime(); },
              [&g](bool on) { g.setDisplayDateTime(on); });
    addSeparator();
    addToggle(QStringLiteral("Show Text Ellipsis"), member(O::exShowTextEllipsis),
              [&g] { return g.showTextEllipsis(); }, [&g](bool on) { g.setShowTextEllipsis(on); });
    addToggle(QStringLiteral("Show Title Ellipsis"), member(O::exShowTitleEllipsis),
              [&g] { return g.showTitleEllipsis(); }, [&g](bool on) { g.setShowTitleEllipsis(on); });
    addToggle(QStringLiteral("Full Size Memo"), member(O::exFullSizeMemo), [&g] { return g.fullSizeMemo(); },
              [&g](bool on) { g.setFullSizeMemo(on); });
    addSeparator();
    addToggle(QStringLiteral("Allow Row Sizing"), member(O::exAllowRowSizing), [&g] { return g.rowSizingAllowed(); },
              [&g](bool on) { g.setRowSizingAllowed(on); });
    addToggle(QStringLiteral("Cell Hints"), member(O::exCellHints), [&g] { return g.cellHints(); },
              [&g](bool on) { g.setCellHints(on); });
    addToggle(QStringLiteral("Multi Line Titles"), member(O::exMultiLineTitles), [&g] { return g.multiLineTitles(); },
              [&g](bool on) { g.setMultiLineTitles(on); });
    addToggle(QStringLiteral("Use Row Colors"), member(O::exUseRowColors), [&g] { return g.useRowColors(); },
              [&g](bool on) { g.setUseRowColors(on); });

    QMenu *fixed = m_menu->addMenu(QStringLiteral("Fixed Columns"));
    auto *group = new QActionGroup(fixed);
    for (int count = 0; count <= kMaxFixedColumns; ++count) {
        const QString caption = count == 1 ? QStringLiteral("1 Fixed Column") : QStringLiteral("%1 Fixed Columns").arg(count);
        QAction *choice = fixed->addAction(caption);
        choice->setCheckable(true);
        group->addAction(choice);
        QObject::connect(choice, &QAction::triggered, fixed, [&g, count] { g.setLockedCols(count); });
        m_fixed.append(choice);
    }
    m_entries.append(fixed->menuAction());
    m_members.append(member(O::exFixedColumns));
    m_checks.append(nullptr);
    addSeparator();
    addCommand(QStringLiteral("Print Grid"), member(O::exPrintGrid), [this] { print(false); });
    addCommand(QStringLiteral("Print Dataset"), member(O::exPrintDataSet), [this] { print(true); });
    addSeparator();
    addCommand(QStringLiteral("Export Grid"), member(O::exExportGrid), [this] { exportGrid(); });
    addSeparator();
    addCommand(QStringLiteral("Select All"), member(O::exSelectAll), [this] { selectAll(); });
    addCommand(QStringLiteral("Unselect All"), member(O::exUnSelectAll), [this] { unselectAll(); });
    addSeparator();
    addCommand(QStringLiteral("Query By Form"), member(O::exQueryByForm), [this] { queryByForm(); });
    addCommand(QStringLiteral("Sort By Form"), member(O::exSortByForm), [this] { queryByForm(); });
    addSeparator();
    auto *editors = new QActionGroup(m_menu.get());
    editors->addAction(addToggle(QStringLiteral("Memo Editor Mode"), member(O::exMemoInplaceEditors),
                                 [&g] { return g.memoInplaceEditor() == TMemoInplaceEditor::Memo; },
                                 [&g](bool) { g.setMemoInplaceEditor(TMemoInplaceEditor::Memo); }));
    editors->addAction(addToggle(QStringLiteral("RichEdit Editor Mode"), member(O::exMemoInplaceEditors),
                                 [&g] { return g.memoInplaceEditor() == TMemoInplaceEditor::RichEdit; },
                                 [&g](bool) { g.setMemoInplaceEditor(TMemoInplaceEditor::RichEdit); }));
    addSeparator();
    addCommand(QStringLiteral("Customize"), member(O::exCustomize), [this] { customize(); });
    addToggle(QStringLiteral("Search Mode"), member(O::exSearchMode), [&g] { return g.searchMode(); },
              [&g](bool on) { g.setSearchMode(on); });
    addSeparator();
    addCommand(QStringLiteral("Save Layout"), member(O::exSaveLayout), [this] { saveLayout(); });
    addCommand(QStringLiteral("Load Layout"), member(O::exLoadLayout), [this] { loadLayout(); });
}

void GridOptionsMenu::synchronise()
{
    const unsigned shown = m_grid.exMenuOptions().toInt();
    for (int i = 0; i < m_entries.size(); ++i) {
        QAction *action = m_entries[i];
        if (m_members[i] != 0)
            action->setVisible((shown & m_members[i]) != 0);
        if (m_checks[i])
            action->setChecked(m_checks[i]());
    }
    // A separator shows only between two groups that both show something.
    bool before = false;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_members[i] != 0) {
            before = before || m_entries[i]->isVisible();
            continue;
        }
        bool after = false;
        for (int j = i + 1; j < m_entries.size() && m_members[j] != 0; ++j)
            after = after || m_entries[j]->isVisible();
        m_entries[i]->setVisible(before && after);
        if (before && after)
            before = false;
    }
    for (int count = 0; count < m_fixed.size(); ++count)
        m_fixed[count]->setChecked(m_grid.lockedCols() == count);
}

void GridOptionsMenu::popup(const QPoint &globalPos)
{
    synchronise();
    m_menu->popup(globalPos);
}

QString GridOptionsMenu::exportGrid(const QString &folder)
{
    const QString directory = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    const QString path = QDir(directory).filePath(QStringLiteral("DataExport.Dat"));
    QString lines;
    QTextStream out(&lines);
    const QString delimiter = delimiterText(m_grid.exportDelimiter());
    if (TDataSet *ds = m_grid.dataSet()) {
        forEachRecord(*ds, [&] {
            QStringList texts;
            for (int i = 0; i < m_grid.columns().count(); ++i) {
                const TField *field = m_grid.columns().at(i)->field();
                texts << (field ? field->displayText() : QString());
            }
            out << texts.join(delimiter) << '\n';
        });
    }
    out.flush();
    // The records name assisted people: the one writer of outputs, owner-only and whole.
    if (!platform::writeOutputBytes(path, lines.toUtf8()))
        return QString();
    TMessageBox(&m_grid).notice(QStringLiteral("Exported To File: ") + QDir::toNativeSeparators(path));
    return path;
}

void GridOptionsMenu::selectAll()
{
    m_grid.setOption(TDBGridOption::dgMultiSelect, true);
    TDataSet *ds = m_grid.dataSet();
    if (!ds)
        return;
    forEachRecord(*ds, [this] { m_grid.markCurrentRow(true); });
    m_grid.invalidateGrid();
}

void GridOptionsMenu::unselectAll()
{
    m_grid.clearMarks();
    m_grid.setOption(TDBGridOption::dgMultiSelect, false);
    if (TDataSet *ds = m_grid.dataSet())
        ds->first();
}

void GridOptionsMenu::queryByForm()
{
    // Key ranges exist only on a table component, which no dataset of this program is.
    TMessageBox(&m_grid).notice(QStringLiteral("QBF called for a Grid with a DataSource that is not a Table"));
}

void GridOptionsMenu::customize()
{
    GridCustomizeDialog dialog(m_grid);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_grid.gridAutoSize())
        m_grid.applyAutoSize();
    if (m_grid.gridAutoWidth())
        m_grid.applyAutoWidth();
    if (m_grid.OnCustomize)
        m_grid.OnCustomize(m_grid);
}

QString GridOptionsMenu::settingsName() const
{
    const QString name = m_grid.registrySaveName().isEmpty() ? QStringLiteral("ExDBGrid") : m_grid.registrySaveName();
    return QStringLiteral("Software/") + name;
}

void GridOptionsMenu::saveLayout()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tavorio"), settingsName());
    const TColumns &columns = m_grid.columns();
    int position = 0;
    for (int i = 0; i < columns.count(); ++i) {
        const TColumn &column = *columns.at(i);
        if (!column.visible())
            continue;
        settings.setValue(QStringLiteral("Column%1").arg(position++),
                          QStringLiteral("%1,%2").arg(column.fieldName()).arg(column.width()));
    }
    for (; position <= kMaxLayoutColumns; ++position)
        settings.remove(QStringLiteral("Column%1").arg(position));
}

void GridOptionsMenu::loadLayout()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tavorio"), settingsName());
    TColumns &columns = m_grid.columns();
    QList<TColumn *> found;
    QList<int> widths;
    for (int position = 0; position <= kMaxLayoutColumns; ++position) {
        const QString value = settings.value(QStringLiteral("Column%1").arg(position)).toString();
        if (value.isEmpty())
            break;
        TColumn *column = columns.findByField(value.section(QLatin1Char(','), 0, 0));
        if (column && !found.contains(column)) {
            found.append(column);
            widths.append(value.section(QLatin1Char(','), 1, 1).toInt());
        }
    }
    if (found.isEmpty())
        return;
    columns.beginUpdate();
    for (int i = 0; i < columns.count(); ++i)
        columns.at(i)->setVisible(found.contains(columns.at(i)));
    for (int i = 0; i < found.size(); ++i) {
        found[i]->setIndex(i);
        if (widths[i] > 0)
            found[i]->setWidth(widths[i]);
    }
    columns.endUpdate();
}

QList<QStringList> GridOptionsMenu::printLines(bool allFields) const
{
    QList<QStringList> lines;
    TDataSet *ds = m_grid.dataSet();
    if (!ds)
        return lines;
    QList<TField *> fields;
    QStringList captions;
    if (allFields) {
        for (TField *field : ds->fields()) {
            fields << field;
            captions << field->displayLabel();
        }
    } else {
        for (int i = 0; i < m_grid.columns().count(); ++i) {
            const TColumn &column = *m_grid.columns().at(i);
            if (column.visible() && column.field()) {
                fields << column.field();
                captions << column.title().caption();
            }
        }
    }
    lines << captions;
    forEachRecord(*ds, [&] {
        QStringList texts;
        for (const TField *field : fields)
            texts << field->displayText();
        lines << texts;
    });
    return lines;
}

void GridOptionsMenu::print(bool allFields)
{
    const QString title = m_grid.reportCaption().isEmpty() ? QStringLiteral("Data Printout") : m_grid.reportCaption();
    if (onPrint)
        onPrint(title, printLines(allFields));
}
