#include "output/report/expr/ExprSystemValues.h"

namespace report {

const QList<ExprSystemVariable> &exprSystemVariables()
{
    static const QList<ExprSystemVariable> list = {
        {QStringLiteral("PAGE#"), QStringLiteral("N° pagina")},
        {QStringLiteral("DATE"), QStringLiteral("Data")},
        {QStringLiteral("TIME"), QStringLiteral("Ora")},
        {QStringLiteral("LINE#"), QStringLiteral("N° linea")},
        {QStringLiteral("LINETHROUGH#"), QStringLiteral("N° linea continuo")},
        {QStringLiteral("COLUMN#"), QStringLiteral("N° colonna")},
        {QStringLiteral("CURRENT#"), QStringLiteral("N° linea corrente")},
        {QStringLiteral("TOTALPAGES"), QStringLiteral("Totale Pagine")},
    };
    return list;
}

std::optional<ExprValue> ExprSystemValues::lookup(const QString &upperName) const
{
    if (upperName == QLatin1String("PAGE#"))
        return ExprValue(page);
    if (upperName == QLatin1String("DATE"))
        return ExprValue::date(started.date());
    if (upperName == QLatin1String("TIME"))
        return ExprValue::time(started.time());
    if (upperName == QLatin1String("LINE#"))
        return ExprValue(line);
    if (upperName == QLatin1String("LINETHROUGH#"))
        return ExprValue(lineThrough);
    if (upperName == QLatin1String("COLUMN#"))
        return ExprValue(column);
    if (upperName == QLatin1String("CURRENT#"))
        return ExprValue(current);
    if (upperName == QLatin1String("TOTALPAGES"))
        return ExprValue(totalPages);
    return std::nullopt;
}

} // namespace report
