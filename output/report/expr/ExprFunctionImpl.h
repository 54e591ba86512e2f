#pragma once
// The bodies of the expression functions, one file per category, and the argument checks
// they share. Each takes the evaluated arguments (their count already checked) and the
// function's name for its error texts.

#include "output/report/expr/ExprError.h"
#include "output/report/expr/ExprValue.h"

#include <QList>

namespace report::fn {

using Args = QList<ExprValue>;

// A number, flag, date or empty argument as a number; a text is a wrong parameter type.
double number(const Args &args, int i, const QString &name);
// Any argument as text.
QString text(const Args &args, int i);
// A date argument, or a text read as dd/mm/yyyy; the serial day number.
double date(const Args &args, int i, const QString &name);
// A finite result as a number value; anything else is an invalid parameter.
ExprValue finite(double value, const QString &name);
[[noreturn]] void invalid(const QString &name);

ExprValue upperCase(const Args &, const QString &);
ExprValue lowerCase(const Args &, const QString &);
ExprValue nameCase(const Args &, const QString &);
ExprValue phraseCase(const Args &, const QString &);
ExprValue numberToLetter(const Args &, const QString &);
ExprValue str(const Args &, const QString &);
ExprValue copy(const Args &, const QString &);
ExprValue pos(const Args &, const QString &);
ExprValue length(const Args &, const QString &);
ExprValue fillStr(const Args &, const QString &);

ExprValue intPart(const Args &, const QString &);
ExprValue fracPart(const Args &, const QString &);
ExprValue round(const Args &, const QString &);
ExprValue trunc(const Args &, const QString &);
ExprValue abs(const Args &, const QString &);
ExprValue arcTan(const Args &, const QString &);
ExprValue cos(const Args &, const QString &);
ExprValue exp(const Args &, const QString &);
ExprValue ln(const Args &, const QString &);
ExprValue pi(const Args &, const QString &);
ExprValue sin(const Args &, const QString &);
ExprValue sqr(const Args &, const QString &);
ExprValue sqrt(const Args &, const QString &);
ExprValue power(const Args &, const QString &);
ExprValue ceil(const Args &, const QString &);
ExprValue floor(const Args &, const QString &);
ExprValue val(const Args &, const QString &);

ExprValue formatDateTime(const Args &, const QString &);
ExprValue formatFloat(const Args &, const QString &);
ExprValue strToDate(const Args &, const QString &);
ExprValue strToTime(const Args &, const QString &);

ExprValue money(const Args &, const QString &);
ExprValue euro(const Args &, const QString &);
ExprValue moneyToEuro(const Args &, const QString &);
ExprValue euroToMoney(const Args &, const QString &);
ExprValue moneyToEuroVal(const Args &, const QString &);
ExprValue euroToMoneyVal(const Args &, const QString &);

} // namespace report::fn
