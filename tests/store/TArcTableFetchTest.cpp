// Fetching through the record filter, record count and number, bookmarks and refresh.

#include "TArcTableTestSupport.h"

#include "db/DatabaseError.h"
#include "db/RecordText.h"
#include "db/TField.h"
#include "engine/EngineError.h"

#include <functional>
#include <set>

namespace {

using table_test::GridLink;
using table_test::TableTest;
using table_test::messageOf;

qint64 idOf(const TArcTable &cards)
{
    return cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
}

QList<qint64> idsForward(TArcTable &cards)
{
    QList<qint64> ids;
    for (cards.first(); !cards.eof(); cards.next())
        ids << idOf(cards);
    return ids;
}

QList<qint64> idsBackward(TArcTable &cards)
{
    QList<qint64> ids;
    for (cards.last(); !cards.bof(); cards.prior())
        ids.prepend(idOf(cards));
    return ids;
}

class TArcTableFetch : public TableTest {
protected:
    TArcTableFetch() : TableTest(12) {}

    TArcTable &filteredCards(const std::function<bool(qint64)> &accept)
    {
        TArcTable &cards = table(QStringLiteral("Anagrafica"));
        m_accept = accept;
        cards.setOnFilterRecord([this](TDataSet &ds, bool &ok) {
            ok = m_accept(ds.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger());
        });
        cards.setFiltered(true);
        cards.open();
        return cards;
    }

    std::function<bool(qint64)> m_accept;
};

TEST_F(TArcTableFetch, RejectedRecordsAreNeverReached)
{
    TArcTable &cards = filteredCards([](qint64 id) { return id % 3 != 0; });
    const QList<qint64> expected{1, 2, 4, 5, 7, 8, 10, 11};
    EXPECT_EQ(idsForward(cards), expected);
    EXPECT_EQ(idsBackward(cards), expected);
    cards.last();
    EXPECT_EQ(idOf(cards), 11);
    EXPECT_EQ(cards.recordCount(), 8);

    GridLink grid;
    grid.setDataSource(&sourceOf(cards));
    grid.setBufferCount(20);
    cards.first();
    ASSERT_EQ(cards.bufferedRecordCount(), 8);
    for (int row = 0; row < cards.bufferedRecordCount(); ++row)
        EXPECT_EQ(cards.buffer(row).values[0].toLongLong(), expected[row]);
}

TEST_F(TArcTableFetch, NewCriteriaApplyFromTheFirstRecordButTheCountStays)
{
    TArcTable &cards = filteredCards([](qint64) { return true; });
    EXPECT_EQ(cards.recordCount(), 12);
    m_accept = [](qint64 id) { return id > 9; };
    cards.first();
    EXPECT_EQ(idsForward(cards), (QList<qint64>{10, 11, 12}));
    EXPECT_EQ(cards.recordCount(), 12);   // nothing marked it stale
    cards.ReopenRecordset();
    EXPECT_EQ(cards.recordCount(), 3);
}

TEST_F(TArcTableFetch, FilterReadsMemosThroughTheRecordText)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    cards.moveBy(4);
    cards.edit();
    cards.fieldByName(QStringLiteral("Note"))->setAsString(QStringLiteral("parola segreta nascosta"));
    cards.post();
    const qint64 marked = idOf(cards);

    QString search;
    cards.setOnFilterRecord([&search](TDataSet &ds, bool &accept) {
        accept = search.isEmpty() || recordText(ds).contains(search);
    });
    cards.setFiltered(true);
    search = QStringLiteral("SEGRETA NASC");
    cards.first();
    EXPECT_EQ(idsForward(cards), QList<qint64>{marked});
    search.clear();
    cards.first();
    EXPECT_EQ(idsForward(cards).size(), 12);
}

TEST_F(TArcTableFetch, RecordNumbersCountAcceptedRecords)
{
    TArcTable &cards = filteredCards([](qint64 id) { return id % 2 == 0; });
    cards.first();
    EXPECT_EQ(cards.recNo(), 1);
    cards.moveBy(3);
    EXPECT_EQ(idOf(cards), 8);
    EXPECT_EQ(cards.recNo(), 4);
    cards.setRecNo(2);
    EXPECT_EQ(idOf(cards), 4);
    EXPECT_EQ(cards.recNo(), 2);

    cards.setUseGetRecNo(false);
    EXPECT_EQ(cards.recNo(), -1);
}

TEST_F(TArcTableFetch, CountIsKeptUntilSomethingMarksItStale)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    EXPECT_EQ(cards.recordCount(), 12);
    table_test::deleteArchiveRow(m_path, QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA"), 12);
    EXPECT_EQ(cards.recordCount(), 12);
    cards.ReopenRecordset();
    EXPECT_EQ(cards.recordCount(), 11);

    cards.setUseRecordCount(false);
    cards.insert();
    cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("Nuova"));
    cards.post();
    EXPECT_EQ(cards.recordCount(), 12);
}

TEST_F(TArcTableFetch, BookmarksLeadBackToTheirRecord)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    cards.moveBy(5);
    const TBookmark mark = cards.getBookmark();
    ASSERT_EQ(mark.size(), 4);
    EXPECT_TRUE(cards.bookmarkValid(mark));
    cards.last();
    cards.gotoBookmark(mark);
    EXPECT_EQ(idOf(cards), 6);

    const TBookmark unknown = bookmarkFromId(9999);
    EXPECT_FALSE(cards.bookmarkValid(unknown));
    EXPECT_EQ(messageOf([&] { cards.gotoBookmark(unknown); }), QStringLiteral("Invalid Bookmark!"));
    EXPECT_EQ(idOf(cards), 6);
}

TEST_F(TArcTableFetch, BookmarkOfARecordDeletedElsewhere)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    cards.moveBy(3);
    const TBookmark mark = cards.getBookmark();
    cards.first();
    table_test::deleteArchiveRow(m_path, QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA"), 4);
    EXPECT_FALSE(cards.bookmarkValid(mark));
    try {
        cards.gotoBookmark(mark);
        FAIL() << "no error for a deleted record";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.number(), dao::errRecordDeleted);
    }
    EXPECT_FALSE(idsForward(cards).contains(4));
}

TEST_F(TArcTableFetch, RefreshShowsOtherUsersChanges)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    cards.moveBy(2);
    table_test::setArchiveValue(m_path, QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA"), 3,
                                QStringLiteral("Capofamiglia"), dao::Value(QStringLiteral("Cambiato Altrove")));
    EXPECT_NE(cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("Cambiato Altrove"));
    cards.refresh();
    EXPECT_EQ(idOf(cards), 3);
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("Cambiato Altrove"));
}

TEST_F(TArcTableFetch, RefreshOfADeletedRecordReopensAtTheSamePlace)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    cards.moveBy(4);
    table_test::deleteArchiveRow(m_path, QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA"), 5);
    cards.refresh();
    EXPECT_EQ(idOf(cards), 6);
    EXPECT_EQ(cards.recordCount(), 11);
    EXPECT_FALSE(idsForward(cards).contains(5));
}

} // namespace
