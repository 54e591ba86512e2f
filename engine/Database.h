#pragma once
// An open archive: opens recordsets over its tables, lists its tables and stored queries,
// and changes its password.

#include "engine/Connection.h"
#include "engine/Errors.h"
#include "engine/TableSpec.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace dao {

class Connection;
class Recordset;

struct TableDefInfo {
    QString name;
    int attributes = 0;
};

struct QueryDefInfo {
    QString name;
    QString sql;
};

class Database {
public:
    Database(std::shared_ptr<Connection> connection, ErrorsPtr errors);
    ~Database();

    QString Name() const;
    // The archive format's version text.
    QString Version() const { return QStringLiteral("4.0"); }
    int QueryTimeout() const { return m_queryTimeout; }
    void setQueryTimeout(int seconds);
    int RecordsAffected() const { return m_recordsAffected; }

    // source: a table name as written, or a text "Select * From [T] Where ... ;".
    std::unique_ptr<Recordset> OpenRecordset(const QString &source, int type = 2, int options = 0,
                                             int lockType = 3);

    // TableDefs: the archive's tables, system objects included, in a stable order.
    QList<TableDefInfo> TableDefs() const;
    void refreshTableDefs();
    // QueryDefs: stored queries (name and text), kept by the engine inside the archive.
    QList<QueryDefInfo> QueryDefs() const;
    void refreshQueryDefs() {}
    void CreateQueryDef(const QString &name, const QString &sql);
    QString queryDefSql(const QString &name) const;
    void setQueryDefSql(const QString &name, const QString &sql);
    void refreshOther() {}   // Containers, Relations, Recordsets, Properties

    void CreateTable(const TableSpec &definition);
    // Removes a table with its rows (inside a workspace transaction, undone by its rollback).
    void DeleteTable(const QString &name);

    // The change history (ChangeHistory.h): from now on every change of `table` is recorded,
    // the card of each row read from `cardField`; the tables recorded so far.
    void TrackChanges(const QString &table, const QString &cardField);
    std::vector<TrackedTable> TrackedTables();

    // Whole-archive copies between storages keep every row's keys and every counter:
    // a row appended with all its values as given, the counter field's included (values in
    // the table's column order), and the last key a table's counter handed out.
    void AppendRowWithKeys(const QString &table, const std::vector<Value> &values);
    // An index on table's columns when it lacks one (see Connection::ensureIndex); quiet.
    void EnsureIndex(const QString &table, const QStringList &columns);
    qint64 KeyCounter(const QString &table);
    void SetKeyCounter(const QString &table, qint64 value);

    // Replaces the archive's password; the archive must be open exclusively and old must
    // be its current password. An empty new password leaves the archive unencrypted.
    void NewPassword(const QString &oldPassword, const QString &newPassword);
    // What the archive's storage allows (StorageCapabilities.h).
    StorageCapabilities capabilities() const { return m_connection->capabilities(); }

    // The storage library's own check of the file; true when sound.
    bool integrityCheck();
    // The problems the storage library finds in the file, at most `limit` of them (none when
    // it is sound); for an archive with a password also what says the file is not wholly
    // encrypted under it. Texts are the library's own, for whoever repairs the file.
    QStringList integrityProblems(int limit = 20);

    void Close();
    bool isClosed() const;
    const std::shared_ptr<Connection> &connection() const { return m_connection; }

private:
    [[noreturn]] void fail(const EngineError &error) const;
    QString nameEquals() const;
    std::shared_ptr<const TableInfo> userTable(const QString &name) const;

    std::shared_ptr<Connection> m_connection;
    ErrorsPtr m_errors;
    int m_queryTimeout = 60;
    int m_recordsAffected = 0;
};

// Keeps the reads made while it lives in one read transaction of the archive (see
// Connection::ReadTransaction); with no database, or a closed one, it does nothing.
class ReadScope {
public:
    explicit ReadScope(const Database *database);
    ~ReadScope();
    ReadScope(const ReadScope &) = delete;
    ReadScope &operator=(const ReadScope &) = delete;

private:
    std::shared_ptr<Connection> m_connection;   // outlives the transaction below
    std::unique_ptr<Connection::ReadTransaction> m_transaction;
};

} // namespace dao
