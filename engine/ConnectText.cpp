#include "engine/ConnectText.h"

namespace dao {

QString passwordInConnectText(const QString &text)
{
    int start = -1;
    if (text.startsWith(QLatin1String("PWD="), Qt::CaseInsensitive))
        start = 4;
    else if (const int at = text.indexOf(QLatin1String(";PWD="), 0, Qt::CaseInsensitive); at >= 0)
        start = at + 5;
    if (start < 0)
        return {};
    const int end = text.lastIndexOf(QLatin1Char(';'));
    return end >= start ? text.mid(start, end - start) : text.mid(start);
}

} // namespace dao
