#pragma once
// Stand-in for the registry look-ups that find the database engine: which engine classes
// are registered, whether an instance can be created, and the engine's default workgroup
// file. The built-in engine registers "DAO.DBEngine.36" and "DAO.PrivateDBEngine.36" only,
// so the connection finds engine version 3.6. Tests may change the picture.

#include <QString>

namespace platform {

bool isEngineClassRegistered(const QString &progId);
bool canCreateEngine(const QString &progId);
// Value "SystemDB" of "SOFTWARE\Microsoft\JET\<jetVersion>\Engines"; empty when missing.
QString engineSystemDbDefault(const QString &jetVersion);

// Test seams.
void setEngineClassRegistered(const QString &progId, bool registered);
void setEngineCreatable(const QString &progId, bool creatable);
void setEngineSystemDbDefault(const QString &jetVersion, const QString &value);
void resetEngineRegistry();

} // namespace platform
