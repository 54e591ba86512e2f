#pragma once
// A scope for the expression tests: one card of the household index with a few members'
// fields, two report variables and the system values of a run on 9 December 2026.

#include "output/report/expr/ExprMapScope.h"
#include "output/report/expr/Expression.h"

#include <gtest/gtest.h>

// Readable failures: gtest shows QStrings as their text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace exprtest {

inline report::ExprMapScope cardScope()
{
    using report::ExprValue;
    report::ExprMapScope scope;
    scope.setField(QStringLiteral("Capofamiglia"), ExprValue("ROSSI MARIO"));
    scope.setField(QStringLiteral("Anagrafica.Capofamiglia"), ExprValue("ROSSI MARIO"));
    scope.setField(QStringLiteral("frm_main.Anagrafica.Capofamiglia"), ExprValue("ROSSI MARIO"));
    scope.setField(QStringLiteral("Anagrafica.Num. componenti"), ExprValue(4));
    scope.setField(QStringLiteral("Anagrafica.Scadenza ISEE"), ExprValue::date(QDate(2027, 1, 31)));
    scope.setField(QStringLiteral("Anagrafica.Note"), ExprValue::nullOf(report::ExprFieldKind::Text));
    scope.setField(QStringLiteral("Anagrafica.Inizio"), ExprValue::nullOf(report::ExprFieldKind::DateTime));
    scope.setField(QStringLiteral("Anagrafica.Reddito"), ExprValue::nullOf(report::ExprFieldKind::Number));
    scope.setField(QStringLiteral("Anagrafica.Caritas"), ExprValue(true));
    scope.setField(QStringLiteral("Fascia"), ExprValue("B"));
    scope.addDataSet(QStringLiteral("frm_main.Anagrafica"));
    scope.setVariable(QStringLiteral("Ente"), ExprValue("Servizi sociali"));
    scope.setVariable(QStringLiteral("Fascia"), ExprValue("variabile"));   // shadows the field
    scope.system().page = 3;
    scope.system().totalPages = 12;
    scope.system().started = QDateTime(QDate(2026, 12, 9), QTime(14, 5, 30));
    return scope;
}

inline QString evalText(const QString &expression, report::ExprScope &scope)
{
    return report::evaluateExpression(expression, scope).toText();
}

inline QString evalText(const QString &expression)
{
    auto scope = cardScope();
    return evalText(expression, scope);
}

// The message of the error an expression raises, empty when it raises none.
inline QString errorOf(const QString &expression, report::ExprScope &scope)
{
    try {
        report::evaluateExpression(expression, scope);
    } catch (const report::ExprError &error) {
        return error.message();
    }
    return {};
}

inline QString errorOf(const QString &expression)
{
    auto scope = cardScope();
    return errorOf(expression, scope);
}

// What the user sees of an expression over the card: its printed value, or the error's text.
inline QString outcomeOf(const QString &expression)
{
    auto scope = cardScope();
    try {
        return evalText(expression, scope);
    } catch (const report::ExprError &error) {
        return error.message();
    }
}

// A table of expressions and what each shows; instantiated by the test files, one table each.
struct Shows {
    const char *expression;
    const char *expected;
};

class ExpressionShows : public testing::TestWithParam<Shows> {};

} // namespace exprtest
