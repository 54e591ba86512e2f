#include "output/report/expr/ExprFunctionImpl.h"

#include "output/report/expr/DateTimeFormat.h"
#include "output/report/expr/ExprConvert.h"
#include "output/report/expr/FloatFormat.h"

namespace report::fn {

ExprValue formatDateTime(const Args &args, const QString &name)
{
    const QDateTime at = ExprValue::dateTime(date(args, 1, name)).toDateTime();
    if (!at.isValid())
        invalid(name);
    return ExprValue(report::formatDateTime(text(args, 0), at));
}

ExprValue formatFloat(const Args &args, const QString &name)
{
    return ExprValue(report::formatFloat(text(args, 0), number(args, 1, name)));
}

ExprValue strToDate(const Args &args, const QString &name)
{
    return ExprValue::dateTime(date(args, 0, name));
}

ExprValue strToTime(const Args &args, const QString &name)
{
    if (!args.at(0).isText())
        return ExprValue::dateTime(number(args, 0, name));
    const auto time = parseItalianTime(args.at(0).rawText());
    if (!time)
        invalid(name);
    return ExprValue::dateTime(*time);
}

} // namespace report::fn
