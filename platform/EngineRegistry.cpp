#include "platform/EngineRegistry.h"

#include <QHash>

#include <mutex>

namespace platform {

namespace {

// Class names and key names are case-insensitive in the registry, so the table keys are folded.
QString classKey(const QString &progId)
{
    return progId.toCaseFolded();
}

struct Registry {
    QHash<QString, bool> registered;
    QHash<QString, bool> creatable; // a registered class is creatable unless a test says otherwise
    QHash<QString, QString> systemDb;

    static Registry defaults()
    {
        Registry r;
        for (const char *progId : {"DAO.DBEngine.36", "DAO.PrivateDBEngine.36"})
            r.registered.insert(classKey(QString::fromLatin1(progId)), true);
        return r;
    }
};

std::mutex g_registryMutex;

Registry &registry()
{
    static Registry r = Registry::defaults();
    return r;
}

} // namespace

bool isEngineClassRegistered(const QString &progId)
{
    std::lock_guard lock(g_registryMutex);
    return registry().registered.value(classKey(progId), false);
}

bool canCreateEngine(const QString &progId)
{
    std::lock_guard lock(g_registryMutex);
    const Registry &r = registry();
    const QString key = classKey(progId);
    return r.registered.value(key, false) && r.creatable.value(key, true);
}

QString engineSystemDbDefault(const QString &jetVersion)
{
    std::lock_guard lock(g_registryMutex);
    return registry().systemDb.value(jetVersion);
}

void setEngineClassRegistered(const QString &progId, bool registered)
{
    std::lock_guard lock(g_registryMutex);
    registry().registered.insert(classKey(progId), registered);
}

void setEngineCreatable(const QString &progId, bool creatable)
{
    std::lock_guard lock(g_registryMutex);
    registry().creatable.insert(classKey(progId), creatable);
}

void setEngineSystemDbDefault(const QString &jetVersion, const QString &value)
{
    std::lock_guard lock(g_registryMutex);
    registry().systemDb.insert(jetVersion, value);
}

void resetEngineRegistry()
{
    std::lock_guard lock(g_registryMutex);
    registry() = Registry::defaults();
}

} // namespace platform
