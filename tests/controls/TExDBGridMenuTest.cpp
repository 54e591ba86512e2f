// The options menu: its entries, which of them show, and the commands that do not need a
// modal window.

#include "TExDBGridTestSupport.h"

#include "controls/GridOptionsMenu.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

using namespace gridtest;

namespace {

class GridMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
};

} // namespace

TEST_F(GridMenuTest, TheMenuHasItsEntriesInOrder)
{
    GridRig rig(2);
    GridOptionsMenu &menu = rig.grid->optionsMenu();
    const QList<int> separators{2, 7, 11, 17, 20, 22, 25, 28, 31, 34};
    const QStringList captions{"Auto Size", "Auto Width", "Display Boolean", "Display Images", "Display Memo",
                               "Display Date/Time", "Show Text Ellipsis", "Show Title Ellipsis", "Full Size Memo",
                               "Allow Row Sizing", "Cell Hints", "Multi Line Titles", "Use Row Colors",
                               "Fixed Columns", "Print Grid", "Print Dataset", "Export Grid", "Select All",
                               "Unselect All", "Query By Form", "Sort By Form", "Memo Editor Mode",
                               "RichEdit Editor Mode", "Customize", "Search Mode", "Save Layout", "Load Layout"};
    QStringList shown;
    for (int i = 0; i < GridOptionsMenu::kEntryCount; ++i) {
        ASSERT_NE(menu.entry(i), nullptr) << i;
        EXPECT_EQ(menu.entry(i)->isSeparator(), separators.contains(i)) << i;
        if (!menu.entry(i)->isSeparator())
            shown << menu.entry(i)->text();
    }
    EXPECT_EQ(menu.entry(GridOptionsMenu::kEntryCount), nullptr);
    EXPECT_EQ(shown, captions);
    EXPECT_EQ(menu.fixedColumnsEntry(0)->text(), "0 Fixed Columns");
    EXPECT_EQ(menu.fixedColumnsEntry(1)->text(), "1 Fixed Column");
    EXPECT_EQ(menu.fixedColumnsEntry(5)->text(), "5 Fixed Columns");
}

TEST_F(GridMenuTest, ChecksFollowTheProperties)
{
    GridRig rig(2);
    GridOptionsMenu &menu = rig.grid->optionsMenu();
    rig.grid->setUseRowColors(true);
    rig.grid->setDisplayMemo(false);
    rig.grid->setLockedCols(2);
    menu.synchronise();
    EXPECT_TRUE(menu.entry(15)->isChecked());
    EXPECT_FALSE(menu.entry(5)->isChecked());
    EXPECT_TRUE(menu.entry(3)->isChecked());
    EXPECT_TRUE(menu.fixedColumnsEntry(2)->isChecked());
    EXPECT_TRUE(menu.entry(29)->isChecked());
    menu.entry(30)->trigger();
    EXPECT_EQ(rig.grid->memoInplaceEditor(), TMemoInplaceEditor::RichEdit);
    menu.entry(15)->trigger();
    EXPECT_FALSE(rig.grid->useRowColors());
}

TEST_F(GridMenuTest, EntriesOutsideTheOptionSetAreHidden)
{
    GridRig rig(2);
    GridOptionsMenu &menu = rig.grid->optionsMenu();
    rig.grid->setExMenuOptions(TExMenuOption::exAutoSize | TExMenuOption::exExportGrid);
    menu.synchronise();
    EXPECT_TRUE(menu.entry(0)->isVisible());
    EXPECT_FALSE(menu.entry(1)->isVisible());
    EXPECT_TRUE(menu.entry(21)->isVisible());
    EXPECT_FALSE(menu.entry(36)->isVisible());
    int separatorsShown = 0;
    for (int i = 0; i < GridOptionsMenu::kEntryCount; ++i)
        separatorsShown += menu.entry(i)->isSeparator() && menu.entry(i)->isVisible() ? 1 : 0;
    EXPECT_EQ(separatorsShown, 1);
}

TEST_F(GridMenuTest, TheMenuOpensOnlyFromTheTopLeftCellWithTitleCheck)
{
    GridRig rig(2);
    EXPECT_FALSE(rig.grid->popupOptionsMenu(QPoint(10, 10)));
    rig.grid->setTitleCheck(true);
    EXPECT_TRUE(rig.grid->popupOptionsMenu(QPoint(10, 10)));
    rig.grid->optionsMenu().menu().hide();
    rig.grid->setOption(TDBGridOption::dgIndicator, false);
    EXPECT_FALSE(rig.grid->popupOptionsMenu(QPoint(10, 10)));
}

