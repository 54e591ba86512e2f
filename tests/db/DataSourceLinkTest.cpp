// Data sources and links: what they hear, and their lifetimes against the dataset's.

#include "DbTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(DataSourceLifetime, DatasetDestroyedFirst)
{
    auto ds = makePeople(3);
    TDataSource source;
    RecordingLink link;
    source.setDataSet(ds.get());
    link.setDataSource(&source);
    ds->open();
    ASSERT_TRUE(link.active());
    ds.reset();
    EXPECT_EQ(source.dataSet(), nullptr);
    EXPECT_EQ(source.state(), TDataSetState::dsInactive);
    EXPECT_FALSE(link.active());
    EXPECT_EQ(link.dataSet(), nullptr);
    EXPECT_EQ(link.recordCount(), 0);
    EXPECT_EQ(link.calls.last(), "inactive");
}

TEST(DataSourceLifetime, SourceDestroyedFirst)
{
    auto ds = makePeople(3);
    RecordingLink link;
    {
        TDataSource source;
        source.setDataSet(ds.get());
        link.setDataSource(&source);
        link.setBufferCount(3);
        ds->open();
        EXPECT_EQ(ds->bufferCount(), 3);
    }
    EXPECT_TRUE(ds->dataSources().isEmpty());
    EXPECT_EQ(link.dataSource(), nullptr);
    EXPECT_FALSE(link.active());
    EXPECT_EQ(ds->bufferCount(), 1);   // nobody asks for more now
    ds->next();
    ds->close();
}

TEST(DataSourceLifetime, LinkDestroyedFirst)
{
    auto ds = makePeople(3);
    TDataSource source;
    source.setDataSet(ds.get());
    {
        RecordingLink link;
        link.setDataSource(&source);
        ds->open();
    }
    EXPECT_TRUE(source.dataLinks().isEmpty());
    ds->next();
}

TEST(DataSourceEvents, StateAndDataChanges)
{
    auto ds = makePeople(3);
    TDataSource source;
    QList<TDataSetState> states;
    int dataChanges = 0;
    source.OnStateChange = [&](TDataSource &s) { states << s.state(); };
    source.OnDataChange = [&](TDataSource &, TField *) { ++dataChanges; };
    source.setDataSet(ds.get());
    ds->open();
    EXPECT_EQ(states, QList<TDataSetState>({TDataSetState::dsBrowse}));
    dataChanges = 0;
    ds->next();
    EXPECT_EQ(dataChanges, 1);
    ds->edit();
    ds->cancel();
    EXPECT_EQ(states, QList<TDataSetState>({TDataSetState::dsBrowse, TDataSetState::dsEdit, TDataSetState::dsBrowse}));
    ds->close();
    EXPECT_EQ(states.last(), TDataSetState::dsInactive);
}

TEST(DataSourceEvents, DisabledSourceIsInactive)
{
    auto ds = makePeople(3);
    TDataSource source;
    RecordingLink link;
    source.setDataSet(ds.get());
    link.setDataSource(&source);
    ds->open();
    source.setEnabled(false);
    EXPECT_EQ(source.state(), TDataSetState::dsInactive);
    EXPECT_FALSE(link.active());
    const int changes = link.changes;
    ds->next();
    EXPECT_EQ(link.changes, changes);
    source.setEnabled(true);
    EXPECT_TRUE(link.active());
}

TEST(DataSourceEvents, LinkFollowsEditingAndStoresItsValue)
{
    auto ds = makePeople(3);
    TDataSource source;
    RecordingLink link;
    source.setDataSet(ds.get());
    link.setDataSource(&source);
    ds->open();
    link.calls.clear();
    EXPECT_TRUE(link.edit());
    EXPECT_EQ(ds->state(), TDataSetState::dsEdit);
    ds->fieldByName("NAME")->setAsString("Z");
    ds->post();
    EXPECT_EQ(link.calls, QStringList({"checkBrowseMode", "editing", "fieldChanged:NAME", "updateData",
                                       "checkBrowseMode", "browsing", "dataSetChanged"}));
    source.setAutoEdit(false);
    EXPECT_FALSE(link.edit());
    link.setReadOnly(true);
    source.setAutoEdit(true);
    EXPECT_FALSE(link.edit());
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
}

class ControlsDisabled : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.setDataSet(ds.get());
        link.setDataSource(&source);
        source.OnDataChange = [this](TDataSource &, TField *) { ++dataChanges; };
        source.OnStateChange = [this](TDataSource &) { ++stateChanges; };
    }
    std::unique_ptr<MemoryDataSet> ds = makePeople(5);
    TDataSource source;
    RecordingLink link;
    int dataChanges = 0;
    int stateChanges = 0;
};

TEST_F(ControlsDisabled, NestedDisablingSendsOneChangeAtTheEnd)
{
    ds->open();
    dataChanges = 0;
    ds->disableControls();
    ds->disableControls();
    ds->next();
    ds->next();
    ds->enableControls();
    EXPECT_TRUE(ds->controlsDisabled());
    EXPECT_EQ(dataChanges, 0);
    ds->enableControls();
    EXPECT_FALSE(ds->controlsDisabled());
    EXPECT_EQ(dataChanges, 1);
    EXPECT_EQ(link.lastValue, "P3");
    ds->enableControls();   // unbalanced: ignored
    EXPECT_EQ(dataChanges, 1);
}

TEST_F(ControlsDisabled, OpeningWhileDisabledReportsTheNewState)
{
    ds->disableControls();
    ds->open();
    EXPECT_FALSE(link.active());
    EXPECT_EQ(stateChanges, 0);
    ds->enableControls();
    EXPECT_TRUE(link.active());
    EXPECT_EQ(stateChanges, 1);
}

TEST_F(ControlsDisabled, EditingWhileDisabledSendsStateThenChange)
{
    ds->open();
    ds->disableControls();
    ds->edit();
    EXPECT_FALSE(link.editing());
    dataChanges = 0;
    ds->enableControls();
    EXPECT_TRUE(link.editing());
    EXPECT_EQ(stateChanges, 2);   // browse at open, edit now
    EXPECT_EQ(dataChanges, 1);
}

} // namespace
