#include "engine/Workspace.h"

#include "engine/Connection.h"
#include "engine/ConnectText.h"
#include "engine/Database.h"
#include "engine/Guard.h"

namespace dao {

namespace {
const QString kWorkspaceSource = QStringLiteral("DAO.Workspace");
}

Workspace::Workspace(QString name, QString user, int type, ErrorsPtr errors)
    : m_name(std::move(name)), m_user(std::move(user)), m_type(type), m_errors(std::move(errors)) {}

Workspace::~Workspace() = default;

std::shared_ptr<Database> Workspace::OpenDatabase(const QString &path, bool exclusive, bool readOnly,
                                                  const QString &connect)
{
    return guarded(*m_errors, kWorkspaceSource, [&] {
        auto db = std::make_shared<Database>(
            Connection::open({path, passwordInConnectText(connect), exclusive, readOnly, false}), m_errors);
        adopt(db);
        return db;
    });
}

std::shared_ptr<Database> Workspace::CreateDatabase(const QString &path, const QString &password)
{
    return guarded(*m_errors, kWorkspaceSource, [&] {
        auto connection = Connection::open({path, password, true, false, true});
        auto db = std::make_shared<Database>(connection, m_errors);
        adopt(db);
        return db;
    });
}

void Workspace::adopt(const std::shared_ptr<Database> &db)
{
    m_databases.push_back(db);
}

void Workspace::BeginTrans()
{
    guarded(*m_errors, kWorkspaceSource, [&] {
        for (auto &weak : m_databases)
            if (auto db = weak.lock(); db && !db->isClosed())
                db->connection()->beginUserTransaction();
    });
}

void Workspace::CommitTrans()
{
    guarded(*m_errors, kWorkspaceSource, [&] {
        for (auto &weak : m_databases)
            if (auto db = weak.lock(); db && !db->isClosed())
                db->connection()->commitUserTransaction();
    });
}

void Workspace::Rollback()
{
    guarded(*m_errors, kWorkspaceSource, [&] {
        for (auto &weak : m_databases)
            if (auto db = weak.lock(); db && !db->isClosed())
                db->connection()->rollbackUserTransaction();
    });
}

void Workspace::Close()
{
    for (auto &weak : m_databases)
        if (auto db = weak.lock())
            db->Close();
    m_databases.clear();
    m_closed = true;
}

} // namespace dao
