#pragma once
// One open archive, in a file or on a database server: the storage behind the database
// object and its recordsets, which find it closed (error 3420) once the database object is
// closed. Each storage gives the few primitives below (statements, the row id, table
// descriptions, transactions); recordsets, the database and the workspace are written once
// over them, so the program sees the same objects and errors whichever storage holds the
// archive.

#include "engine/ChangeHistory.h"
#include "engine/DetailPrefetch.h"
#include "engine/Dialect.h"
#include "engine/EngineError.h"
#include "engine/StorageCapabilities.h"
#include "engine/TableInfo.h"
#include "engine/TableSpec.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace dao {

class ArchiveLocation;

// A statement of the storage, its values marked "?" in the text: bound, stepped row by
// row, and reset to be bound again.
class Query {
public:
    virtual ~Query() = default;
    virtual void bindAll(const std::vector<Value> &values) = 0;
    virtual bool step() = 0;                  // true while a row is available
    virtual void reset() = 0;
    virtual Value raw(int column) const = 0;  // as stored: null, integer, real, text or bytes
    virtual qint64 int64(int column) const = 0;
};

class Connection {
public:
    struct Options {
        QString path;        // a file, or a server address (postgresql://...)
        QString password;
        bool exclusive = false;
        bool readOnly = false;
        bool create = false;
    };

    // Opens (or creates) the archive in the storage its path names; throws EngineError for
    // every refusal.
    static std::shared_ptr<Connection> open(const Options &options);
    // What the storage that holds the archive at `location` allows, asked before it is opened
    // too (compaction works on a closed archive).
    static StorageCapabilities capabilitiesAt(const ArchiveLocation &location);
    virtual ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &path() const { return m_options.path; }
    // The password the archive really has: empty for a plain archive, whatever was typed.
    const QString &password() const { return m_password; }
    bool exclusive() const { return m_options.exclusive; }
    bool readOnly() const { return m_options.readOnly; }
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Throws 3420 once closed.
    void ensureOpen() const;

    // How the Jet texts of the data layer are written for this storage.
    virtual const Dialect &dialect() const = 0;

    // Statements. Failures arrive as engine errors (or, from the file's library, as
    // StorageFailure, which the engine's guards translate). Rows waiting to be appended
    // (appendRow) go first.
    std::unique_ptr<Query> prepare(const QString &sql);
    // Runs a statement without results; returns the number of rows it changed.
    qint64 execute(const QString &sql, const std::vector<Value> &params = {});
    // Runs an INSERT into table; returns the new row's id.
    qint64 insert(const QString &sql, const std::vector<Value> &params, const TableInfo &table);
    // Ends a select of the one row an update is about to change, so that no other user
    // changes it between the check and the update.
    virtual QString rowLockClause() const { return {}; }

    // Appends a whole row (keys included, values already fit for their columns). Inside a
    // workspace transaction rows wait and go in groups, one INSERT of many rows (one round
    // trip to a server) with the next statement or step of the transaction; a failure then
    // fails that statement, and the transaction lands whole or not at all either way.
    void appendRow(const std::shared_ptr<const TableInfo> &table, std::vector<Value> values);

    std::shared_ptr<const TableInfo> table(const QString &name) const;
    QStringList tableNames() const;      // user tables, in storage order
    // The storage's own catalogue, listed among the tables as a system object as Jet lists
    // its own; empty where the archive's schema holds none of its own (a server).
    virtual QString catalogueName() const { return {}; }
    void reloadSchema();
    void createTable(const TableSpec &definition);

    // The last key a table's counter handed out, and setting it: whole-archive copies keep
    // the counters of the archive they copy.
    qint64 keyCounter(const TableInfo &table);
    void setKeyCounter(const TableInfo &table, qint64 value);

    // The steps of transactions. Savepoints carry a name; RollbackTo also releases it.
    enum class Step { Begin, BeginWrite, Commit, Rollback, Savepoint, Release, RollbackTo };

