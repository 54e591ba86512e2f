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

// Dates and times print as QDateTime writes "dd/MM/yyyy", "HH:mm:ss" and both, at the edges of
// the years, days and seconds a serial holds.
TEST(ExprText, DatesAndTimesPrintAsTheirPictures)
{
    const std::vector<std::pair<QDate, QTime>> moments{
        {QDate(2026, 12, 9), QTime(0, 0)},      {QDate(2024, 2, 29), QTime(23, 59, 59)},
        {QDate(1, 1, 1), QTime(0, 0)},          {QDate(99, 7, 4), QTime(7, 5, 3)},
        {QDate(999, 10, 31), QTime(12, 0)},     {QDate(9999, 12, 31), QTime(23, 59, 59)},
        {QDate(1899, 12, 30), QTime(8, 30)},    {QDate(1899, 12, 30), QTime(0, 0, 1)},
        {QDate(1900, 1, 1), QTime(0, 0, 0, 600)}};
    for (const auto &[day, time] : moments) {
        const QDateTime at(day, time, Qt::UTC);
        const report::ExprValue value = report::ExprValue::dateTime(at);
        // As the value holds it, to the second.
        const QDateTime held = value.toDateTime();
        const bool hasDay = held.date() != QDate(1899, 12, 30);
        const bool hasTime = held.time() != QTime(0, 0);
        const QString picture = hasDay && hasTime ? QStringLiteral("dd/MM/yyyy HH:mm:ss")
            : hasTime                             ? QStringLiteral("HH:mm:ss")
                                                  : QStringLiteral("dd/MM/yyyy");
        EXPECT_EQ(value.toText(), held.toString(picture)) << at.toString(Qt::ISODate).toStdString();
    }
}
