#include "tools/cli/ArchiveLocation.h"

#include "engine/EngineError.h"
#include "engine/ServerAddress.h"
#include "tools/cli/CliError.h"

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

void checkServerLocations(const QStringList &args)
{
    for (const QString &arg : args) {
        if (!isServerLocation(arg))
            continue;
        try {
            dao::ServerAddress::parse(arg);
        } catch (const dao::EngineError &e) {
            throw CliError(ExitCode::Usage, e.description());
        }
    }
}

} // namespace cli
