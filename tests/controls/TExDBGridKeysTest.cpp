// Keys of the data grid: auto-append at the end of the data, cancel-on-exit, Ctrl+Delete,
// clipboard keys, in-place typing, focus leaving with Tab.

#include "TExDBGridTestSupport.h"

#include "controls/WindowWheelHandler.h"

#include <QClipboard>
#include <QScrollBar>
#include <functional>
#include <ostream>
#include <vector>

using namespace gridtest;

namespace {

class GridKeysTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
};

void toLastRecord(GridRig &rig) { rig.data.last(); }

} // namespace

TEST_F(GridKeysTest, DownMovesToTheNextRecord)
{
    GridRig rig(5);
    key(rig.grid, Qt::Key_Down);
    key(rig.grid, Qt::Key_Down);
    EXPECT_EQ(rig.current("Nome"), "Nome3");
    EXPECT_EQ(rig.grid->row(), 2);
    key(rig.grid, Qt::Key_Up);
    EXPECT_EQ(rig.current("Nome"), "Nome2");
}

TEST_F(GridKeysTest, DownAtTheEndAppendsInAnEditableGrid)
{
    GridRig rig(3);
    toLastRecord(rig);
    key(rig.grid, Qt::Key_Down);
    EXPECT_EQ(rig.data.state(), TDataSetState::dsInsert);
    // The appended record must survive the grid losing the focus.
    EXPECT_FALSE(rig.grid->hasOption(TDBGridOption::dgCancelOnExit));
    rig.other->setFocus();
    EXPECT_EQ(rig.data.state(), TDataSetState::dsInsert);
}

struct NoAppendCase {
    const char *name;
    std::function<void(GridRig &)> setUp;
};

class GridNoAppendTest : public GridKeysTest, public ::testing::WithParamInterface<NoAppendCase> {};

