// A desk saving a new card while its link to the server fails around the COMMIT, through a
// relay that forwards the COMMIT and drops the server's answer, or passes the answer and
// cuts the link right after: the card is in the archive once, the desk browses it, and a
// second save adds nothing. What the desk was told says the card was saved.

#include "TArcTableTestSupport.h"

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "tests/support/PgLinkProxy.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestArchive.h"

namespace {

using testsupport::PgLinkProxy;

class TArcTableLinkFailure : public testing::TestWithParam<PgLinkProxy::Fault> {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        const QString database = testsupport::pgDatabaseOf(testsupport::newPgDatabase());
        // Made and read back over the server's socket, past the relay.
        m_direct = testsupport::pgSocketAddress(testsupport::pgOfficeRole(), database);
        testsupport::createArchive(m_direct, {}, 2);
        m_proxy = std::make_unique<PgLinkProxy>();
        m_db.setDatabase(m_proxy->officeAddress(database));
        m_db.setDatabasePassword(testsupport::pgOfficePassword());
        m_db.Open();
        table_test::configureLikeProgram(m_cards, m_db, QStringLiteral("Anagrafica"));
        m_cards.open();
    }
    void TearDown() override
    {
        if (m_cards.active())
            m_cards.close();
        m_db.Close();
    }
    int stored(const QString &head) const
    {
        return table_test::archiveRowCount(m_direct, QStringLiteral("Anagrafica"),
                                           QStringLiteral("[Capofamiglia] = \"%1\"").arg(head));
    }

    QString m_direct;
    std::unique_ptr<PgLinkProxy> m_proxy;
    TArcDatabase m_db;
    TArcTable m_cards;
};

TEST_P(TArcTableLinkFailure, ANewCardIsSavedOnceAndTheDeskSaysSo)
{
    m_cards.append();
    m_cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("Verdi Anna"));
    m_proxy->arm(GetParam());
    QString told;
    try {
        m_cards.post();
    } catch (const ESavedWithWarning &warning) {
        told = warning.message();   // a failure after the save: a warning that says it landed
    }
    EXPECT_TRUE(m_proxy->struck());
    EXPECT_EQ(stored(QStringLiteral("Verdi Anna")), 1);
    EXPECT_EQ(m_cards.state(), TDataSetState::dsBrowse) << told.toStdString();
    EXPECT_TRUE(told.isEmpty() || told.startsWith(QStringLiteral("Il salvataggio è riuscito"))) << told.toStdString();
    EXPECT_EQ(m_cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("Verdi Anna"));
    EXPECT_FALSE(m_cards.fieldByName(QStringLiteral("ID_SCHEDA"))->isNull());

    // Changed and saved again, the card is updated, not added.
    m_cards.edit();
    m_cards.fieldByName(QStringLiteral("Citta"))->setAsString(QStringLiteral("Pisa"));
    m_cards.post();
    EXPECT_EQ(stored(QStringLiteral("Verdi Anna")), 1);
    EXPECT_EQ(table_test::archiveRowCount(m_direct, QStringLiteral("Anagrafica"), QStringLiteral("[Citta] = \"Pisa\"")), 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, TArcTableLinkFailure,
                         testing::Values(PgLinkProxy::Fault::DropCommitAnswer, PgLinkProxy::Fault::CutAfterCommit),
                         [](const testing::TestParamInfo<PgLinkProxy::Fault> &info) {
                             return info.param == PgLinkProxy::Fault::DropCommitAnswer ? std::string("AnswerDropped")
                                                                                       : std::string("CutAfterCommit");
                         });

} // namespace
