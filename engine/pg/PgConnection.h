#pragma once
// An archive on a PostgreSQL server: one database of the server, reached through one libpq
// session. The server keeps its own locks, logs and backups, so there is no lock file and
// no maintenance of a file; the archive password is the password of the office's role.

#include "engine/Connection.h"
#include "engine/pg/PgSession.h"

#include <memory>

namespace dao::pg {

class PgConnection final : public Connection {
public:
    // Connects to the archive at the address in options.path with options.password; with
    // options.create, makes the archive in an empty database. Throws EngineError.
    static std::shared_ptr<PgConnection> open(const Options &options);
    ~PgConnection() override;

    bool isOpen() const override { return m_session.isOpen(); }
    void close() override;
    const Dialect &dialect() const override;

    std::unique_ptr<Query> doPrepare(const QString &sql) override;
    qint64 doExecute(const QString &sql, const std::vector<Value> &params) override;
    qint64 doInsert(const QString &sql, const std::vector<Value> &params, const TableInfo &table) override;
    QString rowLockClause() const override { return QStringLiteral(" FOR UPDATE"); }
    void doCreateTable(const TableSpec &definition) override;
    qint64 doKeyCounter(const TableInfo &table) override;
    void doSetKeyCounter(const TableInfo &table, qint64 value) override;

    // The role's password changes in place and cannot be emptied; the server keeps its storage.
    static constexpr StorageCapabilities kCapabilities{
        .passwordChangeNeedsExclusive = false, .emptyPasswordAllowed = false, .compactionApplies = false};
    StorageCapabilities capabilities() const override { return kCapabilities; }
    void changePassword(const QString &newPassword) override;
    // The server checks its own storage; nothing for the program to find.
    bool integrityCheck() override { return true; }
    QStringList integrityProblems(int) override { return {}; }

    PgSession &session() { return m_session; }

protected:
    std::vector<std::shared_ptr<TableInfo>> loadTables() override;
    void transactionStep(Step step, const QString &savepoint, const QString &source) override;
    void transactionStepQuietly(Step step, const QString &savepoint) override;
    // Every statement of the server sees a consistent state of its own; a read transaction
    // would only add round trips.
    bool groupsReads() const override { return false; }
    bool inTransaction() const override { return m_session.inTransaction(); }
    void installTracking(const TableInfo &table, const QString &cardField) override;

private:
    explicit PgConnection(Options options);
    void checkTextSettings(const ServerAddress &address);
    void createArchive();
    void runAll(const QStringList &statements, const QString &source);

    PgSession m_session;
};

} // namespace dao::pg
