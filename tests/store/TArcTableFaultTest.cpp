// Storage failures while a dataset replaces its recordset: whichever way the recordset was
// being replaced, the error reaches the caller as an engine error and the dataset is left
// closed or on a recordset, never open over nothing; once the fault is gone the program
// goes on from there.

#include "TArcTableTestSupport.h"

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/StorageFaults.h"
#include "tests/support/PgTestServer.h"

namespace {

using table_test::TableTest;

enum class Caller { Reopen, RefreshFallback, MasterChange, RequeryAfterPost };

struct Fault {
    const char *name;
    dao::faults::Fault fault;
};

const Fault kFaults[] = {{"LockedPastTheWait", dao::faults::Fault::Busy},
                         {"FileGone", dao::faults::Fault::CannotOpen},
                         {"IoError", dao::faults::Fault::Io}};

// Only the member list's keyset fails: the cards go on reading.
void breakMemberKeysets(const Fault &fault)
{
    dao::faults::failStatements(testsupport::onServer() ? QStringLiteral("SELECT \"ID_PERSONA\" FROM \"Nucleo\"")
                                                        : QStringLiteral("SELECT rowid FROM \"Nucleo\""),
                                fault.fault);
}

class TArcTableFault : public TableTest, public ::testing::WithParamInterface<std::tuple<Caller, Fault>> {
protected:
    TArcTableFault() : TableTest(6) {}

    void SetUp() override
    {
        TableTest::SetUp();
        openCardsWithMembers(m_cards, m_members);
    }

    void breakMemberRequeries() { breakMemberKeysets(std::get<1>(GetParam())); }

    void provoke()
    {
        switch (std::get<0>(GetParam())) {
        case Caller::Reopen:
            breakMemberRequeries();
            m_members->ReopenRecordset();
            break;
        case Caller::RefreshFallback: {
            // The current member vanishes, so the refresh falls back to reopening.
            const qint64 member = m_members->fieldByName(QStringLiteral("ID_PERSONA"))->asInteger();
            table_test::deleteArchiveRow(m_path, QStringLiteral("Nucleo"), QStringLiteral("ID_PERSONA"), member);
            breakMemberRequeries();
            m_members->refresh();
            break;
        }
        case Caller::MasterChange:
            breakMemberRequeries();
            m_cards->next();
            break;
        case Caller::RequeryAfterPost:
            m_cards->edit();
            m_cards->fieldByName(QStringLiteral("Capofamiglia"))->setValueText(QStringLiteral("Verdi Anna"));
            breakMemberRequeries();
            m_cards->post();
            break;
        }
    }

    TArcTable *m_cards = nullptr;
    TArcTable *m_members = nullptr;
    dao::faults::Scope m_faults;
};

TEST_P(TArcTableFault, TheErrorReachesTheCallerAndTheMemberListStaysUsable)
{
    ASSERT_GT(m_members->recordCount(), 0);
    try {
        provoke();
        ADD_FAILURE() << "the failed requery was not reported";
    } catch (const dao::EngineError &error) {
        EXPECT_NE(std::get<0>(GetParam()), Caller::RequeryAfterPost) << "a saved card reported as a failed save";
        EXPECT_FALSE(error.description().isEmpty());
    } catch (const ESavedWithWarning &warning) {
        // The card is saved: the failed requery of its members comes as a warning saying so.
        EXPECT_EQ(std::get<0>(GetParam()), Caller::RequeryAfterPost);
        EXPECT_TRUE(warning.message().startsWith(QStringLiteral("Il salvataggio è riuscito"))) << warning.message().toStdString();
        EXPECT_EQ(m_cards->state(), TDataSetState::dsBrowse);
        EXPECT_EQ(m_cards->fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("Verdi Anna"));
    }
    dao::faults::clear();

    // Never open over no recordset: that one skipped every later requery and crashed.
    EXPECT_TRUE(!m_members->active() || m_members->EngineRecordset() != nullptr);

    // The user goes on: the list is opened again where needed and follows the cards.
    if (!m_members->active())
        m_members->open();
    m_cards->first();
    const qint64 card = m_cards->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
    EXPECT_EQ(m_members->recordCount(),
              table_test::archiveRowCount(m_path, QStringLiteral("Nucleo"), QStringLiteral("[ID_SCHEDA] = %1").arg(card)));
    m_members->append();
    m_members->fieldByName(QStringLiteral("Nome"))->setValueText(QStringLiteral("Nuovo"));
    m_members->post();
    EXPECT_EQ(m_members->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(), card);
}

// A member list that could not be opened stays closed: it refuses an edit instead of crashing,
// the cards move on without it, and once the storage answers it opens on the current card.
class TArcTableFailedOpen : public TableTest, public ::testing::WithParamInterface<Fault> {
protected:
    TArcTableFailedOpen() : TableTest(6) {}

    dao::faults::Scope m_faults;
};

TEST_P(TArcTableFailedOpen, AClosedMemberListRefusesInsteadOfCrashing)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    TArcTable &members = linkedMembers(cards);
    breakMemberKeysets(GetParam());
    EXPECT_THROW(members.open(), dao::EngineError);
    dao::faults::clear();
    ASSERT_FALSE(members.active());

    EXPECT_THROW(members.append(), EDatabaseError);
    cards.next();   // a closed detail ignores its master
    EXPECT_FALSE(members.active());

    members.open();
    const qint64 card = cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
    EXPECT_GT(members.recordCount(), 0);
    EXPECT_EQ(members.recordCount(),
              table_test::archiveRowCount(m_path, QStringLiteral("Nucleo"), QStringLiteral("[ID_SCHEDA] = %1").arg(card)));
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<Caller, Fault>> &info)
{
    static const char *const callers[] = {"Reopen", "RefreshFallback", "MasterChange", "RequeryAfterPost"};
    return std::string(callers[int(std::get<0>(info.param))]) + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryCallerEveryFault, TArcTableFault,
    ::testing::Combine(::testing::Values(Caller::Reopen, Caller::RefreshFallback, Caller::MasterChange,
                                         Caller::RequeryAfterPost),
                       ::testing::ValuesIn(kFaults)),
    caseName);

INSTANTIATE_TEST_SUITE_P(EveryFault, TArcTableFailedOpen, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault> &info) { return std::string(info.param.name); });

} // namespace
