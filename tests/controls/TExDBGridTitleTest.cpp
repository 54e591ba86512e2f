// Column titles of the data grid: title buttons and their click, moving columns with the
// right button (title-button grids) or a left drag (the others), the drag's picture and
// its automatic scrolling.

#include "TExDBGridTestSupport.h"

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

TEST_F(GridTitleTest, RightButtonDragMovesAColumnInATitleButtonGrid)
{
    GridRig rig(3);
    makeCardList(rig);
    int clicks = 0;
    rig.grid->OnTitleBtnClick = [&](TCoreDBGrid &, int, TField *) { ++clicks; };
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), cellCentre(rig.grid, 3, 0), Qt::RightButton);
    EXPECT_EQ(columnOrder(rig.grid), (QStringList{"Ruolo", "Lavoro", "Nome", "Data_nascita", "Eta"}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(GridTitleTest, LeftDragDoesNotMoveColumnsInATitleButtonGrid)
{
    GridRig rig(3);
    makeCardList(rig);
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), cellCentre(rig.grid, 3, 0));
    EXPECT_EQ(columnOrder(rig.grid).first(), "Nome");
}

TEST_F(GridTitleTest, LeftDragMovesAColumnInAGridWithoutTitleButtons)
{
    GridRig rig(3);
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), cellCentre(rig.grid, 3, 0));
    EXPECT_EQ(columnOrder(rig.grid), (QStringList{"Ruolo", "Lavoro", "Nome", "Data_nascita", "Eta"}));
    EXPECT_FALSE(rig.grid->columnDrag().dragging());
}

TEST_F(GridTitleTest, RightDragDoesNotMoveColumnsInAGridWithoutTitleButtons)
{
    GridRig rig(3);
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), cellCentre(rig.grid, 3, 0), Qt::RightButton);
    EXPECT_EQ(columnOrder(rig.grid).first(), "Nome");
}

TEST_F(GridTitleTest, TheCurrentColumnFollowsTheDraggedOneOnly)
{
    GridRig rig(3);
    // Dragging the current column takes the current position with it.
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), cellCentre(rig.grid, 3, 0));
    EXPECT_EQ(rig.grid->selectedField()->fieldName(), "Nome");
    EXPECT_EQ(rig.grid->selectedIndex(), 2);
    // Dragging another column keeps the current position where it was.
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), cellCentre(rig.grid, 2, 0));
    EXPECT_EQ(rig.grid->selectedIndex(), 2);
}

TEST_F(GridTitleTest, ADropOnTheIndicatorMeansTheFirstUnlockedColumn)
{
    GridRig rig(3);
    rig.grid->setLockedCols(1);
    drag(rig.grid->viewport(), cellCentre(rig.grid, 4, 0), cellCentre(rig.grid, 0, 0));
    EXPECT_EQ(columnOrder(rig.grid), (QStringList{"Nome", "Data_nascita", "Ruolo", "Lavoro", "Eta"}));
}

TEST_F(GridTitleTest, ADropBeyondTheLastColumnMeansTheLastColumn)
{
    GridRig rig(3);
    for (int i = 0; i < rig.grid->columns().count(); ++i)
        rig.grid->columns().at(i)->setWidth(40);
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), QPoint(rig.grid->viewport()->width() - 30, 8));
    EXPECT_EQ(columnOrder(rig.grid).last(), "Nome");
}

TEST_F(GridTitleTest, ADropOutsideTheGridMovesNothing)
{
    GridRig rig(3);
    drag(rig.grid->viewport(), cellCentre(rig.grid, 1, 0), QPoint(100, rig.grid->viewport()->height() + 40));
    EXPECT_EQ(columnOrder(rig.grid).first(), "Nome");
}

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

TEST_F(GridTitleTest, SizingAColumnByItsTitleBorderReportsTheNewWidth)
{
    GridRig rig(3);
    int reported = -1;
    rig.grid->OnColumnWidthChanged = [&](TExDBGrid &, int column) { reported = column; };
    const QRect title = rig.grid->cellRect(2, 0);
    drag(rig.grid->viewport(), QPoint(title.right() + 1, 8), QPoint(title.right() + 41, 8));
    EXPECT_EQ(rig.grid->columns().at(1)->width(), 120);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(columnOrder(rig.grid).at(1), "Ruolo");
}
