#include "engine/Connection.h"

#include "engine/ArchiveLocation.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgConnection.h"
#include "engine/sqlite/SqliteConnection.h"

#include <algorithm>

namespace dao {

namespace {
const QString kConnectionSource = QStringLiteral("DAO.Workspace");
const QString kWriteSavepoint = QStringLiteral("engine_write");

QString userSavepoint(int depth)
{
    return QStringLiteral("user_%1").arg(depth);
}
}

std::shared_ptr<Connection> Connection::open(const Options &options)
{
    if (ArchiveLocation(options.path).isServer())
        return pg::PgConnection::open(options);
    return sqlite::SqliteConnection::open(options);
}

StorageCapabilities Connection::capabilitiesAt(const ArchiveLocation &location)
{
    return location.isServer() ? pg::PgConnection::kCapabilities : sqlite::SqliteConnection::kCapabilities;
}

Connection::Connection(Options options) : m_options(std::move(options)) {}

Connection::~Connection() = default;

void Connection::ensureOpen() const
{
    if (!isOpen())
        throw EngineError(msg::archiveClosed, QStringLiteral("DAO.Database"));
}

void Connection::reloadSchema()
{
    ensureOpen();
    std::vector<std::shared_ptr<TableInfo>> tables = loadTables();
    // What a transaction shows of the schema goes with its rollback.
    m_schemaReadInTransaction = m_schemaReadInTransaction || inTransaction();
    m_tables.clear();
    m_tableOrder.clear();
    for (const std::shared_ptr<TableInfo> &info : tables) {
        m_tables.insert(info->name.toLower(), info);
        if (!info->system)
            m_tableOrder << info->name;
    }
}

void Connection::trackChanges(const QString &tableName, const QString &cardField)
{
    ensureOpen();
    const auto tracked = table(tableName);
    if (!tracked || tracked->system || tracked->indexOf(cardField) < 0)
        throw EngineError(errTableNotFound, QStringLiteral("DAO.Database"),
                          QStringLiteral("Impossibile registrare le modifiche di '%1': tabella o campo '%2' mancante.")
                              .arg(tableName, cardField));
    // The history, its registry and the recording land together, inside the caller's
    // transaction when one is open.
    WriteTransaction transaction(*this, QStringLiteral("DAO.Database"));
    for (const TableSpec &history : {historyTableSpec(), historyRegistrySpec()}) {
        if (!table(history.name)) {
            createTable(history);
            reloadSchema();
        }
    }
    installTracking(*tracked, cardField);
    bool listed = false;
    for (const TrackedTable &t : trackedTables())
        listed = listed || t.table.compare(tracked->name, Qt::CaseInsensitive) == 0;
    if (!listed)
        execute(QStringLiteral("INSERT INTO \"%1\" (\"Tabella\", \"Scheda\") VALUES (?, ?)").arg(QLatin1String(kHistoryRegistry)),
                {Value(tracked->name), Value(cardField)});
    transaction.commit();
}

std::vector<TrackedTable> Connection::trackedTables()
{
    ensureOpen();
    std::vector<TrackedTable> tracked;
    const auto registry = table(QLatin1String(kHistoryRegistry));
    if (!registry)
        return tracked;
    const auto st = prepare(QStringLiteral("SELECT \"Tabella\", \"Scheda\" FROM \"%1\" ORDER BY %2")
                                .arg(QLatin1String(kHistoryRegistry), registry->rowid));
    while (st->step())
        tracked.push_back({st->raw(0).asText(), st->raw(1).asText()});
    return tracked;
}

std::shared_ptr<const TableInfo> Connection::table(const QString &name) const
{
    return m_tables.value(name.toLower());
}

QStringList Connection::tableNames() const
{
    return m_tableOrder;
}

std::unique_ptr<Query> Connection::prepare(const QString &sql)
{
    sendAppends();
    return doPrepare(sql);
}

qint64 Connection::execute(const QString &sql, const std::vector<Value> &params)
{
    sendAppends();
    return doExecute(sql, params);
}

qint64 Connection::insert(const QString &sql, const std::vector<Value> &params, const TableInfo &table)
{
    sendAppends();
    return doInsert(sql, params, table);
}

void Connection::createTable(const TableSpec &definition)
{
    // A table lands whole (a server adds its comments in statements of their own); inside
    // a transaction it is part of it.
    WriteTransaction transaction(*this);
    doCreateTable(definition);
    transaction.commit();
}

qint64 Connection::keyCounter(const TableInfo &table)
{
    sendAppends();
    return doKeyCounter(table);
}

void Connection::setKeyCounter(const TableInfo &table, qint64 value)
{
    sendAppends();
    doSetKeyCounter(table, value);
}

void Connection::appendRow(const std::shared_ptr<const TableInfo> &table, std::vector<Value> values)
{
    ++m_writeSerial;
    if (m_userTransactionDepth == 0) {
        insert(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                   .arg(jet::quoteIdentifier(table->name), table->selectList(),
                        QStringList(qsizetype(values.size()), QStringLiteral("?")).join(QLatin1String(", "))),
               values, *table);
        return;
    }
    if (m_appendTable && m_appendTable != table)
        sendAppends();
    m_appendTable = table;
    m_appendRows.push_back(std::move(values));
    // A group stays within the file library's oldest limit on the values of one statement.
    if ((m_appendRows.size() + 1) * table->columns.size() > 999)
        sendAppends();
}

void Connection::sendAppends()
{
    if (m_appendRows.empty())
        return;
    const std::shared_ptr<const TableInfo> table = std::move(m_appendTable);
    std::vector<std::vector<Value>> rows = std::move(m_appendRows);
    dropAppends();
    const QString marks = QLatin1Char('(')
                          + QStringList(qsizetype(table->columns.size()), QStringLiteral("?")).join(QLatin1String(", "))
                          + QLatin1Char(')');
    std::vector<Value> params;
    params.reserve(rows.size() * table->columns.size());
    for (std::vector<Value> &row : rows)
        for (Value &value : row)
            params.push_back(std::move(value));
    doExecute(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                  .arg(jet::quoteIdentifier(table->name), table->selectList(),
                       QStringList(qsizetype(rows.size()), marks).join(QLatin1String(", "))),
              params);
}

void Connection::dropAppends()
{
    m_appendTable.reset();
    m_appendRows.clear();
}

void Connection::ensureIndex(const TableInfo &table, const QStringList &columns)
{
    QStringList quoted;
    for (const QString &column : columns) {
        const int index = table.indexOf(column);
        if (index < 0)
            return;
        quoted << jet::quoteIdentifier(table.columns[size_t(index)].name);
    }
    const QString name = QStringLiteral("ix_%1_%2").arg(table.name, columns.join(QLatin1Char('_'))).toLower();
    if (quoted.isEmpty() || m_indexesTried.contains(name) || readOnly() || !isOpen() || inTransaction())
        return;
    m_indexesTried << name;
    try {
        execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                    .arg(jet::quoteIdentifier(name), jet::quoteIdentifier(table.name), quoted.join(QLatin1String(", "))));
    } catch (const std::exception &) {
        // Only slower without it.
    }
}

