// Records refused by the filter are never reached; calculated fields follow their sources.

#include "DbTestSupport.h"

#include "db/DatabaseError.h"
#include "db/Fields.h"

#include <gtest/gtest.h>

namespace {

class Filtered : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Only even ids pass.
        ds->OnFilterRecord = [](TDataSet &d, bool &accept) { accept = d.fieldByName("ID")->asInteger() % 2 == 0; };
        ds->setFiltered(true);
        source.setDataSet(ds.get());
        link.setDataSource(&source);
        link.setBufferCount(3);
        ds->open();
    }
    int id() { return int(ds->fieldByName("ID")->asInteger()); }
    QList<int> walkForward()
    {
        QList<int> ids;
        for (ds->first(); !ds->eof(); ds->next())
            ids << id();
        return ids;
    }

    std::unique_ptr<MemoryDataSet> ds = makePeople(10);
    TDataSource source;
    RecordingLink link;
};

TEST_F(Filtered, NextAndFirstSkipRefusedRecords)
{
    EXPECT_EQ(id(), 2);
    EXPECT_EQ(walkForward(), QList<int>({2, 4, 6, 8, 10}));
}

TEST_F(Filtered, PriorAndLastSkipRefusedRecords)
{
    QList<int> ids;
    for (ds->last(); !ds->bof(); ds->prior())
        ids << id();
    EXPECT_EQ(ids, QList<int>({10, 8, 6, 4, 2}));
}

TEST_F(Filtered, CountAndNumberSeeOnlyAcceptedRecords)
{
    EXPECT_EQ(ds->recordCount(), 5);
    ds->moveBy(2);
    EXPECT_EQ(ds->recNo(), 3);
}

TEST_F(Filtered, HandlerReadsTheRecordBeingTested)
{
    TDataSetState seen = TDataSetState::dsBrowse;
    ds->OnFilterRecord = [&](TDataSet &d, bool &accept) {
        seen = d.state();
        accept = d.fieldByName("NAME")->asString() == "P7";
    };
    ds->first();
    EXPECT_EQ(seen, TDataSetState::dsFilter);
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(id(), 7);
    EXPECT_EQ(ds->bufferedRecordCount(), 1);
}

TEST_F(Filtered, SwitchingTheFilterOffShowsEverythingAfterFirst)
{
    ds->setFiltered(false);
    EXPECT_EQ(walkForward().size(), 10);
}

TEST_F(Filtered, RecordEditedOutOfTheFilterLeavesTheWindow)
{
    ds->next();   // id 4
    ds->edit();
    ds->fieldByName("ID")->setAsInteger(5);
    ds->post();
    EXPECT_EQ(id(), 6);
    EXPECT_EQ(walkForward(), QList<int>({2, 6, 8, 10}));
}

class Calculated : public ::testing::Test {
protected:
    void SetUp() override
    {
        new TIntegerField(ds.get(), "ID");
        new TStringField(ds.get(), "NAME", 30);
        label = new TStringField(ds.get(), "LABEL", 40, TFieldKind::fkCalculated);
        ds->OnCalcFields = [this](TDataSet &d) {
            ++calcRuns;
            label->setAsString(d.fieldByName("NAME")->asString() + "#" + d.fieldByName("ID")->asString());
        };
        ds->open();
    }

    std::unique_ptr<MemoryDataSet> ds = makePeople(3);
    TField *label = nullptr;
    int calcRuns = 0;
};

TEST_F(Calculated, ComputedForEveryFetchedRecord)
{
    EXPECT_EQ(label->asString(), "P1#1");
    ds->next();
    EXPECT_EQ(label->asString(), "P2#2");
    EXPECT_EQ(label->calculatedSlot(), 0);
    EXPECT_EQ(label->fieldNo(), 0);
}

TEST_F(Calculated, RecomputedOnFieldChangeWithAutoCalcFields)
{
    ds->edit();
    ds->fieldByName("NAME")->setAsString("Rosa");
    EXPECT_EQ(label->asString(), "Rosa#1");
}

TEST_F(Calculated, LeftAloneWithoutAutoCalcFields)
{
    ds->setAutoCalcFields(false);
    ds->edit();
    const int runs = calcRuns;
    ds->fieldByName("NAME")->setAsString("Rosa");
    EXPECT_EQ(calcRuns, runs);
    EXPECT_EQ(label->asString(), "P1#1");
    ds->post();
    EXPECT_EQ(label->asString(), "Rosa#1");
}

TEST_F(Calculated, WritableOnlyWhileCalculating)
{
    ds->edit();
    try {
        label->setAsString("x");
        FAIL() << "wrote a calculated field while editing";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), "Field 'LABEL' cannot be modified");
    }
}

TEST_F(Calculated, DataFieldsAreReadOnlyWhileCalculating)
{
    ds->OnCalcFields = [](TDataSet &d) { d.fieldByName("NAME")->setAsString("x"); };
    EXPECT_THROW(ds->refresh(), EDatabaseError);
}

} // namespace
