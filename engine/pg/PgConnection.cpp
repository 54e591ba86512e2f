#include "engine/pg/PgConnection.h"

#include "engine/Constants.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgDialect.h"
#include "engine/pg/PgHistory.h"
#include "engine/pg/PgSchema.h"
#include "engine/pg/ServerFunctions.h"


namespace dao::pg {

namespace {

const QString kServerSource = QStringLiteral("DAO.Workspace");

// The server's texts: the PostgreSQL translations, over the functions every archive on a
// server carries (ServerFunctions.h).
class ServerDialect final : public Dialect {
public:
    jet::SqlFragment condition(const QString &text, const jet::Columns &columns) const override
    {
        return pg::translateCondition(text, columns);
    }
    jet::SqlFragment recordCondition(const RecordCondition &condition, const jet::Columns &columns) const override
    {
        return pg::translateRecordCondition(condition, columns);
    }
    QString sort(const QString &text, const jet::Columns &columns) const override
    {
        return pg::translateSort(text, columns);
    }
    QString textEquals(const QString &quotedColumn) const override
    {
        return QStringLiteral("jet_key(%1) = jet_key(?::text)").arg(quotedColumn);
    }
    // Dates and numbers are double precision columns; a cast to bigint would round.
    QString storedNumber(const QString &quotedColumn) const override { return quotedColumn; }
    QString truncated(const QString &number) const override { return QStringLiteral("trunc(%1)::bigint").arg(number); }
    QString fence() const override { return QStringLiteral(" OFFSET 0"); }
};

// A statement run when it is first stepped; its rows are then read from the result.
class ServerQuery final : public Query {
public:
    ServerQuery(PgSession &session, QString sql) : m_session(session), m_sql(std::move(sql)) {}