void Connection::forgetTransactions()
{
    dropAppends();
    m_userTransactionDepth = 0;
    m_writeDepth = 0;
    m_readOpen = false;
    m_schemaReadInTransaction = false;
}

void Connection::rolledBack()
{
    if (!m_schemaReadInTransaction)
        return;
    m_schemaReadInTransaction = false;
    try {
        reloadSchema();
    } catch (const std::exception &) {
        // The next reload (any table created or opened anew) catches up.
    }
}

Connection::WriteTransaction::WriteTransaction(Connection &connection, const QString &source)
    : m_connection(connection), m_source(source),
      m_nested(connection.m_userTransactionDepth > 0 || connection.m_readOpen || connection.m_writeDepth > 0)
{
    connection.ensureOpen();
    connection.sendAppends();
    ++connection.m_writeSerial;
    connection.transactionStep(m_nested ? Step::Savepoint : Step::BeginWrite, kWriteSavepoint, m_source);
    ++connection.m_writeDepth;
}

Connection::WriteTransaction::~WriteTransaction()
{
    if (m_done)
        return;
    m_connection.m_writeDepth = std::max(0, m_connection.m_writeDepth - 1);   // a close forgets it first
    if (!m_connection.isOpen())
        return;
    m_connection.transactionStepQuietly(m_nested ? Step::RollbackTo : Step::Rollback, kWriteSavepoint);
    m_connection.rolledBack();
}

void Connection::WriteTransaction::commit()
{
    m_connection.ensureOpen();
    m_connection.transactionStep(m_nested ? Step::Release : Step::Commit, kWriteSavepoint, m_source);
    m_done = true;
    m_connection.m_writeDepth = std::max(0, m_connection.m_writeDepth - 1);
    if (!m_nested)
        m_connection.m_schemaReadInTransaction = false;
}

Connection::ReadTransaction::ReadTransaction(Connection &connection) : m_connection(connection)
{
    if (m_connection.m_readDepth == 0)
        ++m_connection.m_readScope;
    if (m_connection.m_readDepth++ > 0 || !m_connection.isOpen() || !m_connection.groupsReads()
        || m_connection.m_userTransactionDepth > 0 || m_connection.inTransaction())
        return;
    try {
        m_connection.transactionStep(Step::Begin, {}, QStringLiteral("DAO.Recordset"));
        m_connection.m_readOpen = true;
    } catch (const std::exception &) {
        // The reads then run one by one, each in its own transaction.
    }
}

Connection::ReadTransaction::~ReadTransaction()
{
    if (--m_connection.m_readDepth > 0 || !m_connection.m_readOpen)
        return;
    m_connection.m_readOpen = false;
    if (m_connection.isOpen() && m_connection.inTransaction())
        m_connection.transactionStepQuietly(Step::Commit, {});
}

void Connection::beginUserTransaction()
{
    ensureOpen();
    sendAppends();
    ++m_writeSerial;
    transactionStep(m_userTransactionDepth == 0 ? Step::BeginWrite : Step::Savepoint, userSavepoint(m_userTransactionDepth),
                    kConnectionSource);
    ++m_userTransactionDepth;
}

void Connection::commitUserTransaction()
{
    if (m_userTransactionDepth == 0)
        throw EngineError(msg::noTransaction, kConnectionSource, QStringLiteral("commit"));
    ensureOpen();
    // The depth follows the storage: a failure (of the rows waiting or of the commit
    // itself) leaves the transaction open, for the caller's rollback.
    sendAppends();
    const int outer = m_userTransactionDepth - 1;
    transactionStep(outer == 0 ? Step::Commit : Step::Release, userSavepoint(outer), kConnectionSource);
    m_userTransactionDepth = outer;
    if (outer == 0)
        m_schemaReadInTransaction = false;
}

void Connection::rollbackUserTransaction()
{
    if (m_userTransactionDepth == 0)
        throw EngineError(msg::noTransaction, kConnectionSource, QStringLiteral("rollback"));
    ensureOpen();
    dropAppends();
    const int outer = m_userTransactionDepth - 1;
    transactionStepQuietly(outer == 0 ? Step::Rollback : Step::RollbackTo, userSavepoint(outer));
    m_userTransactionDepth = outer;
    rolledBack();
}

} // namespace dao
