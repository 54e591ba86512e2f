// The card list's count while typing: each keystroke shows the first screen of matching
// cards at once, the count of the matches follows a step per turn of the event loop, and a
// newer keystroke drops the count of the search before it.

#include "CardPageTestSupport.h"

#include "db/TField.h"
#include "forms/main/ListPage.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {

using cardtest::household;

// More matches than a search takes keys for its first screen, so that its count is left to
// the background: 150 "KAPPA" and 140 "KAPPO" cards.
constexpr int kKappa = 150;
constexpr int kKappo = 140;
// Rows per counting step: small, so that a count takes many turns of the event loop.
constexpr int kStepRows = 16;
// Turns of the event loop a count may take: far more than it needs.
constexpr int kTurnLimit = 5000;

class ListPageCountTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        std::vector<cli::Household> cards;
        for (int i = 0; i < kKappa + kKappo; ++i)
            cards.push_back(household(QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')),
                                      QStringLiteral("%1 %2").arg(i < kKappa ? "KAPPA" : "KAPPO").arg(i)));
        cardtest::createArchive(archive(), cards);
    }

    // Turns the event loop until the card table knows its count, at most kTurnLimit times.
    static int turnsUntilCounted(TArcTable &cards)
    {
        int turns = 0;
        while (cards.knownRecordCount() < 0 && turns < kTurnLimit) {
            QCoreApplication::processEvents();
            ++turns;
        }
        return turns;
    }
};

TEST_F(ListPageCountTest, ANewerSearchDropsTheOlderCountAndTheCountKnownIsTheNewerOnes)
{
    const auto window = start();
    showActive(*window);
    window->barButton(Tfrm_main::cmdLista)->click();
    TArcTable &cards = window->data().Anagrafica();
    cards.setCountStepRows(kStepRows);
    std::vector<int> delivered;
    QObject::connect(&cards, &TDataSet::recordCountKnown, [&] { delivered.push_back(cards.knownRecordCount()); });

    // The first screen is there before anything is counted, on the first matching card.
    QLineEdit *box = window->listPage()->cerca();
    box->setText(QStringLiteral("KAPP"));
    EXPECT_EQ(cards.knownRecordCount(), -1);
    EXPECT_TRUE(cards.recordCountComing());
    EXPECT_TRUE(cards.bof());
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("KAPPA 0"));
    const QStringList shown = cardtest::visibleValues(cards, QStringLiteral("Protocollo"));
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.first(), QStringLiteral("P000"));

    // Part of the way through, a newer keystroke: the count of "KAPP" never lands.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(cards.knownRecordCount(), -1) << "counted too fast to be overtaken";
    box->setText(QStringLiteral("KAPPO"));
    EXPECT_EQ(cards.fieldByName(QStringLiteral("Capofamiglia"))->asString(), QStringLiteral("KAPPO %1").arg(kKappa));

    const int turns = turnsUntilCounted(cards);
    ASSERT_LT(turns, kTurnLimit);
    EXPECT_GT(turns, 1);
    EXPECT_EQ(delivered, std::vector<int>{kKappo});
    EXPECT_EQ(cards.recordCount(), kKappo);
    EXPECT_FALSE(cards.recordCountComing());
    EXPECT_TRUE(m_messages.errors().isEmpty());

    // Emptying the box needs no count: every card is in the keyset already.
    box->clear();
    EXPECT_EQ(cards.knownRecordCount(), -1);
    EXPECT_FALSE(cards.recordCountComing());
    EXPECT_EQ(cards.recordCount(), kKappa + kKappo);
}

} // namespace
