// The order of the dataset's events around each operation, and the states it passes.

#include "DbTestSupport.h"

#include "db/DatabaseError.h"

#include <gtest/gtest.h>

namespace {

class EventOrder : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.setDataSet(ds.get());
        link.setDataSource(&source);
        link.setBufferCount(10);
    }
    TField *name() { return ds->fieldByName("NAME"); }

    std::unique_ptr<MemoryDataSet> ds = makePeople(3);
    EventLog log{*ds};
    TDataSource source;
    RecordingLink link;
};

TEST_F(EventOrder, OpenAndClose)
{
    ds->open();
    EXPECT_EQ(log.joined(), "BeforeOpen AfterOpen AfterScroll");
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    EXPECT_TRUE(ds->bof());
    EXPECT_FALSE(ds->eof());
    EXPECT_EQ(name()->asString(), "P1");
    log.clear();
    ds->close();
    EXPECT_EQ(log.joined(), "BeforeClose AfterClose");
    EXPECT_EQ(ds->state(), TDataSetState::dsInactive);
}

TEST_F(EventOrder, EditThenPost)
{
    ds->open();
    log.clear();
    ds->edit();
    EXPECT_EQ(ds->state(), TDataSetState::dsEdit);
    name()->setAsString("Anna");
    EXPECT_TRUE(ds->modified());
    ds->post();
    EXPECT_EQ(log.joined(), "BeforeEdit AfterEdit BeforePost AfterPost");
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    EXPECT_FALSE(ds->modified());
    EXPECT_EQ(ds->rows()[0].values[1], "Anna");
}

TEST_F(EventOrder, InsertThenPostPutsTheRecordBeforeTheCurrentOne)
{
    ds->open();
    ds->next();
    log.clear();
    ds->insert();
    EXPECT_EQ(log.joined(), "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll");
    EXPECT_EQ(ds->state(), TDataSetState::dsInsert);
    EXPECT_FALSE(ds->modified());
    EXPECT_EQ(ds->fieldByName("ACTIVE")->asString(), "True");   // the column's default
    EXPECT_TRUE(ds->getBookmark().isEmpty());
    name()->setAsString("New");
    log.clear();
    ds->post();
    EXPECT_EQ(log.joined(), "BeforePost AfterPost");
    EXPECT_EQ(ds->column(1), QStringList({"P1", "New", "P2", "P3"}));
    EXPECT_EQ(name()->asString(), "New");
    ds->next();
    EXPECT_EQ(name()->asString(), "P2");
}

TEST_F(EventOrder, AppendThenCancelReturnsToTheLastRecord)
{
    ds->open();
    log.clear();
    ds->append();
    EXPECT_EQ(log.joined(), "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll");
    EXPECT_EQ(ds->activeRecord(), 3);
    log.clear();
    ds->cancel();
    EXPECT_EQ(log.joined(), "BeforeCancel BeforeScroll AfterCancel AfterScroll");
    EXPECT_EQ(ds->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(name()->asString(), "P3");
    EXPECT_EQ(ds->rows().size(), 3u);
}

TEST_F(EventOrder, AppendThenPostAddsAtTheEnd)
{
    ds->open();
    ds->append();
    name()->setAsString("Last");
    ds->post();
    EXPECT_EQ(ds->column(1).last(), "Last");
    EXPECT_EQ(name()->asString(), "Last");
    ds->next();
    EXPECT_TRUE(ds->eof());
}

TEST_F(EventOrder, InsertThenCancelReturnsToTheFormerRecord)
{
    ds->open();
    ds->next();
    ds->insert();
    name()->setAsString("Dropped");
    ds->cancel();
    EXPECT_EQ(name()->asString(), "P2");
    EXPECT_EQ(ds->bufferedRecordCount(), 3);
    EXPECT_EQ(ds->column(1), QStringList({"P1", "P2", "P3"}));
}

TEST_F(EventOrder, DeleteMovesToTheNextRecord)
{
    ds->open();
    ds->next();
    log.clear();
    ds->deleteRecord();
    EXPECT_EQ(log.joined(), "BeforeDelete BeforeScroll AfterDelete AfterScroll");
    EXPECT_EQ(name()->asString(), "P3");
    ds->deleteRecord();
    EXPECT_EQ(name()->asString(), "P1");
    ds->deleteRecord();
    EXPECT_TRUE(ds->isEmpty());
    EXPECT_TRUE(ds->bof() && ds->eof());
    try {
        ds->deleteRecord();
        FAIL() << "delete on an empty dataset";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), "Cannot perform this operation on an empty dataset");
    }
}

