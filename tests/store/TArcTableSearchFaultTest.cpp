// A search the storage fails to answer (an injected fault, or on the server a connection the
// server ended): the card table reports the error once and stays open on the cards it had;
// the next move to the first record searches again and finds what the search finds without
// a fault.

#include "TArcTableTestSupport.h"

#include "db/RecordText.h"
#include "db/TField.h"
#include "engine/EngineError.h"
#include "engine/StorageFaults.h"
#include "tests/support/PgTestServer.h"

namespace {

using table_test::TableTest;

enum class SearchFailure { InjectedFault, ConnectionEnded };

class TArcTableSearchFault : public TableTest, public ::testing::WithParamInterface<SearchFailure> {
protected:
    TArcTableSearchFault() : TableTest(6) {}

    void SetUp() override
    {
        TableTest::SetUp();
        // As the list page searches: the record filter, handed to the engine as criteria.
        m_cards = &table(QStringLiteral("Anagrafica"));
        m_cards->OnFilterRecord = [this](TDataSet &cards, bool &accepted) {
            accepted = recordText(cards).contains(m_search);
        };
        m_cards->FilterCriteria = [this] {
            TFilterCriteria criteria;
            criteria.recordTextContains = m_search;
            return std::make_optional(criteria);
        };
        m_cards->setFiltered(true);
        m_cards->open();
    }

    QList<qint64> searched(const QString &text)
    {
        m_search = text;
        QList<qint64> keys;
        for (m_cards->first(); !m_cards->eof(); m_cards->next())
            keys << m_cards->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
        return keys;
    }

    void breakTheSearch()
    {
        if (GetParam() == SearchFailure::ConnectionEnded) {
            testsupport::pgEndSessions(testsupport::pgDatabaseOf(m_path));
            return;
        }
        // Only the engine's selection by the search text fails: the cards go on reading.
        dao::faults::failStatements(testsupport::onServer() ? QStringLiteral("strpos(")
                                                            : QStringLiteral("jet_record_contains"),
                                    dao::faults::Fault::Io, 0, 1);
    }

    TArcTable *m_cards = nullptr;
    QString m_search;
    dao::faults::Scope m_faults;
};

TEST_P(TArcTableSearchFault, TheErrorComesOnceAndTheNextKeystrokeSearches)
{
    const QList<qint64> every = searched(QString());
    ASSERT_EQ(every.size(), 6);
    m_cards->first();
    m_cards->next();
    // The record text holds letters in capitals, as the list page's search compares them.
    const QString head = m_cards->fieldByName(QStringLiteral("Capofamiglia"))->asString().toUpper();
    const QList<qint64> found = searched(head.left(4));
    ASSERT_FALSE(found.isEmpty());
    ASSERT_LT(found.size(), 6);
    const QList<qint64> foundFurther = searched(head.left(5));
    searched(QString());

    breakTheSearch();
    m_search = head.left(4);
    EXPECT_THROW(m_cards->first(), dao::EngineError);

    // Still open on the cards it showed; the next move to the first record searches again.
    ASSERT_TRUE(m_cards->active());
    ASSERT_NE(m_cards->EngineRecordset(), nullptr);
    m_cards->first();
    EXPECT_EQ(m_cards->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(), found.front());
    EXPECT_EQ(searched(head.left(4)), found);
    EXPECT_EQ(searched(head.left(5)), foundFurther);
    EXPECT_EQ(searched(QString()), every);
}

// An ended connection exists only on the server: the file run has the injected fault alone.
std::vector<SearchFailure> searchFailures()
{
    if (testsupport::onServer())
        return {SearchFailure::InjectedFault, SearchFailure::ConnectionEnded};
    return {SearchFailure::InjectedFault};
}

INSTANTIATE_TEST_SUITE_P(BothWays, TArcTableSearchFault, ::testing::ValuesIn(searchFailures()),
                         [](const ::testing::TestParamInfo<SearchFailure> &info) {
                             return info.param == SearchFailure::InjectedFault ? "InjectedFault" : "ConnectionEnded";
                         });

} // namespace
