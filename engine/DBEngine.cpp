#include "engine/DBEngine.h"

#include "engine/ArchiveLocation.h"
#include "engine/ConnectText.h"
#include "engine/Guard.h"
#include "engine/ServerAddress.h"
#include "engine/Workspace.h"
#include "engine/sqlite/SqliteConnection.h"

namespace dao {

namespace {
const QString kEngineSource = QStringLiteral("DAO.DBEngine");
}

void refuseWithoutCompaction(const QString &path)
{
    if (!Connection::capabilitiesAt(ArchiveLocation(path)).compactionApplies)
        throw EngineError(errOperationNotSupported, kEngineSource,
                          QStringLiteral("Un archivio sul server non si compatta né si ripara dal programma: "
                                         "se ne occupa il server."));
}

DBEngine::DBEngine() : m_errors(std::make_shared<Errors>()) {}

DBEngine::~DBEngine() = default;

std::shared_ptr<Workspace> DBEngine::CreateWorkspace(const QString &name, const QString &user,
                                                     const QString &password, int type)
{
    return std::make_shared<Workspace>(name, user, type, m_errors);
}

void DBEngine::appendWorkspace(const std::shared_ptr<Workspace> &workspace)
{
    m_workspaces.push_back(workspace);
}

void DBEngine::Idle(int)
{
    // Nothing is cached between calls: statements are reset after each use.
}

void DBEngine::CompactDatabase(const QString &source, const QString &destination, const QString &,
                               int, const QString &password)
{
    guarded(*m_errors, kEngineSource, [&] {
        refuseWithoutCompaction(source);
        // Opening through the storage library rolls back a journal a crash left behind,
        // so the copy starts from the last committed state.
        auto connection = sqlite::SqliteConnection::open({source, passwordInConnectText(password), true, false, false});
        connection->exportTo(destination, connection->password());
        connection->close();
    });
}

void DBEngine::RepairDatabase(const QString &path)
{
    guarded(*m_errors, kEngineSource, [&] {
        refuseWithoutCompaction(path);
        auto connection = sqlite::SqliteConnection::open({path, QString(), true, false, false});
        if (!connection->integrityCheck())
            throw EngineError(errDatabaseCorrupt, kEngineSource, QStringLiteral("L'archivio '%1' è danneggiato.").arg(path));
    });
}

} // namespace dao