TEST_P(GridNoAppendTest, DownAtTheEndDoesNotAppend)
{
    GridRig rig(3);
    GetParam().setUp(rig);
    toLastRecord(rig);
    key(rig.grid, Qt::Key_Down);
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(rig.current("Nome"), "Nome3");
    EXPECT_EQ(rig.data.recordCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, GridNoAppendTest,
    ::testing::Values(NoAppendCase{"ReadOnlyGrid", [](GridRig &r) { r.grid->setReadOnly(true); }},
                      NoAppendCase{"ReadOnlyDataSet", [](GridRig &r) { r.data.setReadOnly(true); }},
                      NoAppendCase{"NoEditingOption",
                                   [](GridRig &r) { r.grid->setOption(TDBGridOption::dgEditing, false); }},
                      NoAppendCase{"AutoAppendOff", [](GridRig &r) { r.grid->setAllowAutoAppend(false); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridKeysTest, UpAfterAnAppendCancelsItAndRestoresCancelOnExit)
{
    GridRig rig(3);
    toLastRecord(rig);
    key(rig.grid, Qt::Key_Down);
    ASSERT_EQ(rig.data.state(), TDataSetState::dsInsert);
    key(rig.grid, Qt::Key_Up);
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    EXPECT_TRUE(rig.grid->hasOption(TDBGridOption::dgCancelOnExit));
    EXPECT_EQ(rig.data.recordCount(), 3);
}

TEST_F(GridKeysTest, AnUntouchedInsertIsCancelledWhenTheFocusLeaves)
{
    GridRig rig(3);
    key(rig.grid, Qt::Key_Insert);
    ASSERT_EQ(rig.data.state(), TDataSetState::dsInsert);
    rig.other->setFocus();
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(rig.data.recordCount(), 3);
}

TEST_F(GridKeysTest, TypedRowsAtTheEndArePostedByTheNextDown)
{
    GridRig rig(2);
    toLastRecord(rig);
    key(rig.grid, Qt::Key_Down);
    type(rig.grid, "Anna");
    key(rig.grid, Qt::Key_Down);
    EXPECT_EQ(rig.data.rows().size(), 3u);
    EXPECT_EQ(rig.data.rows().back().values.value(0), "Anna");
    // The second Down appended the next empty row.
    EXPECT_EQ(rig.data.state(), TDataSetState::dsInsert);
}

namespace {

// Ctrl+Delete pressed once per answer given to the question (when one is asked), on a grid
// of `rows` members set up as the case says.
struct CtrlDeleteCase {
    const char *name;
    int rows;
    std::function<void(GridRig &)> setUp;
    std::vector<bool> answers;
    QStringList asked;       // every question, in order
    QStringList remaining;   // the names left in the table
};

// Failures name the case rather than dumping its bytes.
void PrintTo(const CtrlDeleteCase &c, std::ostream *os) { *os << c.name; }

void markFirstAndThird(GridRig &rig)
{
    rig.grid->setOption(TDBGridOption::dgMultiSelect, true);
    rig.grid->markCurrentRow(true);
    rig.data.next();
    rig.data.next();
    rig.grid->markCurrentRow(true);
}

const QString kDeleteOne = QStringLiteral("Delete record?");
const QString kDeleteMarked = QStringLiteral("Delete all selected records?");

} // namespace

class GridCtrlDeleteTest : public GridKeysTest, public ::testing::WithParamInterface<CtrlDeleteCase> {};

TEST_P(GridCtrlDeleteTest, DeletesOnlyWhatTheUserAgreedTo)
{
    const CtrlDeleteCase &c = GetParam();
    GridRig rig(c.rows);
    c.setUp(rig);
    QStringList asked;
    for (const bool answer : c.answers) {
        Answers answers(answer);
        key(rig.grid, Qt::Key_Delete, Qt::ControlModifier);
        asked << answers.asked;
    }
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(rig.data.column(0), c.remaining);
    EXPECT_EQ(rig.data.recordCount(), c.remaining.size());
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, GridCtrlDeleteTest,
    ::testing::Values(
        CtrlDeleteCase{"RefusedKeepsTheRecord", 3, [](GridRig &r) { key(r.grid, Qt::Key_Down); }, {false},
                       {kDeleteOne}, {"Nome1", "Nome2", "Nome3"}},
        CtrlDeleteCase{"ConfirmedDeletesTheCurrentRecord", 3, [](GridRig &r) { key(r.grid, Qt::Key_Down); }, {true},
                       {kDeleteOne}, {"Nome1", "Nome3"}},
        CtrlDeleteCase{"RefusedThenConfirmedAsksAgain", 3, [](GridRig &r) { key(r.grid, Qt::Key_Down); },
                       {false, true}, {kDeleteOne, kDeleteOne}, {"Nome1", "Nome3"}},
        CtrlDeleteCase{"WithoutConfirmDeleteDeletesAtOnce", 3,
                       [](GridRig &r) { r.grid->setOption(TDBGridOption::dgConfirmDelete, false); }, {true}, {},
                       {"Nome2", "Nome3"}},
        CtrlDeleteCase{"ReadOnlyGridDoesNothing", 3, [](GridRig &r) { r.grid->setReadOnly(true); }, {true}, {},
                       {"Nome1", "Nome2", "Nome3"}},
        CtrlDeleteCase{"ReadOnlyDataSetDoesNothing", 3, [](GridRig &r) { r.data.setReadOnly(true); }, {true}, {},
                       {"Nome1", "Nome2", "Nome3"}},
        CtrlDeleteCase{"EmptyDataSetDoesNothing", 0, [](GridRig &) {}, {true}, {}, {}},
        CtrlDeleteCase{"SeveralMarkedAreAskedForAndDeletedTogether", 4, markFirstAndThird, {true}, {kDeleteMarked},
                       {"Nome2", "Nome4"}},
        CtrlDeleteCase{"SeveralMarkedRefusedKeepsThemAll", 4, markFirstAndThird, {false}, {kDeleteMarked},
                       {"Nome1", "Nome2", "Nome3", "Nome4"}},
        CtrlDeleteCase{"OneMarkedIsTheCurrentRecordsQuestion", 4,
                       [](GridRig &r) {
                           r.grid->setOption(TDBGridOption::dgMultiSelect, true);
                           r.grid->markCurrentRow(true);
                           r.data.next();
                           r.data.next();
                       },
                       {true}, {kDeleteOne}, {"Nome1", "Nome2", "Nome4"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridKeysTest, CtrlCCopiesTheCurrentFieldText)
{
    GridRig rig(3);
    key(rig.grid, Qt::Key_Right);
    key(rig.grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Figlio");
}

TEST_F(GridKeysTest, CtrlVInBrowseStateBeepsAndChangesNothing)
{
    GridRig rig(3);
    QApplication::clipboard()->setText("Zio");
    int beeps = 0;
    QObject::connect(rig.grid, &TCustomDBGrid::beeped, [&beeps] { ++beeps; });
    key(rig.grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(rig.current("Nome"), "Nome1");
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
}

TEST_F(GridKeysTest, CtrlVInEditStateSetsTheField)
{
    GridRig rig(3);
    QApplication::clipboard()->setText("Zio");
    rig.data.edit();
    key(rig.grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rig.current("Nome"), "Zio");
}

TEST_F(GridKeysTest, TypingOpensTheEditorAndEnterStoresTheText)
{
    GridRig rig(3);
    type(rig.grid, "Lia");
    ASSERT_TRUE(rig.grid->editorMode());
    EXPECT_EQ(rig.grid->inplaceEditor()->text(), "Lia");
    EXPECT_EQ(rig.data.state(), TDataSetState::dsEdit);
    key(rig.grid, Qt::Key_Return);
    EXPECT_FALSE(rig.grid->editorMode());
    EXPECT_EQ(rig.current("Nome"), "Lia");
    key(rig.grid, Qt::Key_Down);
    EXPECT_EQ(rig.data.rows().front().values.value(0), "Lia");
}

TEST_F(GridKeysTest, EscapeFirstRevertsTheEditorThenCancelsTheRecord)
{
    GridRig rig(3);
    type(rig.grid, "Lia");
    key(rig.grid, Qt::Key_Escape);
    EXPECT_EQ(rig.current("Nome"), "Nome1");
    key(rig.grid, Qt::Key_Escape);
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(rig.data.rows().front().values.value(0), "Nome1");
}

TEST_F(GridKeysTest, TabWithoutTabOptionLeavesTheGrid)
{
    GridRig rig(3);
    key(rig.grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), rig.other);
}

TEST_F(GridKeysTest, TabWithTabOptionMovesToTheNextColumn)
{
    GridRig rig(3);
    rig.grid->setOption(TDBGridOption::dgTabs, true);
    key(rig.grid, Qt::Key_Tab);
    EXPECT_EQ(rig.grid->selectedIndex(), 1);
    EXPECT_TRUE(rig.grid->hasFocus());
}

TEST_F(GridKeysTest, HomeWithLockedColumnsGoesToTheFirstUnlockedOne)
{
    GridRig rig(3);
    rig.grid->setLockedCols(2);
    EXPECT_EQ(rig.grid->selectedIndex(), 2);
    key(rig.grid, Qt::Key_Right);
    key(rig.grid, Qt::Key_Right);
    key(rig.grid, Qt::Key_Home);
    EXPECT_EQ(rig.grid->selectedIndex(), 2);
    key(rig.grid, Qt::Key_Left);
    EXPECT_EQ(rig.grid->selectedIndex(), 2);
}

TEST_F(GridKeysTest, PageDownMovesByTheVisibleRows)
{
    GridRig rig(100);
    const int rows = rig.grid->visibleRowCount();
    ASSERT_GT(rows, 5);
    key(rig.grid, Qt::Key_PageDown);
    EXPECT_EQ(rig.current("Nome"), QStringLiteral("Nome%1").arg(rows + 1));
    // Only the buffer window is held, never the table.
    EXPECT_LE(rig.data.bufferedRecordCount(), rows + 1);
}

namespace {

class WheelWindow : public QWidget, public WindowWheelHandler {
public:
    bool takes = true;
    bool windowWheel(QWheelEvent &) override { return takes; }
};

void wheel(QWidget *target, int delta)
{
    QWheelEvent event(QPointF(50, 50), target->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(GridKeysTest, WheelMovesOneRecordPerNotchUnlessTheWindowTakesIt)
{
    auto holder = std::make_unique<WheelWindow>();
    WheelWindow *window = holder.get();
    GridRig rig(10, memberColumns(), std::move(holder));
    wheel(rig.grid->viewport(), -240);
    EXPECT_EQ(rig.current("Nome"), "Nome1");

    window->takes = false;
    wheel(rig.grid->viewport(), -240);
    EXPECT_EQ(rig.current("Nome"), "Nome3");
    wheel(rig.grid->viewport(), 120);
    EXPECT_EQ(rig.current("Nome"), "Nome2");
}

TEST_F(GridKeysTest, TheVerticalBarShowsTheRecordPosition)
{
    GridRig rig(40);
    rig.grid->setScrollBars(TScrollStyle::ssVertical);
    QScrollBar *bar = rig.grid->verticalScrollBar();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 39);
    EXPECT_EQ(bar->value(), 0);
    key(rig.grid, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), rig.data.recNo() - 1);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(rig.data.recNo(), rig.grid->visibleRowCount() + 2);
    EXPECT_EQ(bar->value(), rig.data.recNo() - 1);
}

TEST_F(GridKeysTest, EitherSideOfTheBindingMayGoFirst)
{
    {
        GridRig rig(3);
        type(rig.grid, "Lia");
        delete rig.grid;   // the editor had the focus
        EXPECT_EQ(rig.data.state(), TDataSetState::dsEdit);
    }
    GridRig rig(3);
    auto source = std::make_unique<TDataSource>();
    source->setDataSet(&rig.data);
    rig.grid->setDataSource(source.get());
    source.reset();
    EXPECT_FALSE(rig.grid->dataLink().active());
    key(rig.grid, Qt::Key_Down);
    EXPECT_FALSE(rig.grid->viewport()->grab().isNull());
}
