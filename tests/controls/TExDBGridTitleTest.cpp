// Column titles of the data grid: title buttons and their click, moving columns with the
// right button (title-button grids) or a left drag (the others), the drag's picture and
// its automatic scrolling.

#include "TExDBGridTestSupport.h"

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

using namespace gridtest;

namespace {

class GridTitleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    // The card list: title buttons, read-only.
    static void makeCardList(GridRig &rig)
    {
        rig.grid->setTitleButtons(true);
        rig.grid->setReadOnly(true);
    }
};

struct Click {
    int aCol = -1;
    TField *field = nullptr;
};

} // namespace

class GridTitleClickTest : public GridTitleTest, public ::testing::WithParamInterface<int> {};

TEST_P(GridTitleClickTest, ReportsTheClickedColumnAndItsField)
{
    GridRig rig(3);
    makeCardList(rig);
    std::vector<Click> clicks;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int aCol, TField *field) { clicks.push_back({aCol, field}); };
    const int column = GetParam();
    click(rig.grid->viewport(), cellCentre(rig.grid, column + 1, 0));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].aCol, column);
    EXPECT_EQ(clicks[0].field, rig.grid->columns().at(column)->field());
    EXPECT_EQ(clicks[0].field->fieldName(), memberColumns()[size_t(column)].name);
}

INSTANTIATE_TEST_SUITE_P(Columns, GridTitleClickTest, ::testing::Values(0, 1, 2, 3));

TEST_F(GridTitleTest, ClickReportsTheIndexInTheColumnsAfterAMove)
{
    GridRig rig(3);
    makeCardList(rig);
    rig.grid->columns().move(0, 2);
    int reported = -1;
    QString field;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int aCol, TField *f) {
        reported = aCol;
        field = f->fieldName();
    };
    click(rig.grid->viewport(), cellCentre(rig.grid, 3, 0));
    EXPECT_EQ(reported, 2);
    EXPECT_EQ(field, "Nome");
}

