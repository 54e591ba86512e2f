// The window of record buffers a data link asks for, and the moves over it.

#include "DbTestSupport.h"

#include <gtest/gtest.h>

namespace {

class BufferWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.setDataSet(ds.get());
        grid.setDataSource(&source);
        grid.setBufferCount(5);
        ds->open();
        grid.scrolls.clear();
    }
    QString current() { return ds->fieldByName("NAME")->asString(); }
    QStringList window()
    {
        QStringList names;
        for (int i = 0; i < ds->bufferedRecordCount(); ++i)
            names << ds->buffer(i).values[1];
        return names;
    }
    static QStringList people(int from, int to)
    {
        QStringList names;
        for (int i = from; i <= to; ++i)
            names << QStringLiteral("P%1").arg(i);
        return names;
    }

    std::unique_ptr<MemoryDataSet> ds = makePeople(20);
    TDataSource source;
    RecordingLink grid;
};

TEST_F(BufferWindow, OpenFetchesTheFirstWindow)
{
    EXPECT_EQ(ds->bufferCount(), 5);
    EXPECT_EQ(window(), people(1, 5));
    EXPECT_EQ(ds->activeRecord(), 0);
    EXPECT_TRUE(ds->bof());
    EXPECT_FALSE(ds->eof());
}

TEST_F(BufferWindow, NextInsideTheWindowOnlyMovesTheActiveRecord)
{
    for (int i = 0; i < 4; ++i)
        ds->next();
    EXPECT_EQ(ds->activeRecord(), 4);
    EXPECT_EQ(window(), people(1, 5));
    EXPECT_EQ(grid.scrolls, QList<int>({0, 0, 0, 0}));
    EXPECT_FALSE(ds->bof());
}

TEST_F(BufferWindow, NextAtTheWindowEdgeShiftsTheWindow)
{
    ds->moveBy(4);
    grid.scrolls.clear();
    ds->next();
    EXPECT_EQ(current(), "P6");
    EXPECT_EQ(ds->activeRecord(), 4);
    EXPECT_EQ(window(), people(2, 6));
    EXPECT_EQ(grid.scrolls, QList<int>({1}));
    EXPECT_EQ(grid.lastValue, "P6");
}

TEST_F(BufferWindow, PriorAtTheWindowStartShiftsBack)
{
    ds->moveBy(5);   // window P2..P6
    ds->moveBy(-4);
    EXPECT_EQ(ds->activeRecord(), 0);
    grid.scrolls.clear();
    ds->prior();
    EXPECT_EQ(current(), "P1");
    EXPECT_EQ(window(), people(1, 5));
    EXPECT_EQ(grid.scrolls, QList<int>({-1}));
}

TEST_F(BufferWindow, PriorAtTheFirstRecordSetsBofWithoutMoving)
{
    EXPECT_EQ(ds->moveBy(-1), 0);
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(current(), "P1");
    ds->next();
    EXPECT_FALSE(ds->bof());
    ds->prior();
    EXPECT_FALSE(ds->bof());   // bof only after trying to go past the first record
    ds->prior();
    EXPECT_TRUE(ds->bof());
}

TEST_F(BufferWindow, LastFetchesTheFinalWindow)
{
    ds->last();
    EXPECT_TRUE(ds->eof());
    EXPECT_FALSE(ds->bof());
    EXPECT_EQ(window(), people(16, 20));
    EXPECT_EQ(ds->activeRecord(), 4);
    EXPECT_EQ(current(), "P20");
}

TEST_F(BufferWindow, NextAtTheEndSetsEofAndStays)
{
    ds->moveBy(19);
    EXPECT_FALSE(ds->eof());
    EXPECT_EQ(ds->moveBy(1), 0);
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(current(), "P20");
    grid.scrolls.clear();
    ds->next();
    EXPECT_TRUE(grid.scrolls.isEmpty());   // already at eof: nothing to tell
}

TEST_F(BufferWindow, MoveByReportsTheDistanceMoved)
{
    EXPECT_EQ(ds->moveBy(7), 7);
    EXPECT_EQ(current(), "P8");
    EXPECT_EQ(ds->moveBy(100), 12);
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->moveBy(-100), -19);
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(current(), "P1");
}

TEST_F(BufferWindow, FirstAfterLastRefetches)
{
    ds->last();
    ds->first();
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(window(), people(1, 5));
    EXPECT_EQ(grid.lastValue, "P1");
}

TEST_F(BufferWindow, EmptyDatasetIsAtBothEnds)
{
    auto empty = makePeople(0);
    empty->open();
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_TRUE(empty->bof());
    EXPECT_TRUE(empty->eof());
    EXPECT_EQ(empty->moveBy(3), 0);
    EXPECT_TRUE(empty->getBookmark().isEmpty());
}