TEST_F(GridMenuTest, ExportWritesOneDelimitedLinePerRecord)
{
    GridRig rig(2);
    QTemporaryDir folder;
    Answers answers(true);
    rig.grid->setExportDelimiter(TExportDelimiter::Pipe);
    const QString path = rig.grid->optionsMenu().exportGrid(folder.path());
    EXPECT_EQ(QFileInfo(path).fileName(), "DataExport.Dat");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), "Nome1|Figlio|Operaio||1\nNome2|Figlio|Operaio||2\n");
    ASSERT_EQ(answers.asked.size(), 1);
    EXPECT_TRUE(answers.asked.front().startsWith("Exported To File: "));
    EXPECT_TRUE(answers.asked.front().endsWith("DataExport.Dat"));
    rig.grid->setExportDelimiter(TExportDelimiter::Comma);
    rig.grid->optionsMenu().exportGrid(folder.path());
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    EXPECT_TRUE(file.readLine().startsWith("Nome1,Figlio,"));
}

TEST_F(GridMenuTest, SelectAllMarksEveryRecordAndUnselectAllClearsThem)
{
    GridRig rig(4);
    rig.data.last();
    rig.grid->optionsMenu().selectAll();
    EXPECT_TRUE(rig.grid->multiSelect());
    EXPECT_EQ(rig.grid->selectedRows().size(), 4);
    EXPECT_EQ(rig.current("Nome"), "Nome4");
    rig.grid->optionsMenu().unselectAll();
    EXPECT_FALSE(rig.grid->multiSelect());
    EXPECT_TRUE(rig.grid->selectedRows().isEmpty());
    EXPECT_EQ(rig.current("Nome"), "Nome1");
}

TEST_F(GridMenuTest, QueryByFormNeedsATable)
{
    GridRig rig(2);
    Answers answers(true);
    rig.grid->optionsMenu().entry(26)->trigger();
    EXPECT_EQ(answers.asked, QStringList{"QBF called for a Grid with a DataSource that is not a Table"});
}

TEST_F(GridMenuTest, AutoWidthSpreadsTheColumnsOverTheClientWidth)
{
    GridRig rig(2);
    rig.grid->columns().at(0)->setWidth(160);
    rig.grid->setGridAutoWidthDisplay(TGridAutoWidthDisplay::Proportional);
    rig.grid->setGridAutoWidth(true);
    int total = 0;
    for (int i = 0; i < 5; ++i)
        total += rig.grid->columns().at(i)->width() + 1;
    EXPECT_EQ(total + 12, rig.grid->viewport()->width());
    EXPECT_NEAR(rig.grid->columns().at(0)->width(), 2 * rig.grid->columns().at(1)->width(), 2);
    rig.grid->setGridAutoWidthDisplay(TGridAutoWidthDisplay::Uniform);
    EXPECT_NEAR(rig.grid->columns().at(0)->width(), rig.grid->columns().at(1)->width(), 1);
}

TEST_F(GridMenuTest, AutoSizeTakesTheWidestTextOfAllRecords)
{
    GridRig rig(3);
    rig.data.last();
    rig.data.edit();
    rig.field("Nome")->setAsString("Un nome davvero molto lungo");
    rig.data.post();
    rig.data.first();
    rig.grid->setGridAutoSize(true);
    const int expected = QFontMetrics(rig.grid->font()).horizontalAdvance("Un nome davvero molto lungo") + 4;
    EXPECT_EQ(rig.grid->columns().at(0)->width(), expected);
    EXPECT_EQ(rig.current("Nome"), "Nome1");
}

TEST_F(GridMenuTest, ARightClickOpensTheGridsPopupMenuAtThePointerUnlessAHandlerTakesIt)
{
    GridRig rig(3);
    QMenu popup;
    popup.addAction(QStringLiteral("Apri"));
    rig.grid->setPopupMenu(&popup);
    const QPoint at = cellCentre(rig.grid, 1, 2);
    click(rig.grid->viewport(), at, Qt::RightButton);
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.pos(), rig.grid->viewport()->mapToGlobal(at));
    popup.hide();

    int handled = 0;
    rig.grid->OnRightClick = [&handled](TExDBGrid &) { ++handled; };
    click(rig.grid->viewport(), at, Qt::RightButton);
    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(popup.isVisible());
}
