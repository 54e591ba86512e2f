#include "output/report/expr/ExprFunctionImpl.h"

#include "output/report/expr/FloatFormat.h"

#include <cmath>

namespace report::fn {

namespace {

// The fixed rate of the lira to the euro.
constexpr double kLirePerEuro = 1936.27;

QString liraText(double lire) { return QStringLiteral("L. ") + report::formatFloat(QStringLiteral("#,##0"), lire); }
QString euroText(double euro) { return QStringLiteral("€ ") + report::formatFloat(QStringLiteral("#,##0.00"), euro); }

double toEuro(const Args &args, const QString &name)
{
    const double euro = number(args, 0, name) / kLirePerEuro;
    return finite(std::round(euro * 100.0) / 100.0, name).number();
}

double toLire(const Args &args, const QString &name)
{
    return finite(std::round(number(args, 0, name) * kLirePerEuro), name).number();
}

} // namespace

ExprValue money(const Args &args, const QString &name) { return ExprValue(liraText(number(args, 0, name))); }
ExprValue euro(const Args &args, const QString &name) { return ExprValue(euroText(number(args, 0, name))); }
ExprValue moneyToEuro(const Args &args, const QString &name) { return ExprValue(euroText(toEuro(args, name))); }
ExprValue euroToMoney(const Args &args, const QString &name) { return ExprValue(liraText(toLire(args, name))); }
ExprValue moneyToEuroVal(const Args &args, const QString &name) { return ExprValue(toEuro(args, name)); }
ExprValue euroToMoneyVal(const Args &args, const QString &name) { return ExprValue(toLire(args, name)); }

} // namespace report::fn
