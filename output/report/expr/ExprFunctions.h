#pragma once
// The functions an expression may call, with what the designer's expression builder shows
// of each: category, signature and a one-line description in Italian.

#include "output/report/expr/ExprValue.h"

#include <QList>

namespace report {

enum class ExprFunctionCategory { Statistics, Conversion, Text, Mathematics, Logic, Currency };

// "Statistiche", "Conversione", "Testo", "Matematica", "Logica", "Valuta".
QString exprCategoryName(ExprFunctionCategory category);

struct ExprFunctionInfo {
    QString name;                   // upper case: "FORMATFLOAT"
    ExprFunctionCategory category;
    QString signature;              // "FORMATFLOAT(<Formato>; <Numero>)"
    QString description;            // one line, Italian
    int minArgs;
    int maxArgs;
    // Evaluated arguments in, value out; null for IF and the statistics, which the
    // evaluator handles itself.
    ExprValue (*call)(const QList<ExprValue> &args, const QString &name) = nullptr;
};

// Grouped by category, alphabetical inside each.
const QList<ExprFunctionInfo> &exprFunctions();

// How arguments and decimals are written, with examples, as the expression builder shows it.
QString exprArgumentRule();
// By name without regard to case; null when there is none.
const ExprFunctionInfo *findExprFunction(const QString &name);
bool isStatisticFunction(const QString &upperName);

} // namespace report
