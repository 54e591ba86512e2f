#include "output/report/expr/ExprScope.h"

namespace report {

QString ExprNameRef::text() const
{
    QStringList shown = parts;
    if (lastQuoted && !shown.isEmpty())
        shown.last() = QLatin1Char('"') + shown.last() + QLatin1Char('"');
    return shown.join(QLatin1Char('.'));
}

} // namespace report
