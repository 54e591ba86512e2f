#pragma once
// One open archive file: the storage handle with the archive's key, its lock file, and
// the table descriptions. Shared by the database object and its recordsets, which find it
// closed (error 3420) once the database object is closed.

#include "engine/EngineError.h"
#include "engine/Sqlite.h"
#include "engine/TableInfo.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

namespace platform { class LockFile; }

namespace dao {

class Connection {
public:
    struct Options {
        QString path;
        QString password;
        bool exclusive = false;
        bool readOnly = false;
        bool create = false;
    };

    // Opens (or creates) the archive; throws EngineError for every refusal.
    static std::shared_ptr<Connection> open(const Options &options);
    ~Connection();

    sqlite3 *db() const;                 // throws 3420 once closed
    bool isOpen() const { return m_db != nullptr; }
    void close();
    const QString &path() const { return m_options.path; }
    // The password the archive really has: empty for a plain archive, whatever was typed.
    const QString &password() const { return m_password; }
    bool exclusive() const { return m_options.exclusive; }
    bool readOnly() const { return m_options.readOnly; }

    std::shared_ptr<const TableInfo> table(const QString &name) const;
    QStringList tableNames() const;      // user tables, in storage order
    void reloadSchema();

    // Write transactions: a statement group that lands whole or not at all. Inside a
    // workspace transaction they nest as savepoints.
    class WriteTransaction {
    public:
        explicit WriteTransaction(Connection &connection);
        ~WriteTransaction();
        void commit();
    private:
        Connection &m_connection;
        bool m_nested;
        bool m_done = false;
    };
    // Reads that belong together: one read lock for all of them instead of one per
    // statement, so a filter pass over many rows does not take and drop the file's lock,
    // look for a journal and check the file header again at every row. Nests; never
    // raises (without it the reads run one by one as before). Writes inside nest as
    // savepoints.
    class ReadTransaction {
    public:
        explicit ReadTransaction(Connection &connection);
        ~ReadTransaction();
        ReadTransaction(const ReadTransaction &) = delete;
        ReadTransaction &operator=(const ReadTransaction &) = delete;
    private:
        Connection &m_connection;
    };
    void beginUserTransaction();
    void commitUserTransaction();
    void rollbackUserTransaction();

    // Rewrites the archive under a new password (empty: unencrypted) and reopens it.
    void changePassword(const QString &newPassword);
    // Writes a compacted copy of the archive to destination under password.
    void exportTo(const QString &destination, const QString &password);

    // Maps a storage failure to the engine error a caller sees.
    static EngineError translate(const StorageFailure &failure, const QString &source);

private:
    explicit Connection(Options options);
    void openHandle(const QString &password);
    bool reopenWith(const QString &password);
    void configure();
    void checkSchemaObjects();
    void closeHandle();

    Options m_options;
    QString m_password;
    sqlite3 *m_db = nullptr;
    std::unique_ptr<platform::LockFile> m_lock;
    QHash<QString, std::shared_ptr<const TableInfo>> m_tables;   // keyed by lower-case name
    QStringList m_tableOrder;
    int m_userTransactionDepth = 0;
    int m_readDepth = 0;
    bool m_readOpen = false;       // the outermost read transaction began one in the library
};

} // namespace dao
