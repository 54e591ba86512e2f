// A before-event that aborts, or a failing engine step, leaves the dataset as it was.

#include "DbTestSupport.h"

#include "db/DatabaseError.h"

#include <gtest/gtest.h>

namespace {

struct Snapshot {
    TDataSetState state;
    bool modified;
    int activeRecord;
    int bufferedRecords;
    QStringList names;   // NAME of each buffered record
    QStringList stored;

    static Snapshot of(MemoryDataSet &ds)
    {
        Snapshot s{ds.state(), ds.modified(), ds.activeRecord(), ds.bufferedRecordCount(), {}, ds.column(1)};
        for (int i = 0; i < ds.bufferedRecordCount(); ++i)
            s.names << ds.buffer(i).values[1];
        return s;
    }
    bool operator==(const Snapshot &o) const
    {
        return state == o.state && modified == o.modified && activeRecord == o.activeRecord
            && bufferedRecords == o.bufferedRecords && names == o.names && stored == o.stored;
    }
};

struct AbortCase {
    const char *name;
    TDataSet::TDataSetNotifyEvent TDataSet::*event;
    bool startEditing;   // a modified edit in progress when the operation starts
    std::function<void(TDataSet &)> operation;
};

class BeforeEventAbort : public ::testing::TestWithParam<AbortCase> {
protected:
    void SetUp() override
    {
        source.setDataSet(ds.get());
        link.setDataSource(&source);
        link.setBufferCount(4);
        ds->open();
        ds->moveBy(2);
        if (GetParam().startEditing) {
            ds->edit();
            ds->fieldByName("NAME")->setAsString("Edited");
        }
    }

    std::unique_ptr<MemoryDataSet> ds = makePeople(6);
    TDataSource source;
    RecordingLink link;
};

TEST_P(BeforeEventAbort, LeavesEverythingAsItWas)
{
    const Snapshot before = Snapshot::of(*ds);
    (*ds).*(GetParam().event) = [](TDataSet &) { throw EAbort(); };
    EXPECT_THROW(GetParam().operation(*ds), EAbort);
    EXPECT_TRUE(Snapshot::of(*ds) == before);
    EXPECT_EQ(ds->fieldByName("NAME")->asString(), GetParam().startEditing ? "Edited" : "P3");
}

INSTANTIATE_TEST_SUITE_P(Events, BeforeEventAbort,
    ::testing::Values(AbortCase{"BeforePost", &TDataSet::BeforePost, true, [](TDataSet &d) { d.post(); }},
                      AbortCase{"BeforeDelete", &TDataSet::BeforeDelete, false, [](TDataSet &d) { d.deleteRecord(); }},
                      AbortCase{"BeforeInsert", &TDataSet::BeforeInsert, false, [](TDataSet &d) { d.insert(); }},
                      AbortCase{"BeforeAppend", &TDataSet::BeforeInsert, false, [](TDataSet &d) { d.append(); }},
                      AbortCase{"BeforeEdit", &TDataSet::BeforeEdit, false, [](TDataSet &d) { d.edit(); }},
                      AbortCase{"BeforeCancel", &TDataSet::BeforeCancel, true, [](TDataSet &d) { d.cancel(); }},
                      AbortCase{"BeforeScroll", &TDataSet::BeforeScroll, false, [](TDataSet &d) { d.next(); }}),
    [](const auto &info) { return std::string(info.param.name); });

class FailingEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ds->open();
        ds->next();
    }
    TField *name() { return ds->fieldByName("NAME"); }
    std::unique_ptr<MemoryDataSet> ds = makePeople(3);
};

TEST_F(FailingEngine, FailedPostKeepsTheEditThenASecondPostWorks)
{
    ds->edit();
    name()->setAsString("Kept");
    ds->failPosts = 1;
    EXPECT_THROW(ds->post(), EDatabaseError);
    EXPECT_EQ(ds->state(), TDataSetState::dsEdit);
    EXPECT_TRUE(ds->modified());
    EXPECT_EQ(name()->asString(), "Kept");
    ds->post();
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(ds->column(1), QStringList({"P1", "Kept", "P3"}));
}

TEST_F(FailingEngine, FailedPostOfAnInsertKeepsTheNewRecord)
{
    ds->insert();
    name()->setAsString("Fresh");
    ds->failPosts = 1;
    EXPECT_THROW(ds->post(), EDatabaseError);
    EXPECT_EQ(ds->state(), TDataSetState::dsInsert);
    EXPECT_EQ(name()->asString(), "Fresh");
    ds->post();
    EXPECT_EQ(ds->column(1), QStringList({"P1", "Fresh", "P2", "P3"}));
}

TEST_F(FailingEngine, PostErrorHandlerDecides)
{
    ds->edit();
    name()->setAsString("Retried");
    int calls = 0;
    ds->OnPostError = [&](TDataSet &, const std::exception &e, TDataAction &action) {
        EXPECT_STREQ(e.what(), "Post failed");
        action = ++calls < 3 ? TDataAction::daRetry : TDataAction::daAbort;
    };
    ds->failPosts = 5;
    EXPECT_THROW(ds->post(), EAbort);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(ds->state(), TDataSetState::dsEdit);
    ds->failPosts = 1;
    ds->OnPostError = [](TDataSet &, const std::exception &, TDataAction &action) { action = TDataAction::daRetry; };
    ds->post();
    EXPECT_EQ(ds->column(1)[1], "Retried");
}

TEST_F(FailingEngine, EditAndDeleteErrorsGoThroughTheirHandlers)
{
    ds->failEdits = 1;
    EXPECT_THROW(ds->edit(), EDatabaseError);
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    ds->failDeletes = 1;
    ds->OnDeleteError = [](TDataSet &, const std::exception &, TDataAction &action) { action = TDataAction::daAbort; };
    EXPECT_THROW(ds->deleteRecord(), EAbort);
    EXPECT_EQ(ds->rows().size(), 3u);
    EXPECT_EQ(name()->asString(), "P2");
}

TEST_F(FailingEngine, FailingNewRecordHandlerUndoesTheInsert)
{
    ds->OnNewRecord = [](TDataSet &) { throw EAbort(); };
    EXPECT_THROW(ds->insert(), EAbort);
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(name()->asString(), "P2");
}

TEST_F(FailingEngine, ValidationRefusalRestoresTheValue)
{
    name()->OnValidate = [](TField &f) {
        if (f.asString().isEmpty())
            throw EDatabaseError("empty");
    };
    ds->edit();
    EXPECT_THROW(name()->clear(), EDatabaseError);
    EXPECT_EQ(name()->asString(), "P2");
    EXPECT_FALSE(ds->modified());
}

} // namespace
