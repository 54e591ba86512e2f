#include "output/report/expr/ExprFunctionImpl.h"

#include "output/report/expr/ExprConvert.h"

#include <cmath>
#include <numbers>

namespace report::fn {

ExprValue intPart(const Args &a, const QString &n) { return ExprValue(std::trunc(number(a, 0, n))); }
ExprValue fracPart(const Args &a, const QString &n)
{
    const double x = number(a, 0, n);
    return finite(x - std::trunc(x), n);
}
ExprValue trunc(const Args &a, const QString &n) { return ExprValue(std::trunc(number(a, 0, n))); }
ExprValue abs(const Args &a, const QString &n) { return ExprValue(std::fabs(number(a, 0, n))); }
ExprValue arcTan(const Args &a, const QString &n) { return ExprValue(std::atan(number(a, 0, n))); }
ExprValue cos(const Args &a, const QString &n) { return finite(std::cos(number(a, 0, n)), n); }
ExprValue sin(const Args &a, const QString &n) { return finite(std::sin(number(a, 0, n)), n); }
ExprValue exp(const Args &a, const QString &n) { return finite(std::exp(number(a, 0, n)), n); }
ExprValue pi(const Args &, const QString &) { return ExprValue(std::numbers::pi); }
ExprValue sqr(const Args &a, const QString &n)
{
    const double x = number(a, 0, n);
    return finite(x * x, n);
}
ExprValue ceil(const Args &a, const QString &n) { return ExprValue(std::ceil(number(a, 0, n))); }
ExprValue floor(const Args &a, const QString &n) { return ExprValue(std::floor(number(a, 0, n))); }

ExprValue ln(const Args &a, const QString &n)
{
    const double x = number(a, 0, n);
    if (!(x > 0))
        invalid(n);
    return finite(std::log(x), n);
}

ExprValue sqrt(const Args &a, const QString &n)
{
    const double x = number(a, 0, n);
    if (!(x >= 0))
        invalid(n);
    return ExprValue(std::sqrt(x));
}

ExprValue power(const Args &a, const QString &n)
{
    return finite(std::pow(number(a, 0, n), number(a, 1, n)), n);
}

// Half away from zero, as an office rounds amounts (2,5 gives 3), to whole units or decimals.
ExprValue round(const Args &a, const QString &n)
{
    const double x = number(a, 0, n);
    const int decimals = a.size() > 1 ? std::clamp(clampToInt(number(a, 1, n)), -15, 15) : 0;
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e17)
        return finite(x, n);
    // A nudge of a few ulps: 2,675 is stored as 2,67499999... and must still round up.
    return finite(std::round(scaled + std::copysign(std::fabs(scaled) * 1e-13, scaled)) / scale, n);
}

ExprValue val(const Args &a, const QString &n)
{
    if (!a.at(0).isText())
        return ExprValue(a.at(0).number());
    if (a.at(0).rawText().trimmed().isEmpty())
        return ExprValue(0.0);
    const auto read = parseItalianNumber(a.at(0).rawText());
    if (!read)
        invalid(n);
    return finite(*read, n);
}

} // namespace report::fn
