// Expressions as a layout writes them, evaluated through the parser and the operators.

#include "tests/report/ExprTestSupport.h"

using namespace exprtest;

TEST_P(ExpressionShows, WhatTheTableSays)
{
    EXPECT_EQ(outcomeOf(QString::fromUtf8(GetParam().expression)), QString::fromUtf8(GetParam().expected))
        << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(Operators, ExpressionShows, testing::Values(
    Shows{"1 + 2 * 3", "7"},
    Shows{"(1 + 2) * 3", "9"},
    Shows{"[1 + 2] * 3", "9"},
    Shows{"-2 * -3 - -1", "7"},
    Shows{"3,5 + 1.25", "4,75"},
    Shows{"10 / 4", "2,5"},
    Shows{"7 div 2 + 7 mod 2", "4"},
    Shows{"'Pagina ' + PAGE# + ' di ' + TOTALPAGES", "Pagina 3 di 12"},
    Shows{"\"Totale: \" + 1,5", "Totale: 1,5"},
    Shows{"'l''acqua'", "l'acqua"},
    Shows{"1 + 2 = 3 and not (2 > 3) or 1 / 0 = 1", "Sì"},    // or stops once the left side holds
    Shows{"'rossi' = 'ROSSI'", "Sì"},
    Shows{"'Àlba' < 'Bruno'", "Sì"},
    Shows{"2 <> 2 or 3 <= 2 or 2 >= 3", "No"},
    Shows{"IF(Anagrafica.\"Num. componenti\" > 3; 'numerosa'; 1 / 0)", "numerosa"},
    Shows{"IF(1 > 2, 1 / 0, 'solo il ramo preso')", "solo il ramo preso"}));

INSTANTIATE_TEST_SUITE_P(DatesAndNames, ExpressionShows, testing::Values(
    Shows{"DATE", "09/12/2026"},
    Shows{"TIME", "14:05:30"},
    Shows{"DATE + 30", "08/01/2027"},
    Shows{"Anagrafica.\"Scadenza ISEE\" - DATE", "53"},
    Shows{"Anagrafica.\"Scadenza ISEE\" > '31/12/2026'", "Sì"},
    Shows{"Anagrafica.\"Scadenza ISEE\" - 31", "31/12/2026"},
    Shows{"Anagrafica.\"Capofamiglia\"", "ROSSI MARIO"},
    Shows{"Anagrafica.Capofamiglia", "ROSSI MARIO"},
    Shows{"frm_main.Anagrafica.\"Capofamiglia\"", "ROSSI MARIO"},
    Shows{"Capofamiglia", "ROSSI MARIO"},
    Shows{"\"Capofamiglia\"", "ROSSI MARIO"},
    Shows{"\"non è un campo\"", "non è un campo"},
    Shows{"fascia", "variabile"},                     // a variable comes before a field
    Shows{"frm_main.Anagrafica", "frm_main.Anagrafica"},
    Shows{"Anagrafica.Caritas", "Sì"},
    Shows{"Anagrafica.Caritas + 1", "2"},
    Shows{"vero and not falso", "Sì"}));

TEST(ExpressionNulls, NullFieldsComputeAsZeroOrEmptyAndANullDatePrintsNothing)
{
    EXPECT_EQ(evalText("Anagrafica.Note + '|'"), "|");
    EXPECT_EQ(evalText("Anagrafica.Reddito"), "0");
    EXPECT_EQ(evalText("Anagrafica.Reddito + 5"), "5");
    EXPECT_EQ(evalText("Anagrafica.Inizio"), "");
    EXPECT_EQ(evalText("Anagrafica.Inizio + 1"), "1");
    EXPECT_EQ(evalText("Anagrafica.Inizio < DATE"), "Sì");
}

TEST(ExpressionNames, TheScopeIsAskedInTheEnginesOrderWithTheReferenceAsWritten)
{
    struct Recording : report::ExprMapScope {
        QStringList asked;
        std::optional<report::ExprValue> variable(const QString &name) override
        {
            asked << "variabile " + name;
            return ExprMapScope::variable(name);
        }
        std::optional<report::ExprValue> field(const report::ExprNameRef &ref) override
        {
            asked << "campo " + ref.text() + " " + QString::number(ref.parts.size());
            return ExprMapScope::field(ref);
        }
        bool namesDataSet(const report::ExprNameRef &ref) override
        {
            asked << "dataset " + ref.text();
            return ExprMapScope::namesDataSet(ref);
        }
        std::optional<report::ExprValue> systemVariable(const QString &name) override
        {
            asked << "sistema " + name;
            return ExprMapScope::systemVariable(name);
        }
    } scope;
    EXPECT_EQ(evalText("page#", scope), "1");
    EXPECT_EQ(scope.asked, QStringList({"variabile page#", "campo page# 1", "sistema PAGE#"}));
    scope.asked.clear();
    EXPECT_EQ(errorOf("Nucleo.\"Data.nascita\"", scope), "Identificatore sconosciuto: Nucleo.\"Data.nascita\"");
    EXPECT_EQ(scope.asked, QStringList({"variabile Nucleo.Data.nascita", "campo Nucleo.\"Data.nascita\" 2",
                                        "dataset Nucleo.\"Data.nascita\""}));
}

TEST(ExpressionNames, ANestedVariableThatNamesItselfEndsWithAnErrorNotACrash)
{
    struct SelfReferring : report::ExprMapScope {
        std::optional<report::ExprValue> variable(const QString &name) override
        {
            if (name.compare("Totale", Qt::CaseInsensitive) == 0)
                return report::evaluateExpression("Totale + 1", *this);
            return std::nullopt;
        }
    } scope;
    EXPECT_EQ(errorOf("Totale", scope), "Identificatore sconosciuto: Totale + 1");
}

TEST(ExpressionCondition, AFilterIsTrueForFlagsAndNonzeroNumbersAndRefusesATextResult)
{
    auto scope = cardScope();
    EXPECT_TRUE(report::Expression("Anagrafica.\"Num. componenti\" >= 4 and Fascia = 'variabile'").isTrue(scope));
    EXPECT_FALSE(report::Expression("Anagrafica.Reddito").isTrue(scope));
    EXPECT_TRUE(report::Expression("Anagrafica.Caritas").isTrue(scope));
    EXPECT_FALSE(report::Expression("").isTrue(scope));
    EXPECT_THROW(report::Expression("Capofamiglia").isTrue(scope), report::ExprError);
}

TEST(ExpressionNames, AFunctionOutsideTheListIsAskedOfTheEngineWithItsArguments)
{
    struct WithOwnFunction : report::ExprMapScope {
        std::optional<report::ExprValue> userFunction(const QString &name, const QList<report::ExprValue> &args) override
        {
            if (name.compare("DOPPIO", Qt::CaseInsensitive) != 0 || args.size() != 1)
                return std::nullopt;
            return report::ExprValue(args[0].number() * 2);
        }
    } scope;
    EXPECT_EQ(evalText("Doppio(20 + 1) + 1", scope), "43");
    EXPECT_EQ(errorOf("DOPPIO(1; 2)", scope), "Identificatore sconosciuto: DOPPIO");
}