    // Write transactions: a statement group that lands whole or not at all. Inside a
    // workspace transaction, a read transaction or another write transaction they nest as
    // savepoints.
    class WriteTransaction {
    public:
        // source names the object that reports a failure of the transaction's own steps.
        explicit WriteTransaction(Connection &connection, const QString &source = QStringLiteral("DAO.Recordset"));
        ~WriteTransaction();
        WriteTransaction(const WriteTransaction &) = delete;
        WriteTransaction &operator=(const WriteTransaction &) = delete;
        void commit();
    private:
        Connection &m_connection;
        QString m_source;
        bool m_nested;
        bool m_done = false;
    };
    // Reads that belong together: one read lock for all of them instead of one per
    // statement where the storage takes one per statement (the file), so a filter pass over
    // many rows does not take and drop the file's lock at every row. Nests; never raises
    // (without it the reads run one by one as before). Writes inside nest as savepoints.
    class ReadTransaction {
    public:
        explicit ReadTransaction(Connection &connection);
        ~ReadTransaction();
        ReadTransaction(const ReadTransaction &) = delete;
        ReadTransaction &operator=(const ReadTransaction &) = delete;
    private:
        Connection &m_connection;
    };
    // Which reads may share what one statement fetched: a serial of the outermost read
    // transaction open now (0: none), and a serial bumped by every write through this
    // connection. Rows read in a block stay good while both are what they were.
    quint64 readScope() const { return m_readDepth > 0 ? m_readScope : 0; }
    quint64 writeSerial() const { return m_writeSerial; }
    void noteWrite() { ++m_writeSerial; }   // for writes made outside a write transaction
    DetailPrefetch &detailPrefetch() { return m_detailPrefetch; }

    // Gives table an index on columns when it has none of that name yet: tables read by the
    // value of a column (the rows of one master record) are then found without a scan. Tried
    // once per connection; a read-only archive, an open transaction or a refusal (a role
    // without the right) leave the table as it is.
    void ensureIndex(const TableInfo &table, const QStringList &columns);

    void beginUserTransaction();
    void commitUserTransaction();
    void rollbackUserTransaction();

    // What this storage allows: the password's change and absence, compaction.
    virtual StorageCapabilities capabilities() const = 0;
    // Gives the archive a new password (empty: none, where the storage allows it).
    virtual void changePassword(const QString &newPassword) = 0;
    // The storage's own check: true when sound; the problems it finds, at most limit.
    virtual bool integrityCheck() = 0;
    virtual QStringList integrityProblems(int limit) = 0;

    // Starts recording the changes of `table` in the history (ChangeHistory.h), making the
    // history and its registry where they are missing; `cardField` names the card of a row.
    void trackChanges(const QString &table, const QString &cardField);
    // The tables whose changes are recorded, from the archive's registry.
    std::vector<TrackedTable> trackedTables();

protected:
    explicit Connection(Options options);

    // The storage's own statements, behind the public ones above.
    virtual std::unique_ptr<Query> doPrepare(const QString &sql) = 0;
    virtual qint64 doExecute(const QString &sql, const std::vector<Value> &params) = 0;
    virtual qint64 doInsert(const QString &sql, const std::vector<Value> &params, const TableInfo &table) = 0;
    virtual void doCreateTable(const TableSpec &definition) = 0;
    virtual qint64 doKeyCounter(const TableInfo &table) = 0;
    virtual void doSetKeyCounter(const TableInfo &table, qint64 value) = 0;

    // The archive's tables in storage order, system tables flagged.
    virtual std::vector<std::shared_ptr<TableInfo>> loadTables() = 0;
    // Runs a step raising engine errors (source names the caller), or quietly where a
    // failure can only be ignored (rollbacks on the way out).
    virtual void transactionStep(Step step, const QString &savepoint, const QString &source) = 0;
    virtual void transactionStepQuietly(Step step, const QString &savepoint) = 0;
    // Makes the storage record the changes of one table (the history exists already).
    virtual void installTracking(const TableInfo &table, const QString &cardField) = 0;
    // Whether reads gain from being grouped in one transaction, and whether one is open.
    virtual bool groupsReads() const = 0;
    virtual bool inTransaction() const = 0;
    // Forgets the transaction state (the storage rolled back or the handle is gone).
    void forgetTransactions();
    // After a rollback: the schema read inside the transaction is read again.
    void rolledBack();
    int userTransactionDepth() const { return m_userTransactionDepth; }

    Options m_options;
    QString m_password;

private:
    QHash<QString, std::shared_ptr<const TableInfo>> m_tables;   // keyed by lower-case name
    QStringList m_tableOrder;
    int m_userTransactionDepth = 0;
    int m_writeDepth = 0;          // write transactions open now, the outermost first
    void sendAppends();
    void dropAppends();

    std::shared_ptr<const TableInfo> m_appendTable;   // the rows waiting are all of one table
    std::vector<std::vector<Value>> m_appendRows;
    QStringList m_indexesTried;
    DetailPrefetch m_detailPrefetch;
    int m_readDepth = 0;
    quint64 m_readScope = 0;
    quint64 m_writeSerial = 0;
    bool m_readOpen = false;       // the outermost read transaction began one in the storage
    bool m_schemaReadInTransaction = false;   // the tables known may include ones a rollback undoes
};

} // namespace dao
