#include "tools/cli/ArchiveLocation.h"

#include "engine/ServerAddress.h"

#include <QFileInfo>

namespace cli {

bool isServerLocation(const QString &location)
{
    return dao::isServerAddress(location);
}

QString normalizedLocation(const QString &location)
{
    return isServerLocation(location) ? location : QFileInfo(location).absoluteFilePath();
}

} // namespace cli
