#include "store/ServerArchive.h"

#include "engine/ArchiveLocation.h"

#include <optional>

namespace store {

bool isProtectedLink(const QString &location)
{
    // A file, or an address that never connects: nothing to warn about.
    const std::optional<dao::ServerAddress> address = dao::ArchiveLocation(location).serverAddress();
    return !address || address->isProtected();
}

QString shownLocation(const QString &location)
{
    const std::optional<dao::ServerAddress> address = dao::ArchiveLocation(location).serverAddress();
    return address ? address->displayText() : location;
}

QString serverRole(const QString &location)
{
    const std::optional<dao::ServerAddress> address = dao::ArchiveLocation(location).serverAddress();
    return address ? address->role : QString();
}

} // namespace store
