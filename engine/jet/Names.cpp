#include "engine/jet/Names.h"

#include "engine/jet/JetError.h"

#include <algorithm>

namespace dao::jet {

const QString &resolveColumn(const QString &name, const Columns &columns)
{
    const auto it = std::find_if(columns.begin(), columns.end(), [&name](const Column &column) {
        return column.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == columns.end())
        throwUnknownField(name);
    return it->name;
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace dao::jet