TEST_F(EventOrder, DeleteDuringInsertCancelsTheInsert)
{
    ds->open();
    ds->insert();
    log.clear();
    ds->deleteRecord();
    EXPECT_EQ(log.joined(), "BeforeCancel BeforeScroll AfterCancel AfterScroll");
    EXPECT_EQ(ds->rows().size(), 3u);
}

TEST_F(EventOrder, EditOnAnEmptyDatasetInserts)
{
    auto empty = makePeople(0);
    EventLog emptyLog(*empty);
    empty->open();
    emptyLog.clear();
    empty->edit();
    EXPECT_EQ(empty->state(), TDataSetState::dsInsert);
    EXPECT_TRUE(emptyLog.names.startsWith("BeforeInsert"));
}

TEST_F(EventOrder, CheckBrowseModePostsModifiedAndCancelsUnmodified)
{
    ds->open();
    ds->edit();
    log.clear();
    ds->checkBrowseMode();
    EXPECT_EQ(log.joined(), "BeforeCancel AfterCancel");
    ds->edit();
    name()->setAsString("Changed");
    log.clear();
    ds->next();   // leaving the record posts it first
    EXPECT_EQ(log.joined(), "BeforePost AfterPost BeforeScroll AfterScroll");
    EXPECT_EQ(ds->rows()[0].values[1], "Changed");
}

TEST_F(EventOrder, CloseCancelsAnEditWithoutPosting)
{
    ds->open();
    ds->edit();
    name()->setAsString("Lost");
    log.clear();
    ds->close();
    EXPECT_EQ(log.joined(), "BeforeClose AfterClose");
    EXPECT_EQ(ds->rows()[0].values[1], "P1");
}

TEST_F(EventOrder, RequiredFieldMustHaveAValue)
{
    ds->open();
    ds->insert();
    try {
        ds->post();
        FAIL() << "posted a record without NAME";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), "Field 'NAME' must have a value");
    }
    EXPECT_EQ(ds->state(), TDataSetState::dsInsert);
}

struct RefusedOperation {
    const char *name;
    std::function<void(MemoryDataSet &)> run;
    const char *message;
};

class ClosedDataSet : public ::testing::TestWithParam<RefusedOperation> {};

TEST_P(ClosedDataSet, RefusesTheOperation)
{
    auto ds = makePeople(2);
    try {
        GetParam().run(*ds);
        FAIL() << "expected an error";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), GetParam().message);
    }
}

const char *const kClosed = "Cannot perform this operation on a closed dataset";

INSTANTIATE_TEST_SUITE_P(Operations, ClosedDataSet,
    ::testing::Values(RefusedOperation{"Next", [](MemoryDataSet &d) { d.next(); }, kClosed},
                      RefusedOperation{"First", [](MemoryDataSet &d) { d.first(); }, kClosed},
                      RefusedOperation{"Edit", [](MemoryDataSet &d) { d.edit(); }, kClosed},
                      RefusedOperation{"Insert", [](MemoryDataSet &d) { d.insert(); }, kClosed},
                      RefusedOperation{"Delete", [](MemoryDataSet &d) { d.deleteRecord(); }, kClosed},
                      RefusedOperation{"Post", [](MemoryDataSet &d) { d.post(); }, kClosed}),
    [](const auto &info) { return std::string(info.param.name); });

class OpenDataSet : public ::testing::TestWithParam<RefusedOperation> {};

TEST_P(OpenDataSet, RefusesTheOperation)
{
    auto ds = makePeople(2);
    ds->open();
    try {
        GetParam().run(*ds);
        FAIL() << "expected an error";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, OpenDataSet,
    ::testing::Values(
        RefusedOperation{"PostInBrowse", [](MemoryDataSet &d) { d.post(); }, "Dataset not in edit or insert mode"},
        RefusedOperation{"WriteInBrowse", [](MemoryDataSet &d) { d.fieldByName("NAME")->setAsString("x"); },
                         "Dataset not in edit or insert mode"},
        RefusedOperation{"EditReadOnly", [](MemoryDataSet &d) { d.setReadOnly(true); d.edit(); },
                         "Cannot modify a read-only dataset"},
        RefusedOperation{"AppendReadOnly", [](MemoryDataSet &d) { d.setReadOnly(true); d.append(); },
                         "Cannot modify a read-only dataset"},
        RefusedOperation{"WriteReadOnlyField",
                         [](MemoryDataSet &d) { d.fieldByName("ID")->setReadOnly(true); d.edit();
                                                d.fieldByName("ID")->setAsInteger(9); },
                         "Field 'ID' cannot be modified"},
        RefusedOperation{"UnknownField", [](MemoryDataSet &d) { d.fieldByName("NOPE"); }, "Field 'NOPE' not found"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
