#include "store/ServerArchive.h"

#include "engine/EngineError.h"
#include "engine/ServerAddress.h"

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

bool isProtectedLink(const QString &location)
{
    if (!isServerArchive(location))
        return true;
    try {
        return dao::ServerAddress::parse(location).isProtected();
    } catch (const dao::EngineError &) {
        return true;   // never connects: nothing to warn about
    }
}

QString shownLocation(const QString &location)
{
    if (!isServerArchive(location))
        return location;
    try {
        return dao::ServerAddress::parse(location).displayText();
    } catch (const dao::EngineError &) {
        return location;
    }
}

} // namespace store
