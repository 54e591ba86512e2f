// Each of the seven error texts, with what follows it, reached through the real evaluator.

#include "output/report/expr/ExprStatistics.h"
#include "tests/report/ExprTestSupport.h"

using namespace exprtest;

struct ErrorCase {
    const char *expression;
    const char *message;
};

class ExpressionError : public testing::TestWithParam<ErrorCase> {};

TEST_P(ExpressionError, CarriesItsTextAndTheCulprit)
{
    EXPECT_EQ(errorOf(QString::fromUtf8(GetParam().expression)), QString::fromUtf8(GetParam().message))
        << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(SevenTexts, ExpressionError, testing::Values(
    ErrorCase{"(1 + 2", "Numero errato di parentesi nell'espressione : (1 + 2"},
    ErrorCase{"1 + 2)", "Numero errato di parentesi nell'espressione : 1 + 2)"},
    ErrorCase{"(1 + 2]", "Numero errato di parentesi nell'espressione : (1 + 2]"},
    ErrorCase{"Cognome", "Identificatore sconosciuto: Cognome"},
    ErrorCase{"Anagrafica.\"Cognome\"", "Identificatore sconosciuto: Anagrafica.\"Cognome\""},
    ErrorCase{"RADICE(4)", "Identificatore sconosciuto: RADICE"},
    ErrorCase{"Capofamiglia Fascia", "Identificatore sconosciuto: Fascia"},
    ErrorCase{"'a' - 1", "Tipo di dati incompatibili nell'espressione: 'a' - 1"},
    ErrorCase{"DATE + DATE", "Tipo di dati incompatibili nell'espressione: DATE + DATE"},
    ErrorCase{"5 / (2 - 2)", "Tipo di dati incompatibili nell'espressione: 5 / (2 - 2)"},
    ErrorCase{"not 'sì'", "Tipo di dati incompatibili nell'espressione: not 'sì'"},
    ErrorCase{"3 = 'tre'", "Tipo di dati incompatibili nell'espressione: 3 = 'tre'"},
    ErrorCase{"1 +", "Tipo di dati incompatibili nell'espressione: 1 +"},
    ErrorCase{"SQRT(-1)", "Formato parametri non valido nella funzione : SQRT"},
    ErrorCase{"STRTODATE('31/02/2026')", "Formato parametri non valido nella funzione : STRTODATE"},
    ErrorCase{"VAL('dodici')", "Formato parametri non valido nella funzione : VAL"},
    ErrorCase{"FILLSTR('-'; 1000000)", "Formato parametri non valido nella funzione : FILLSTR"},
    ErrorCase{"SUM(Anagrafica.Reddito)",
              "Non è possibile inserire in una banda non abilitata la funzione statistica : SUM"},
    ErrorCase{"COPY('abc'; 1)", "E' stato inserito un numero di parametri errato per la funzione : COPY"},
    ErrorCase{"PI(1)", "E' stato inserito un numero di parametri errato per la funzione : PI"},
    ErrorCase{"SQRT('nove')", "Tipi di parametri errati nella funzione: SQRT"},
    ErrorCase{"NUMBERTOLETTER(Capofamiglia)", "Tipi di parametri errati nella funzione: NUMBERTOLETTER"}));

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