TEST_F(BufferWindow, SmallerLinkSlidesInsideTheWindow)
{
    RecordingLink row;
    row.setDataSource(&source);
    row.setBufferCount(3);
    EXPECT_EQ(ds->bufferCount(), 5);
    ds->moveBy(2);
    EXPECT_EQ(row.firstRecord(), 0);
    EXPECT_EQ(row.activeRecord(), 2);
    ds->next();
    EXPECT_EQ(row.firstRecord(), 1);
    EXPECT_EQ(row.activeRecord(), 2);
    EXPECT_EQ(row.scrolls.last(), 1);
    ds->next();   // the active row reaches the window's end; this link follows
    EXPECT_EQ(row.firstRecord(), 2);
    EXPECT_EQ(row.scrolls.last(), 1);
    EXPECT_EQ(row.recordCount(), 3);
    ds->moveBy(-4);
    EXPECT_EQ(row.firstRecord(), 0);
    EXPECT_EQ(row.activeRecord(), 0);
}

TEST_F(BufferWindow, GrowingAndShrinkingKeepTheCurrentRecord)
{
    ds->moveBy(9);   // P10, at the window's end
    grid.setBufferCount(8);
    EXPECT_EQ(ds->bufferCount(), 8);
    EXPECT_EQ(ds->bufferedRecordCount(), 8);
    EXPECT_EQ(current(), "P10");
    EXPECT_EQ(grid.activeRecord(), ds->activeRecord());
    grid.setBufferCount(2);
    EXPECT_EQ(ds->bufferCount(), 2);
    EXPECT_EQ(current(), "P10");
    EXPECT_LT(ds->activeRecord(), 2);
    ds->next();
    EXPECT_EQ(current(), "P11");
}

TEST_F(BufferWindow, GrowingNearTheEndFillsBackwards)
{
    ds->last();
    grid.setBufferCount(7);
    EXPECT_EQ(window(), people(14, 20));
    EXPECT_EQ(current(), "P20");
    EXPECT_EQ(grid.activeRecord(), 6);
}

TEST_F(BufferWindow, GrowingWhileInsertingWaitsForTheCancel)
{
    ds->moveBy(4);   // P5, last row of the window
    ds->insert();
    EXPECT_EQ(window(), QStringList({"P1", "P2", "P3", "P4", ""}));
    grid.setBufferCount(6);
    EXPECT_EQ(window(), QStringList({"P1", "P2", "P3", "P4", ""}));
    ds->cancel();
    EXPECT_EQ(current(), "P5");
    EXPECT_EQ(window(), people(1, 6));
}

TEST_F(BufferWindow, ResizingWhileEditingLeavesTheCursorAlone)
{
    class CursorWatch : public MemoryDataSet {
    public:
        using MemoryDataSet::MemoryDataSet;
        int moves = 0;

    protected:
        void internalSetToRecord(const TRecordBuffer &buffer) override
        {
            ++moves;
            MemoryDataSet::internalSetToRecord(buffer);
        }
    };
    auto watched = std::make_unique<CursorWatch>(std::vector<MemoryDataSet::Column>{{"NAME", TFieldType::ftString, 9, false, {}}});
    for (int i = 1; i <= 9; ++i)
        watched->addRow({QStringLiteral("R%1").arg(i)});
    source.setDataSet(watched.get());
    watched->open();
    watched->moveBy(6);
    watched->edit();
    watched->fieldByName("NAME")->setAsString("Edited");
    const int moves = watched->moves;
    grid.setBufferCount(3);
    grid.setBufferCount(8);
    EXPECT_EQ(watched->moves, moves);
    watched->post();
    EXPECT_EQ(watched->column(0)[6], "Edited");
    EXPECT_EQ(watched->bufferedRecordCount(), 8);
}

TEST_F(BufferWindow, BookmarksReturnToTheirRecordCentred)
{
    ds->moveBy(11);
    const TBookmark mark = ds->getBookmark();
    ASSERT_EQ(mark.size(), 4);
    ds->first();
    EXPECT_LT(ds->compareBookmarks(ds->getBookmark(), mark), 0);
    EXPECT_LT(ds->compareBookmarks(TBookmark(), mark), 0);
    EXPECT_EQ(ds->compareBookmarks(mark, mark), 0);
    ds->gotoBookmark(mark);
    EXPECT_EQ(current(), "P12");
    EXPECT_EQ(ds->activeRecord(), 2);
    EXPECT_EQ(window(), people(10, 14));
}

TEST_F(BufferWindow, ResyncKeepsTheActiveRow)
{
    ds->moveBy(8);   // P9 at row 4 of P5..P9
    ds->moveBy(-1);  // P8 at row 3
    ds->resync();
    EXPECT_EQ(current(), "P8");
    EXPECT_EQ(ds->activeRecord(), 3);
    EXPECT_EQ(window(), people(5, 9));
}

TEST_F(BufferWindow, PostKeepsTheGridWhereItWas)
{
    ds->moveBy(7);   // P8 at row 4 of P4..P8
    ds->edit();
    ds->fieldByName("NAME")->setAsString("Changed");
    ds->post();
    EXPECT_EQ(ds->activeRecord(), 4);
    EXPECT_EQ(window(), QStringList({"P4", "P5", "P6", "P7", "Changed"}));
}

} // namespace
