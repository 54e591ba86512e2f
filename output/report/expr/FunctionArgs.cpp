#include "output/report/expr/ExprFunctionImpl.h"

#include "output/report/expr/ExprConvert.h"

#include <cmath>

namespace report::fn {

double number(const Args &args, int i, const QString &name)
{
    if (args.at(i).isText())
        throw ExprError(ExprErrorKind::ParameterTypes, name);
    return args.at(i).number();
}

QString text(const Args &args, int i)
{
    return args.at(i).toText();
}

double date(const Args &args, int i, const QString &name)
{
    if (!args.at(i).isText())
        return args.at(i).number();
    const auto serial = parseItalianDate(args.at(i).rawText());
    if (!serial)
        invalid(name);
    return *serial;
}

ExprValue finite(double value, const QString &name)
{
    if (!std::isfinite(value))
        invalid(name);
    return ExprValue(value);
}

void invalid(const QString &name)
{
    throw ExprError(ExprErrorKind::InvalidParameter, name);
}

} // namespace report::fn
