#pragma once
// An archive file: the storage library's handle with the archive's key, its lock file, and
// the file's own maintenance (a compacted copy, a new password, the library's check).

#include "engine/Connection.h"
#include "engine/sqlite/Sqlite.h"

#include <memory>

struct sqlite3;

namespace platform { class LockFile; }

namespace dao::sqlite {

class SqliteConnection final : public Connection {
public:
    // Opens (or creates) the archive file; throws EngineError for every refusal.
    static std::shared_ptr<SqliteConnection> open(const Options &options);
    ~SqliteConnection() override;

    sqlite3 *db() const;                 // throws 3420 once closed
    bool isOpen() const override { return m_db != nullptr; }
    void close() override;
    const Dialect &dialect() const override;
    QString catalogueName() const override { return QStringLiteral("sqlite_master"); }

    std::unique_ptr<Query> doPrepare(const QString &sql) override;
    qint64 doExecute(const QString &sql, const std::vector<Value> &params) override;
    qint64 doInsert(const QString &sql, const std::vector<Value> &params, const TableInfo &table) override;
    void doCreateTable(const TableSpec &definition) override;
    qint64 doKeyCounter(const TableInfo &table) override;
    void doSetKeyCounter(const TableInfo &table, qint64 value) override;

    // A file is rewritten under a new password, may go without one, and is compacted here.
    static constexpr StorageCapabilities kCapabilities{
        .passwordChangeNeedsExclusive = true, .emptyPasswordAllowed = true, .compactionApplies = true};
    StorageCapabilities capabilities() const override { return kCapabilities; }
    // Rewrites the archive under a new password (empty: unencrypted) and reopens it.
    void changePassword(const QString &newPassword) override;
    bool integrityCheck() override;
    QStringList integrityProblems(int limit) override;
    // Writes a compacted copy of the archive to destination under password, synced and
    // checked against the archive (ArchiveCopy); a copy that does not check out is removed.
    void exportTo(const QString &destination, const QString &password);

    // Maps a storage failure to the engine error a caller sees.
    static EngineError translate(const StorageFailure &failure, const QString &source);

protected:
    std::vector<std::shared_ptr<TableInfo>> loadTables() override;
    void transactionStep(Step step, const QString &savepoint, const QString &source) override;
    void transactionStepQuietly(Step step, const QString &savepoint) override;
    bool groupsReads() const override { return true; }
    bool inTransaction() const override;
    void installTracking(const TableInfo &table, const QString &cardField) override;

private:
    explicit SqliteConnection(Options options);
    void openHandle(const QString &password);
    bool reopenWith(const QString &password);
    void configure();
    void checkSchemaObjects();
    void recordTrackedChanges();
    void closeHandle();
    QStringList encryptionProblems();

    sqlite3 *m_db = nullptr;
    std::unique_ptr<platform::LockFile> m_lock;
};

} // namespace dao::sqlite
