// Each of the seven error texts, with what follows it, reached through the real evaluator.

#include "output/report/expr/ExprStatistics.h"
#include "tests/report/ExprTestSupport.h"

using namespace exprtest;

INSTANTIATE_TEST_SUITE_P(SevenTexts, ExpressionShows, testing::Values(
    Shows{"(1 + 2", "Numero errato di parentesi nell'espressione : (1 + 2"},
    Shows{"1 + 2)", "Numero errato di parentesi nell'espressione : 1 + 2)"},
    Shows{"(1 + 2]", "Numero errato di parentesi nell'espressione : (1 + 2]"},
    Shows{"Cognome", "Identificatore sconosciuto: Cognome"},
    Shows{"Anagrafica.\"Cognome\"", "Identificatore sconosciuto: Anagrafica.\"Cognome\""},
    Shows{"RADICE(4)", "Identificatore sconosciuto: RADICE"},
    Shows{"Capofamiglia Fascia", "Identificatore sconosciuto: Fascia"},
    Shows{"'a' - 1", "Tipo di dati incompatibili nell'espressione: 'a' - 1"},
    Shows{"DATE + DATE", "Tipo di dati incompatibili nell'espressione: DATE + DATE"},
    Shows{"5 / (2 - 2)", "Tipo di dati incompatibili nell'espressione: 5 / (2 - 2)"},
    Shows{"not 'sì'", "Tipo di dati incompatibili nell'espressione: not 'sì'"},
    Shows{"3 = 'tre'", "Tipo di dati incompatibili nell'espressione: 3 = 'tre'"},
    Shows{"1 +", "Tipo di dati incompatibili nell'espressione: 1 +"},
    Shows{"SQRT(-1)", "Formato parametri non valido nella funzione : SQRT"},
    Shows{"STRTODATE('31/02/2026')", "Formato parametri non valido nella funzione : STRTODATE"},
    Shows{"VAL('dodici')", "Formato parametri non valido nella funzione : VAL"},
    Shows{"FILLSTR('-'; 1000000)", "Formato parametri non valido nella funzione : FILLSTR"},
    Shows{"SUM(Anagrafica.Reddito)",
              "Non è possibile inserire in una banda non abilitata la funzione statistica : SUM"},
    Shows{"COPY('abc'; 1)", "E' stato inserito un numero di parametri errato per la funzione : COPY"},
    Shows{"PI(1)", "E' stato inserito un numero di parametri errato per la funzione : PI"},
    // A comma between two digits is a decimal comma: 3,2 is one number, and ROUND takes two.
    Shows{"ROUND(3,2)", "E' stato inserito un numero di parametri errato per la funzione : ROUND"},
    Shows{"COPY('abc',2)", "E' stato inserito un numero di parametri errato per la funzione : COPY"},
    Shows{"SQRT('nove')", "Tipi di parametri errati nella funzione: SQRT"},
    Shows{"NUMBERTOLETTER(Capofamiglia)", "Tipi di parametri errati nella funzione: NUMBERTOLETTER"}));

TEST(ExpressionError, HostileNestingIsAnErrorNotAStackOverflow)
{
    const QString deep = QString(5000, QLatin1Char('(')) + "1" + QString(5000, QLatin1Char(')'));
    EXPECT_TRUE(errorOf(deep).startsWith("Numero errato di parentesi"));
    QString chain = "1";
    for (int i = 0; i < 50000; ++i)
        chain += "+1";
    EXPECT_FALSE(errorOf(chain).isEmpty());
    EXPECT_FALSE(errorOf(QString(20000, QLatin1Char('-')) + "1").isEmpty());
}

TEST(ExpressionError, ASyntaxErrorWaitsForEvaluationSoTheLayoutStillLoads)
{
    const report::Expression broken("(1 + ");
    EXPECT_FALSE(broken.isValid());
    auto scope = cardScope();
    EXPECT_THROW(broken.evaluate(scope), report::ExprError);
    EXPECT_EQ(report::Expression("  ").evaluate(scope).toText(), "");
}