    void bindAll(const std::vector<Value> &values) override { m_params = values; }
    bool step() override
    {
        if (!m_ran) {
            m_result = m_session.exec(m_sql, m_params, QStringLiteral("DAO.Recordset"));
            m_ran = true;
            m_row = -1;
        }
        return ++m_row < m_result.rowCount();
    }
    void reset() override
    {
        m_result = PgResult();
        m_ran = false;
        m_row = -1;
    }
    Value raw(int column) const override { return m_result.value(m_row, column); }
    qint64 int64(int column) const override { return raw(column).asInt(); }

private:
    PgSession &m_session;
    QString m_sql;
    std::vector<Value> m_params;
    PgResult m_result;
    bool m_ran = false;
    int m_row = -1;
};

[[noreturn]] void refuse(int number, const QString &text)
{
    throw EngineError(number, kServerSource, text);
}

} // namespace

PgConnection::PgConnection(Options options) : Connection(std::move(options)) {}

PgConnection::~PgConnection()
{
    close();
}

std::shared_ptr<PgConnection> PgConnection::open(const Options &options)
{
    const ServerAddress address = ServerAddress::parse(options.path);
    std::shared_ptr<PgConnection> c(new PgConnection(options));
    c->m_password = options.password;
    c->m_session.connect(address, options.password, kServerSource);
    if (options.create) {
        if (!isEmptyDatabase(c->m_session))
            refuse(errDatabaseExists, QStringLiteral("Il database '%1' sul server non è vuoto: l'archivio non viene creato.")
                                          .arg(address.displayText()));
        c->checkTextSettings(address);
        c->createArchive();
    } else if (!isArchive(c->m_session)) {
        refuse(errUnrecognizedFormat, QStringLiteral("Il database '%1' sul server non contiene un archivio del programma.")
                                          .arg(address.displayText()));
    }
    c->reloadSchema();
    return c;
}

// Texts must be stored as typed, accents included, and change case as the program changes
// them: a database in another encoding, or whose character classes know only ASCII, would
// lose letters or fold the case of Greek or Cyrillic names differently from the file.
void PgConnection::checkTextSettings(const ServerAddress &address)
{
    const PgResult settings = m_session.exec(QStringLiteral(
        "SELECT pg_encoding_to_char(encoding), datctype FROM pg_database WHERE datname = current_database()"));
    const QString encoding = settings.value(0, 0).asText();
    const QString ctype = settings.value(0, 1).asText();
    if (encoding != QLatin1String("UTF8") || ctype == QLatin1String("C") || ctype == QLatin1String("POSIX"))
        refuse(errUnrecognizedFormat,
               QStringLiteral("Il database '%1' sul server usa la codifica %2 con i caratteri \"%3\": l'archivio richiede "
                              "un database UTF8 con caratteri UTF-8 (per esempio CREATE DATABASE ... ENCODING 'UTF8' "
                              "LC_CTYPE 'C.UTF-8' TEMPLATE template0).")
                   .arg(address.displayText(), encoding, ctype));
}

// The marker and the functions the translated texts call land together or not at all.
void PgConnection::createArchive()
{
    m_session.begin(kServerSource);
    try {
        runAll(createArchiveStatements() + functionDefinitions(), kServerSource);
        m_session.commit(kServerSource);
    } catch (...) {
        m_session.rollback(kServerSource);
        throw;
    }
}

void PgConnection::runAll(const QStringList &statements, const QString &source)
{
    for (const QString &statement : statements)
        m_session.exec(statement, {}, source);
}

void PgConnection::close()
{
    forgetTransactions();
    m_session.close();
}

const Dialect &PgConnection::dialect() const
{
    static const ServerDialect dialect;
    return dialect;
}

std::unique_ptr<Query> PgConnection::doPrepare(const QString &sql)
{
    ensureOpen();
    return std::make_unique<ServerQuery>(m_session, sql);
}

qint64 PgConnection::doExecute(const QString &sql, const std::vector<Value> &params)
{
    ensureOpen();
    return m_session.exec(sql, params, QStringLiteral("DAO.Recordset")).rowsAffected();
}

qint64 PgConnection::doInsert(const QString &sql, const std::vector<Value> &params, const TableInfo &table)
{
    ensureOpen();
    return m_session.exec(sql + QLatin1String(" RETURNING ") + table.rowid, params, QStringLiteral("DAO.Recordset"))
        .value(0, 0)
        .asInt();
}

void PgConnection::doCreateTable(const TableSpec &definition)
{
    // A table with its comments lands whole; inside a workspace transaction it is part of it.
    WriteTransaction transaction(*this);
    runAll(createTableStatements(definition), QStringLiteral("DAO.Database"));
    transaction.commit();
}

void PgConnection::installTracking(const TableInfo &table, const QString &cardField)
{
    ensureOpen();
    m_session.begin(QStringLiteral("DAO.Database"));
    try {
        runAll(trackingStatements(table, cardField), QStringLiteral("DAO.Database"));
        m_session.commit(QStringLiteral("DAO.Database"));
    } catch (...) {
        m_session.rollback(QStringLiteral("DAO.Database"));
        throw;
    }
}

qint64 PgConnection::doKeyCounter(const TableInfo &table)
{
    ensureOpen();
    return pg::keyCounter(m_session, table.name);
}

void PgConnection::doSetKeyCounter(const TableInfo &table, qint64 value)
{
    ensureOpen();
    pg::setKeyCounter(m_session, table.name, value);
}

// The role's password changes in place; the session computes the verifier, so the clear
// password is in no statement text and no log of the server.
void PgConnection::changePassword(const QString &newPassword)
{
    ensureOpen();
    m_session.changePassword(newPassword);
    m_password = newPassword;
}

std::vector<std::shared_ptr<TableInfo>> PgConnection::loadTables()
{
    std::vector<std::shared_ptr<TableInfo>> tables;
    for (TableInfo &info : readTables(m_session)) {
        info.system = info.name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive);
        tables.push_back(std::make_shared<TableInfo>(std::move(info)));
    }
    return tables;
}

void PgConnection::transactionStep(Step step, const QString &savepoint, const QString &source)
{
    switch (step) {
    case Step::Begin:
    case Step::BeginWrite:
        m_session.begin(source);
        break;
    case Step::Commit:
        m_session.commit(source);
        break;
    case Step::Rollback:
        m_session.rollback(source);
        break;
    case Step::Savepoint:
        m_session.savepoint(savepoint, source);
        break;
    case Step::Release:
        m_session.releaseSavepoint(savepoint, source);
        break;
    case Step::RollbackTo:
        m_session.rollbackToSavepoint(savepoint, source);
        m_session.releaseSavepoint(savepoint, source);
        break;
    }
}

void PgConnection::transactionStepQuietly(Step step, const QString &savepoint)
{
    try {
        transactionStep(step, savepoint, QStringLiteral("DAO.Recordset"));
    } catch (const std::exception &) {
        // On the way out of a failure: the server undoes what a broken transaction did.
    }
}

} // namespace dao::pg
