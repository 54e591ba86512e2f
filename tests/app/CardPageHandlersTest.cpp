// The card's dataset handlers: the members' age, the household summary written before a
// post, entering the member grid, and the confirmations before a delete.

#include "CardPageTestSupport.h"

#include "controls/TExDBGrid.h"
#include "db/DatabaseError.h"
#include "db/TField.h"
#include "forms/main/CardPage.h"
#include "forms/main/CardPageHandlers.h"

#include <QApplication>
#include <QAbstractButton>
#include <QStackedWidget>

namespace {

using cardtest::fixedToday;
using cardtest::household;
using cardtest::member;

struct AgeCase {
    const char *name;
    int daysBeforeToday;
    std::optional<int> age;
};

void PrintTo(const AgeCase &c, std::ostream *os) { *os << c.name; }

class MemberAgeTest : public testing::TestWithParam<AgeCase> {};

TEST_P(MemberAgeTest, CountsDaysOverAYearOfThreeHundredSixtyFiveAndAQuarter)
{
    const QDate today = fixedToday();
    EXPECT_EQ(memberAge(today.addDays(-GetParam().daysBeforeToday), today), GetParam().age);
}

INSTANTIATE_TEST_SUITE_P(Ages, MemberAgeTest,
                         testing::Values(AgeCase{"BornToday", 0, 0}, AgeCase{"Days365", 365, 0},
                                         AgeCase{"Days366", 366, 1}, AgeCase{"FortyYears", 14610, 40},
                                         AgeCase{"OneDayShortOfForty", 14609, 39},
                                         AgeCase{"Future365", -365, 0}, AgeCase{"Future366", -366, -1}),
                         [](const testing::TestParamInfo<AgeCase> &info) { return std::string(info.param.name); });

TEST(MemberAgeEmptyTest, NoBirthDateGivesNoAge)
{
    EXPECT_EQ(memberAge(QDate(), fixedToday()), std::nullopt);
    EXPECT_EQ(memberAge(QDate(1899, 12, 30), fixedToday()), std::nullopt);
}

class CardPageHandlersTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household family = household(QStringLiteral("P-1"), QStringLiteral("Rossi Mario"));
        family.members = {member(QStringLiteral("Maria"), QStringLiteral("Madre"), QStringLiteral("Casalinga"),
                                 QDate(1983, 3, 10)),
                          member(QStringLiteral("Luca"), QStringLiteral("Figlio"), QString(), QDate(2023, 6, 15)),
                          member(QStringLiteral("Nonno Pio"), QStringLiteral("Nonno"), QStringLiteral("Pensionato"))};
        m_keys = cardtest::createArchive(archive(), {family, household(QStringLiteral("P-2"), QStringLiteral("Soli"))});
    }

    QStringList storedSummaries() const
    {
        return cardtest::ArchiveAccess(archive()).texts(QStringLiteral("Anagrafica"), QStringLiteral("Nucleo"));
    }
    int membersOf(qint64 card) const
    {
        return cardtest::ArchiveAccess(archive()).count(QStringLiteral("Nucleo"),
                                                        QStringLiteral("[ID_SCHEDA] = %1").arg(card));
    }

    std::vector<qint64> m_keys;
};

TEST_F(CardPageHandlersTest, AgesCountFromTheInjectedToday)
{
    const auto window = start();
    TArcTable &members = window->data().Nucleo();
    QStringList ages;
    for (members.first(); !members.eof(); members.next())
        ages << members.fieldByName(QStringLiteral("Eta"))->asString();
    EXPECT_EQ(ages, (QStringList{"41", "1", ""}));
    EXPECT_TRUE(members.fieldByName(QStringLiteral("Eta"))->isNull());
}

// The summary is the one format the printed lists and documents rely on: carriage returns
// alone, an empty age after the bracket and blank.
TEST_F(CardPageHandlersTest, PostWritesOneSummaryLinePerMemberEvenWhenNoMemberChanged)
{
    const auto window = start();
    TArcTable &cards = window->data().Anagrafica();
    cards.edit();
    cards.fieldByName(QStringLiteral("Citta"))->setAsString(QStringLiteral("Torino"));
    cards.post();

    const QString expected = QStringLiteral("Maria (Madre,Casalinga) 41\rLuca (Figlio,) 1\rNonno Pio (Nonno,Pensionato) \r");
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Nucleo"))->asString(), expected);
    EXPECT_EQ(storedSummaries().first(), expected);
    EXPECT_FALSE(expected.contains(QLatin1Char('\n')));
}

// Another desk adds a member after this one showed the card: the summary saved with the
// card counts it, though this desk's member list never showed it.
TEST_F(CardPageHandlersTest, SummaryIsWrittenFromTheMembersStoredWhenTheCardIsSaved)
{
    const auto window = start();
    TArcTable &cards = window->data().Anagrafica();
    cardtest::ArchiveAccess(archive()).add(QStringLiteral("Nucleo"),
                                           {{QStringLiteral("ID_SCHEDA"), dao::Value(m_keys.front())},
                                            {QStringLiteral("Nome"), dao::Value(QStringLiteral("Sara"))},
                                            {QStringLiteral("Ruolo"), dao::Value(QStringLiteral("Figlia"))}});
    cards.edit();
    cards.fieldByName(QStringLiteral("Citta"))->setAsString(QStringLiteral("Torino"));
    cards.post();
    const QString expected = QStringLiteral("Maria (Madre,Casalinga) 41\rLuca (Figlio,) 1\rNonno Pio (Nonno,Pensionato) \r"
                                            "Sara (Figlia,) \r");
    EXPECT_EQ(storedSummaries().first(), expected);
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Nucleo"))->asString(), expected);
}

