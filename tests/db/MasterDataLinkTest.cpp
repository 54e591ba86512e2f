// A detail dataset's link to its master: which master changes it reports.

#include "DbTestSupport.h"

#include "db/DatabaseError.h"
#include "db/TMasterDataLink.h"

#include <gtest/gtest.h>

namespace {

class MasterLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        masterSource.setDataSet(master.get());
        link.OnMasterChange = [this] { ++changes; };
        link.OnMasterDisable = [this] { ++disables; };
        link.setFieldNames("ID");
        link.setDataSource(&masterSource);
        detail->open();
        master->open();
        changes = 0;
    }

    std::unique_ptr<MemoryDataSet> master = makePeople(4);
    std::unique_ptr<MemoryDataSet> detail = makePeople(2);
    TDataSource masterSource;
    TMasterDataLink link{detail.get()};
    int changes = 0;
    int disables = 0;
};

TEST_F(MasterLink, ResolvesItsFieldsWhenTheMasterOpens)
{
    ASSERT_EQ(link.fields().size(), 1);
    EXPECT_EQ(link.fields().first(), master->fieldByName("ID"));
    link.setFieldNames("ID;NAME");
    EXPECT_EQ(link.fields().size(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(link.setFieldNames("ID;NOPE"), EDatabaseError);
}

TEST_F(MasterLink, MasterScrollIsAChange)
{
    master->next();
    EXPECT_EQ(changes, 1);
    master->last();
    EXPECT_EQ(changes, 2);
}

TEST_F(MasterLink, OnlyWatchedFieldsCount)
{
    master->edit();
    changes = 0;
    master->fieldByName("NAME")->setAsString("other");
    EXPECT_EQ(changes, 0);
    master->fieldByName("ID")->setAsInteger(77);
    EXPECT_EQ(changes, 1);
}

TEST_F(MasterLink, ClosingTheMasterDisablesTheLink)
{
    master->close();
    EXPECT_EQ(disables, 1);
    EXPECT_TRUE(link.fields().isEmpty());
}

TEST_F(MasterLink, QuietWhileTheDetailIsClosed)
{
    detail->close();
    master->next();
    master->close();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(disables, 0);
}

TEST_F(MasterLink, MasterLeavingEditTakesTheDetailOutOfEdit)
{
    detail->edit();
    detail->fieldByName("NAME")->setAsString("detail change");
    master->edit();
    master->post();
    EXPECT_EQ(detail->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(detail->rows()[0].values[1], "detail change");
}

} // namespace