TEST_F(GridTitleTest, PressMoveOffAndReleaseRaisesNothing)
{
    GridRig rig(3);
    makeCardList(rig);
    int clicks = 0;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int, TField *) { ++clicks; };
    QWidget *vp = rig.grid->viewport();
    const QPoint title = cellCentre(rig.grid, 1, 0);
    mouse(vp, QEvent::MouseButtonPress, title, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(rig.grid->titleButtonShownDown());
    const QPoint data = cellCentre(rig.grid, 1, 2);
    mouse(vp, QEvent::MouseMove, data, Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(rig.grid->titleButtonShownDown());
    EXPECT_TRUE(rig.grid->titleButtonPressed());
    mouse(vp, QEvent::MouseButtonRelease, data, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(rig.grid->titleButtonPressed());
}

TEST_F(GridTitleTest, ReleaseOnAnotherColumnsTitleRaisesNothing)
{
    GridRig rig(3);
    makeCardList(rig);
    int clicks = 0;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int, TField *) { ++clicks; };
    QWidget *vp = rig.grid->viewport();
    mouse(vp, QEvent::MouseButtonPress, cellCentre(rig.grid, 1, 0), Qt::LeftButton, Qt::LeftButton);
    mouse(vp, QEvent::MouseButtonRelease, cellCentre(rig.grid, 2, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(columnOrder(rig.grid).first(), "Nome");
}

TEST_F(GridTitleTest, ADisabledButtonBeepsAndRaisesNothing)
{
    GridRig rig(3);
    makeCardList(rig);
    int clicks = 0;
    int beeps = 0;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int, TField *) { ++clicks; };
    rig.grid->OnCheckButton = [](TCoreDBGrid &, int aCol, TField *, bool &enabled) { enabled = aCol != 1; };
    QObject::connect(rig.grid, &TCustomDBGrid::beeped, [&] { ++beeps; });
    click(rig.grid->viewport(), cellCentre(rig.grid, 2, 0));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(GridTitleTest, DoubleClickOnATitleClicksOnceThenRaisesDblClick)
{
    GridRig rig(3);
    makeCardList(rig);
    QStringList events;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int aCol, TField *) { events << QStringLiteral("title %1").arg(aCol); };
    rig.grid->OnDblClick = [&](TCustomDBGrid &) { events << QStringLiteral("dblclick"); };
    doubleClick(rig.grid->viewport(), cellCentre(rig.grid, 2, 0));
    EXPECT_EQ(events, (QStringList{"title 1", "dblclick"}));
}

TEST_F(GridTitleTest, DoubleClickOnARowRaisesDblClick)
{
    GridRig rig(3);
    makeCardList(rig);
    int dbl = 0;
    rig.grid->OnDblClick = [&](TCustomDBGrid &) { ++dbl; };
    doubleClick(rig.grid->viewport(), cellCentre(rig.grid, 1, 2));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(rig.current("Nome"), "Nome2");
}

namespace {

// One way of the pointer along the title row: pressed on a grid column's title, released
// where `to` says.
struct TitleWay {
    int fromGridCol;
    std::function<QPoint(const TExDBGrid *)> to;
};

TitleWay toTitleOf(int fromGridCol, int toGridCol)
{
    return {fromGridCol, [toGridCol](const TExDBGrid *g) { return cellCentre(g, toGridCol, 0); }};
}

// Drags on the title row: the grid they happen in, the button, the ways of the pointer, and
// the columns after the last release.
struct ColumnDragCase {
    const char *name;
    bool titleButtons = false;
    bool columnResize = true;
    int lockedCols = 0;
    int columnWidth = 0;   // every column's width; 0 keeps the rig's
    Qt::MouseButton button = Qt::LeftButton;
    std::vector<TitleWay> ways;
    QStringList order;
    // The current column after the drops, where the grid's own drag decides it.
    std::optional<int> currentIndex;
};

// Failures name the case rather than dumping its bytes.
void PrintTo(const ColumnDragCase &c, std::ostream *os) { *os << c.name; }

const QStringList kTitleOrderUnmoved{"Nome", "Ruolo", "Lavoro", "Data_nascita", "Eta"};
const QStringList kTitleOrderNomeThird{"Ruolo", "Lavoro", "Nome", "Data_nascita", "Eta"};

} // namespace

class GridColumnDragTest : public GridTitleTest, public ::testing::WithParamInterface<ColumnDragCase> {};

TEST_P(GridColumnDragTest, MovesTheColumnOnlyWhereTheGridDragsColumns)
{
    const ColumnDragCase &c = GetParam();
    GridRig rig(3);
    if (c.titleButtons)
        makeCardList(rig);
    rig.grid->setOption(TDBGridOption::dgColumnResize, c.columnResize);
    if (c.lockedCols)
        rig.grid->setLockedCols(c.lockedCols);
    if (c.columnWidth) {
        for (int i = 0; i < rig.grid->columns().count(); ++i)
            rig.grid->columns().at(i)->setWidth(c.columnWidth);
    }
    int clicks = 0;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int, TField *) { ++clicks; };
    QWidget *vp = rig.grid->viewport();
    for (const TitleWay &way : c.ways)
        drag(vp, cellCentre(rig.grid, way.fromGridCol, 0), way.to(rig.grid), c.button);

    EXPECT_EQ(columnOrder(rig.grid), c.order);
    if (c.currentIndex) {
        EXPECT_EQ(rig.grid->selectedIndex(), *c.currentIndex);
        EXPECT_EQ(rig.grid->selectedField()->fieldName(), c.order.at(*c.currentIndex));
    }
    // A drag is never a title click, ends with the release and keeps the current record.
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(rig.grid->columnDrag().dragging());
    EXPECT_FALSE(rig.grid->columnDrag().scrollTimer().isActive());
    EXPECT_EQ(vp->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(rig.data.recNo(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, GridColumnDragTest,
    ::testing::Values(
        // The card list moves columns with the right button; its left button is a title button.
        ColumnDragCase{.name = "TitleButtonsRightDragMoves", .titleButtons = true, .button = Qt::RightButton,
                       .ways = {toTitleOf(1, 3)}, .order = kTitleOrderNomeThird, .currentIndex = std::nullopt},
        ColumnDragCase{.name = "TitleButtonsLeftDragMovesNothing", .titleButtons = true, .ways = {toTitleOf(1, 3)},
                       .order = kTitleOrderUnmoved, .currentIndex = 0},
        ColumnDragCase{.name = "TitleButtonsWithoutColumnResizeMoveNothing", .titleButtons = true,
                       .columnResize = false, .button = Qt::RightButton, .ways = {toTitleOf(1, 3)},
                       .order = kTitleOrderUnmoved, .currentIndex = 0},
        // The other grids move columns with the left button, and the current column follows
        // the dragged one.
        ColumnDragCase{.name = "LeftDragMovesTheCurrentColumnWithIt", .ways = {toTitleOf(1, 3)},
                       .order = kTitleOrderNomeThird, .currentIndex = 2},
        ColumnDragCase{.name = "RightDragMovesNothing", .button = Qt::RightButton, .ways = {toTitleOf(1, 3)},
                       .order = kTitleOrderUnmoved, .currentIndex = 0},
        ColumnDragCase{.name = "LeftDragWithoutColumnResizeMovesNothing", .columnResize = false,
                       .ways = {toTitleOf(1, 3)}, .order = kTitleOrderUnmoved, .currentIndex = 0},
        // Dragging another column keeps the current position where it was.
        ColumnDragCase{.name = "AnotherColumnAfterTheCurrentKeepsTheCurrentPosition",
                       .ways = {toTitleOf(1, 3), toTitleOf(1, 2)},
                       .order = {"Lavoro", "Ruolo", "Nome", "Data_nascita", "Eta"}, .currentIndex = 2},
        ColumnDragCase{.name = "AnotherColumnOntoTheCurrentKeepsTheCurrentPosition", .ways = {toTitleOf(3, 1)},
                       .order = {"Lavoro", "Nome", "Ruolo", "Data_nascita", "Eta"}, .currentIndex = 0},
        // Where a drop lands.
        ColumnDragCase{.name = "DropOnTheIndicatorMeansTheFirstUnlockedColumn", .lockedCols = 1,
                       .ways = {toTitleOf(4, 0)}, .order = {"Nome", "Data_nascita", "Ruolo", "Lavoro", "Eta"},
                       .currentIndex = 1},
        ColumnDragCase{.name = "DropBeyondTheLastColumnMeansTheLastColumn", .columnWidth = 40,
                       .ways = {{1, [](const TExDBGrid *g) { return QPoint(g->viewport()->width() - 30, 8); }}},
                       .order = {"Ruolo", "Lavoro", "Data_nascita", "Eta", "Nome"}, .currentIndex = 4},
        ColumnDragCase{.name = "DropOutsideTheGridMovesNothing",
                       .ways = {{1, [](const TExDBGrid *g) { return QPoint(100, g->viewport()->height() + 40); }}},
                       .order = kTitleOrderUnmoved, .currentIndex = 0}),
    [](const auto &info) { return std::string(info.param.name); });

namespace {

// Sizing a column by dragging the right border of its title, in either kind of grid.
struct ColumnSizingCase {
    const char *name;
    bool titleButtons;
    std::vector<int> path;   // where the pointer moves, from the border; released at the last
    int width;               // of the sized column after the release
    int reported;            // the column OnColumnWidthChanged names; -1: not raised
};

// Failures name the case rather than dumping its bytes.
void PrintTo(const ColumnSizingCase &c, std::ostream *os) { *os << c.name; }

} // namespace

class GridColumnSizingTest : public GridTitleTest, public ::testing::WithParamInterface<ColumnSizingCase> {};

TEST_P(GridColumnSizingTest, SizesTheColumnAndReportsANewWidth)
{
    const ColumnSizingCase &c = GetParam();
    GridRig rig(3);
    if (c.titleButtons)
        makeCardList(rig);
    int reported = -1;
    int reports = 0;
    rig.grid->OnColumnWidthChanged = [&](TExDBGrid &, int column) {
        reported = column;
        ++reports;
    };
    int clicks = 0;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int, TField *) { ++clicks; };
    const QRect title = rig.grid->cellRect(2, 0);
    QWidget *vp = rig.grid->viewport();
    const QPoint border(title.right() + 1, 8);
    mouse(vp, QEvent::MouseButtonPress, border, Qt::LeftButton, Qt::LeftButton);
    for (const int dx : c.path)
        mouse(vp, QEvent::MouseMove, border + QPoint(dx, 0), Qt::NoButton, Qt::LeftButton);
    mouse(vp, QEvent::MouseButtonRelease, border + QPoint(c.path.back(), 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(rig.grid->columns().at(1)->width(), c.width);
    EXPECT_EQ(reported, c.reported);
    EXPECT_EQ(reports, c.reported >= 0 ? 1 : 0);
    EXPECT_EQ(columnOrder(rig.grid), kTitleOrderUnmoved);
    EXPECT_EQ(rig.grid->columns().at(0)->width(), 80);
    EXPECT_EQ(rig.grid->columns().at(2)->width(), 80);
    EXPECT_EQ(clicks, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Borders, GridColumnSizingTest,
    ::testing::Values(ColumnSizingCase{"Wider", false, {10, 20, 30, 40}, 120, 1},
                      ColumnSizingCase{"Narrower", false, {-10, -20, -30}, 50, 1},
                      ColumnSizingCase{"BackWhereItWasReportsNothing", false, {20, 40, 0}, 80, -1},
                      ColumnSizingCase{"TitleButtonsWider", true, {10, 20, 30, 40}, 120, 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridTitleTest, TheDragPictureIsTheColumnsTitleAndFollowsThePointer)
{
    GridRig rig(3);
    rig.grid->columns().at(1)->setWidth(95);
    QWidget *vp = rig.grid->viewport();
    const QPoint from = cellCentre(rig.grid, 2, 0);
    mouse(vp, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(rig.grid->columnDrag().dragging());
    mouse(vp, QEvent::MouseMove, from + QPoint(30, 6), Qt::NoButton, Qt::LeftButton);
    const GridColumnDrag &drag = rig.grid->columnDrag();
    ASSERT_TRUE(drag.dragging());
    EXPECT_EQ(drag.picture().size(), QSize(95, rig.grid->titleRowHeight()));
    EXPECT_EQ(drag.picturePos().y(), 0);
    EXPECT_EQ(vp->cursor().shape(), Qt::BlankCursor);
    mouse(vp, QEvent::MouseButtonRelease, from + QPoint(30, 6), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(vp->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GridTitleTest, TheDragPictureHasTheTitleColourAndTheMaskLetsTheTitlesThrough)
{
    GridRig rig(3);
    const QColor title(200, 0, 0);
    rig.grid->columns().at(1)->title().setColor(title);
    QWidget *vp = rig.grid->viewport();
    const QPoint from = cellCentre(rig.grid, 2, 0);
    const QPoint to = from + QPoint(40, 0);
    const QPoint face = to + QPoint(30, 0);   // the picture's right part, clear of the caption
    const QColor under = vp->grab().toImage().pixelColor(face);
    auto onScreenWhileDragging = [&] {
        mouse(vp, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(vp, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(rig.grid->columnDrag().picture().toImage().pixelColor(face - rig.grid->columnDrag().picturePos()),
                  title);
        const QColor shown = vp->grab().toImage().pixelColor(face);
        mouse(vp, QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
        return shown;
    };
    const QColor masked = onScreenWhileDragging();
    EXPECT_NEAR(masked.red(), 0.85 * title.red() + 0.15 * under.red(), 2);
    EXPECT_NEAR(masked.green(), 0.15 * under.green(), 2);

    rig.grid->setMaskedColumnDrag(false);
    EXPECT_EQ(onScreenWhileDragging(), title);
}

TEST_F(GridTitleTest, DraggingNearTheEdgesScrollsOneColumnPerTick)
{
    GridRig rig(3);
    for (int i = 0; i < rig.grid->columns().count(); ++i)
        rig.grid->columns().at(i)->setWidth(150);
    QWidget *vp = rig.grid->viewport();
    const GridColumnDrag &drag = rig.grid->columnDrag();
    const QPoint from = cellCentre(rig.grid, 1, 0);
    mouse(vp, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(vp, QEvent::MouseMove, QPoint(vp->width() - 2, 8), Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(drag.scrollTimer().isActive());
    EXPECT_EQ(drag.scrollTimer().interval(), 500);
    const int left = rig.grid->leftCol();
    rig.grid->columnDrag().scrollTick();
    EXPECT_EQ(rig.grid->leftCol(), left + 1);
    mouse(vp, QEvent::MouseMove, QPoint(vp->width() / 2, 8), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(drag.scrollTimer().isActive());
    mouse(vp, QEvent::MouseMove, QPoint(2, 8), Qt::NoButton, Qt::LeftButton);
    EXPECT_TRUE(drag.scrollTimer().isActive());
    rig.grid->columnDrag().scrollTick();
    EXPECT_EQ(rig.grid->leftCol(), left);
    mouse(vp, QEvent::MouseButtonRelease, QPoint(vp->width() / 2, 8), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(drag.scrollTimer().isActive());
}