TEST_F(CardPageHandlersTest, SummaryWalkLeavesTheMembersOnTheirLastRow)
{
    const auto window = start();
    TArcTable &members = window->data().Nucleo();
    EXPECT_EQ(CardPageHandlers::householdSummary(members).count(QLatin1Char('\r')), 3);
    EXPECT_TRUE(members.eof());
    EXPECT_EQ(members.fieldByName(QStringLiteral("Nome"))->asString(), QStringLiteral("Nonno Pio"));
}

TEST_F(CardPageHandlersTest, CardWithoutMembersGetsAnEmptySummary)
{
    const auto window = start();
    TArcTable &cards = window->data().Anagrafica();
    cards.last();
    cards.edit();
    cards.fieldByName(QStringLiteral("Nucleo"))->setAsString(QStringLiteral("vecchio testo"));
    cards.post();
    EXPECT_EQ(storedSummaries().last(), QString());
}

TEST_F(CardPageHandlersTest, EnteringTheMemberGridOfAnUnchangedCardPostsNothing)
{
    const auto window = start();
    int posts = 0;
    window->data().Anagrafica().AfterPost = [&posts](TDataSet &) { ++posts; };
    window->cardPage()->grid_nucleoEnter();
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsBrowse);
}

TEST_F(CardPageHandlersTest, EnteringTheMemberGridPostsAnEditedCardAndEditsItAgain)
{
    const auto window = start();
    showActive(*window);
    TArcTable &cards = window->data().Anagrafica();
    cards.edit();
    cards.fieldByName(QStringLiteral("Citta"))->setAsString(QStringLiteral("Asti"));

    window->cardPage()->grid_nucleo()->setFocus();
    QApplication::processEvents();

    EXPECT_EQ(cards.state(), TDataSetState::dsEdit);
    EXPECT_EQ(cardtest::ArchiveAccess(archive()).texts(QStringLiteral("Anagrafica"), QStringLiteral("Citta")).first(),
              QStringLiteral("Asti"));
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

TEST_F(CardPageHandlersTest, NewCardGetsItsKeyBeforeItsFirstMember)
{
    const auto window = start();
    TArcTable &cards = window->data().Anagrafica();
    cards.append();
    cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("Nuova famiglia"));
    window->cardPage()->grid_nucleoEnter();

    const qint64 key = cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
    EXPECT_GT(key, m_keys.back());
    EXPECT_EQ(cards.state(), TDataSetState::dsEdit);
    TArcTable &members = window->data().Nucleo();
    EXPECT_TRUE(members.isEmpty());
    members.append();
    members.fieldByName(QStringLiteral("Nome"))->setAsString(QStringLiteral("Primo"));
    members.post();
    EXPECT_EQ(members.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(), key);
    EXPECT_EQ(membersOf(key), 1);
}

struct DeleteCase {
    const char *name;
    const char *dataset;
    bool answer;
    bool editing;   // the row is being edited when the delete is asked for
};

void PrintTo(const DeleteCase &c, std::ostream *os) { *os << c.name; }

class CardPageDeleteTest : public CardPageHandlersTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(CardPageDeleteTest, AsksFirstAndDeletesOnlyOnYes)
{
    const DeleteCase &c = GetParam();
    const auto window = start();
    const bool card = QLatin1String(c.dataset) == QLatin1String("Anagrafica");
    TArcTable &table = card ? window->data().Anagrafica() : window->data().Nucleo();
    const QString keyField = card ? QStringLiteral("ID_SCHEDA") : QStringLiteral("ID_PERSONA");
    const qint64 key = table.fieldByName(keyField)->asInteger();
    const int rows = cardtest::ArchiveAccess(archive()).count(QString::fromLatin1(c.dataset));
    if (c.editing) {
        table.edit();
        table.fieldByName(card ? QStringLiteral("Citta") : QStringLiteral("Lavoro"))->setAsString(QStringLiteral("x"));
    }
    const TDataSetState before = table.state();
    m_messages.answer({c.answer});

    bool aborted = false;
    try {
        table.deleteRecord();
    } catch (const EAbort &) {
        aborted = true;
    }

    ASSERT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(m_messages.shown().first(), card ? CardPageHandlers::confirmCardDelete()
                                                : CardPageHandlers::confirmMemberDelete());
    EXPECT_EQ(aborted, !c.answer);
    EXPECT_EQ(cardtest::ArchiveAccess(archive()).count(QString::fromLatin1(c.dataset)), c.answer ? rows - 1 : rows);
    if (!c.answer) {
        EXPECT_EQ(table.state(), before);
        EXPECT_EQ(table.fieldByName(keyField)->asInteger(), key);
        if (c.editing)
            table.cancel();
    }
    // A deleted card leaves its members in the archive.
    if (card && c.answer) {
        EXPECT_EQ(membersOf(key), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Confirmations, CardPageDeleteTest,
                         testing::Values(DeleteCase{"CardYes", "Anagrafica", true, false},
                                         DeleteCase{"CardNo", "Anagrafica", false, false},
                                         DeleteCase{"CardNoWhileEditing", "Anagrafica", false, true},
                                         DeleteCase{"MemberYes", "Nucleo", true, false},
                                         DeleteCase{"MemberNo", "Nucleo", false, false},
                                         DeleteCase{"MemberNoWhileEditing", "Nucleo", false, true}),
                         [](const testing::TestParamInfo<DeleteCase> &info) { return std::string(info.param.name); });

} // namespace
