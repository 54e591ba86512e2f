#include "tools/cli/ArchiveLocation.h"

#include <QFileInfo>

namespace cli {

bool isServerLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString normalizedLocation(const QString &location)
{
    return isServerLocation(location) ? location : QFileInfo(location).absoluteFilePath();
}

} // namespace cli
