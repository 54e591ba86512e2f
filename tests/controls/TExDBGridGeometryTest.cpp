// Where the grid's cells lie with fixed, scrolled and hidden columns.

#include "controls/GridColumnDrag.h"
#include "controls/GridGeometry.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

// Indicator 11, then four columns of 50, 0 (hidden), 60, 70; lines of one pixel.
GridGeometry layout(int fixedCols, int leftCol)
{
    GridMetrics m;
    m.colWidths = {11, 50, 0, 60, 70};
    m.fixedCols = fixedCols;
    m.leftCol = leftCol;
    m.titleHeight = 17;
    m.rowHeight = 17;
    m.dataRows = 10;
    return GridGeometry(m);
}

} // namespace

TEST(GridGeometryTest, CellsFollowEachOtherWithTheirLines)
{
    const GridGeometry g = layout(1, 1);
    EXPECT_EQ(g.cellRect(0, 0), QRect(0, 0, 11, 17));
    EXPECT_EQ(g.cellRect(1, 1), QRect(12, 18, 50, 17));
    EXPECT_TRUE(g.cellRect(2, 1).isEmpty());
    EXPECT_EQ(g.cellRect(3, 2), QRect(63, 36, 60, 17));
}

TEST(GridGeometryTest, ScrolledColumnsStartAfterTheFixedOnes)
{
    const GridGeometry g = layout(2, 3);
    EXPECT_EQ(g.columnLeft(1), 12);
    EXPECT_EQ(g.columnLeft(3), 63);
    EXPECT_EQ(g.columnLeft(4), 124);
    EXPECT_EQ(g.columnAt(70), 3);
    EXPECT_EQ(g.columnAt(5), 0);
}

struct HitCase {
    int x;
    int y;
    int col;
    int row;
};

class GridGeometryHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(GridGeometryHitTest, PointsFindTheirCell)
{
    const GridGeometry g = layout(1, 1);
    EXPECT_EQ(g.columnAt(GetParam().x), GetParam().col);
    EXPECT_EQ(g.rowAt(GetParam().y), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(Points, GridGeometryHitTest,
                         ::testing::Values(HitCase{0, 0, 0, 0}, HitCase{11, 17, 0, 0}, HitCase{12, 18, 1, 1},
                                           HitCase{62, 35, 1, 1}, HitCase{63, 36, 3, 2}, HitCase{194, 197, 4, 10},
                                           HitCase{195, 198, -1, -1}, HitCase{-1, -1, -1, -1}));

TEST(GridGeometryTest, VisibleRowsCountOnlyWholeRows)
{
    const GridGeometry g = layout(1, 1);
    EXPECT_EQ(g.fullyVisibleRows(18 + 17), 1);
    EXPECT_EQ(g.fullyVisibleRows(18 + 18 + 16), 1);
    EXPECT_EQ(g.fullyVisibleRows(18 + 18 + 17), 2);
    EXPECT_EQ(g.fullyVisibleRows(5), 1);
}

TEST(GridGeometryTest, TheLastLeftColumnShowsTheLastColumnWhole)
{
    const GridGeometry g = layout(1, 1);
    EXPECT_EQ(g.maxLeftCol(500), 1);
    EXPECT_EQ(g.maxLeftCol(12 + 61 + 71), 3);
    EXPECT_EQ(g.maxLeftCol(12 + 40), 4);
}

namespace {

// A point on the title row and what it means for sizing and for dropping a dragged column.
struct TitlePointCase {
    const char *name;
    int fixedCols;
    int leftCol;
    int x;
    int result;
};

// Failures name the case rather than dumping its bytes.
void PrintTo(const TitlePointCase &c, std::ostream *os) { *os << c.name; }
} // namespace

class GridSizingBorderTest : public ::testing::TestWithParam<TitlePointCase> {};

TEST_P(GridSizingBorderTest, SizingBordersLieOnTheRightEdges)
{
    const TitlePointCase &c = GetParam();
    EXPECT_EQ(layout(c.fixedCols, c.leftCol).columnBorderAt(c.x, 2), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Borders, GridSizingBorderTest,
    ::testing::Values(TitlePointCase{"IndicatorsRightEdge", 1, 1, 11, 0},
                      TitlePointCase{"OnTheLineAfterTheFirstColumn", 1, 1, 62, 1},
                      TitlePointCase{"TwoPixelsPastThatLine", 1, 1, 64, 1},
                      TitlePointCase{"InsideTheFirstColumn", 1, 1, 40, -1},
                      TitlePointCase{"ColumnAfterAHiddenOne", 1, 1, 123, 3}),
    [](const auto &info) { return std::string(info.param.name); });

class GridDropTargetTest : public ::testing::TestWithParam<TitlePointCase> {};

TEST_P(GridDropTargetTest, DropTargetsOfAColumnDrag)
{
    const TitlePointCase &c = GetParam();
    EXPECT_EQ(GridColumnDrag::dropTarget(layout(c.fixedCols, c.leftCol), c.x), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, GridDropTargetTest,
    ::testing::Values(TitlePointCase{"IndicatorMeansTheFirstShownAfterTheLocked", 2, 3, 3, 3},
                      TitlePointCase{"LockedColumnLikewise", 2, 3, 30, 3},
                      TitlePointCase{"ScrolledColumnUnderThePoint", 2, 3, 130, 4},
                      TitlePointCase{"BeyondTheLastMeansTheLast", 2, 3, 900, 4},
                      TitlePointCase{"IndicatorWithoutLockedColumns", 1, 1, 5, 1}),
    [](const auto &info) { return std::string(info.param.name); });
