// The bracket scanning of a text box's texts.

#include "output/report/expr/ExprText.h"
#include "tests/report/ExprTestSupport.h"

using namespace exprtest;

TEST(ExprText, BracketedPartsAreReplacedAndWhatTheyInsertIsNotScannedAgain)
{
    auto scope = cardScope();
    scope.setVariable("Modello", report::ExprValue("[PAGE#]"));
    EXPECT_EQ(report::expandText("Pagina [PAGE#] di [TOTALPAGES]", scope), "Pagina 3 di 12");
    EXPECT_EQ(report::expandText("Titolare: [Anagrafica.\"Capofamiglia\"].", scope), "Titolare: ROSSI MARIO.");
    EXPECT_EQ(report::expandText("[Modello] resta [Modello]", scope), "[PAGE#] resta [PAGE#]");
    EXPECT_EQ(report::expandText("[IF([PAGE#] > 2; 'oltre'; 'prima')] [[1] + [2]]", scope), "oltre 3");
    EXPECT_EQ(report::expandText("Senza espressioni", scope), "Senza espressioni");
    EXPECT_EQ(report::expandText("[][ ]fine", scope), "fine");
}

TEST(ExprText, UnmatchedBracketsPrintAsTheyStand)
{
    auto scope = cardScope();
    EXPECT_EQ(report::expandText("Totale [PAGE# + [1]", scope), "Totale [PAGE# + [1]");
    EXPECT_EQ(report::expandText("[PAGE#] e [resto", scope), "3 e [resto");
    EXPECT_EQ(report::expandText("a ] b [PAGE#]", scope), "a ] b 3");
    EXPECT_EQ(report::expandText("[", scope), "[");
}

TEST(ExprText, TheFirstFaultyPartRaisesAndTheTextKnowsItsExpressions)
{
    auto scope = cardScope();
    const report::ExprText text("[PAGE#] [Ignoto] [1 +]");
    ASSERT_EQ(text.expressions().size(), 3u);
    EXPECT_EQ(text.expressions()[1].source(), "Ignoto");
    try {
        text.expand(scope);
        FAIL() << "an unknown name printed";
    } catch (const report::ExprError &error) {
        EXPECT_EQ(error.message(), "Identificatore sconosciuto: Ignoto");
    }
}
