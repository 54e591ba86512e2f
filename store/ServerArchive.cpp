#include "store/ServerArchive.h"

#include "engine/EngineError.h"
#include "engine/ServerAddress.h"

#include <optional>

namespace store {

bool isServerArchive(const QString &location) { return dao::isServerAddress(location); }

QString serverAddressProblem(const QString &address)
{
    try {
        dao::ServerAddress::parse(address);
        return {};
    } catch (const dao::EngineError &error) {
        return error.description();
    }
}

namespace {
// The address a server location names; nothing for a file or an address that never connects.
std::optional<dao::ServerAddress> parsedServerAddress(const QString &location)
{
    if (!isServerArchive(location))
        return std::nullopt;
    try {
        return dao::ServerAddress::parse(location);
    } catch (const dao::EngineError &) {
        return std::nullopt;
    }
}
} // namespace

bool isProtectedLink(const QString &location)
{
    // A file, or an address that never connects: nothing to warn about.
    const std::optional<dao::ServerAddress> address = parsedServerAddress(location);
    return !address || address->isProtected();
}

QString shownLocation(const QString &location)
{
    const std::optional<dao::ServerAddress> address = parsedServerAddress(location);
    return address ? address->displayText() : location;
}

QString serverRole(const QString &location)
{
    const std::optional<dao::ServerAddress> address = parsedServerAddress(location);
    return address ? address->role : QString();
}

} // namespace store
