#include "engine/Database.h"

#include "engine/Connection.h"
#include "engine/Constants.h"
#include "engine/Guard.h"
#include "engine/Recordset.h"
#include "engine/jet/JetDialect.h"
#include "engine/jet/Names.h"


namespace dao {

namespace {
const QString kDatabaseSource = QStringLiteral("DAO.Database");
const QString kQueryTable = QStringLiteral("MSysQueries");

// Quoted as created: a server folds unquoted names to lower case and would not find them.
QString quotedQueryTable()
{
    return jet::quoteIdentifier(kQueryTable);
}
QString quotedName()
{
    return jet::quoteIdentifier(QStringLiteral("Name"));
}
QString quotedSql()
{
    return jet::quoteIdentifier(QStringLiteral("SQL"));
}
}

Database::Database(std::shared_ptr<Connection> connection, ErrorsPtr errors)
    : m_connection(std::move(connection)), m_errors(std::move(errors)) {}

Database::~Database() = default;

QString Database::Name() const
{
    return m_connection->path();
}

void Database::setQueryTimeout(int seconds)
{
    m_queryTimeout = seconds;
}

void Database::fail(const EngineError &error) const
{
    m_errors->record(error);
    throw error;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &source, int type, int options, int)
{
    return guarded(*m_errors, kDatabaseSource, [&] {
        m_connection->ensureOpen();
        const QString text = source.trimmed();
        Recordset::Criteria criteria;
        QString tableName = text;
        if (text.startsWith(QLatin1String("select"), Qt::CaseInsensitive)
            && (text.size() == 6 || !text.at(6).isLetterOrNumber())) {
            const jet::SelectText select = jet::parseSelect(text);
            tableName = select.table;
            criteria.condition = select.condition;
            criteria.sort = select.sort;
        }
        auto table = m_connection->table(tableName);
        if (!table || table->system)
            throw EngineError(msg::tableNotFound, kDatabaseSource, tableName);
        auto recordset = std::make_unique<Recordset>(m_connection, m_errors, table, criteria, type, options);
        m_recordsAffected = 0;
        return recordset;
    });
}

QList<TableDefInfo> Database::TableDefs() const
{
    QList<TableDefInfo> defs;
    for (const QString &name : m_connection->tableNames())
        defs.append({name, 0});
    // The file's own catalogue counts as a table of the archive, flagged as a system object.
    if (const QString catalogue = m_connection->catalogueName(); !catalogue.isEmpty())
        defs.append({catalogue, dbSystemObject});
    if (m_connection->table(kQueryTable))
        defs.append({kQueryTable, dbSystemObject});
    return defs;
}

void Database::refreshTableDefs()
{
    guarded(*m_errors, kDatabaseSource, [&] { m_connection->reloadSchema(); });
}

QList<QueryDefInfo> Database::QueryDefs() const
{
    QList<QueryDefInfo> defs;
    const auto table = m_connection->table(kQueryTable);
    if (!table)
        return defs;
    guarded(*m_errors, kDatabaseSource, [&] {
        const auto st = m_connection->prepare(QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %4")
                                                  .arg(quotedName(), quotedSql(), quotedQueryTable(), table->rowid));
        while (st->step())
            defs.append({st->raw(0).asText(), st->raw(1).asText()});
    });
    return defs;
}

void Database::CreateQueryDef(const QString &name, const QString &sql)
{
    guarded(*m_errors, kDatabaseSource, [&] {
        if (name.trimmed().isEmpty())
            throw EngineError(msg::invalidName, kDatabaseSource, name);
        if (!m_connection->table(kQueryTable)) {
            FieldSpec nameField{QStringLiteral("Name"), dbText, 64};
            nameField.required = true;
            m_connection->createTable({kQueryTable, {nameField, {QStringLiteral("SQL"), dbMemo}}});
            m_connection->reloadSchema();
        }
        const auto exists = m_connection->prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2").arg(quotedQueryTable(), nameEquals()));
        exists->bindAll({Value(name)});
        if (exists->step())
            throw EngineError(msg::objectExists, kDatabaseSource, name);
        exists->reset();
        m_connection->noteWrite();
        m_connection->execute(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(quotedQueryTable(), quotedName(), quotedSql()),
                              {Value(name), Value(sql)});
    });
}

QString Database::queryDefSql(const QString &name) const
{
    return guarded(*m_errors, kDatabaseSource, [&] {
        if (m_connection->table(kQueryTable)) {
            const auto st = m_connection->prepare(
                QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(quotedSql(), quotedQueryTable(), nameEquals()));
            st->bindAll({Value(name)});
            if (st->step())
                return st->raw(0).asText();
        }
        throw EngineError(msg::namedItemNotFound, kDatabaseSource, name);
    });
}

void Database::setQueryDefSql(const QString &name, const QString &sql)
{
    queryDefSql(name);
    guarded(*m_errors, kDatabaseSource, [&] {
        m_connection->noteWrite();
        m_connection->execute(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3").arg(quotedQueryTable(), quotedSql(), nameEquals()),
                              {Value(sql), Value(name)});
    });
}

void Database::CreateTable(const TableSpec &definition)
{
    guarded(*m_errors, kDatabaseSource, [&] {
        if (m_connection->table(definition.name))
            throw EngineError(msg::tableExists, kDatabaseSource, definition.name);
        m_connection->createTable(definition);
        m_connection->reloadSchema();
    });
}

void Database::TrackChanges(const QString &table, const QString &cardField)
{
    guarded(*m_errors, kDatabaseSource, [&] {
        m_connection->trackChanges(table, cardField);
        m_connection->reloadSchema();
    });
}

std::vector<TrackedTable> Database::TrackedTables()
{
    return guarded(*m_errors, kDatabaseSource, [&] { return m_connection->trackedTables(); });
}

void Database::DeleteTable(const QString &name)
{
    guarded(*m_errors, kDatabaseSource, [&] {
        const auto table = userTable(name);
        m_connection->execute(QStringLiteral("DROP TABLE %1").arg(jet::quoteIdentifier(table->name)));
        m_connection->reloadSchema();
    });
}

std::shared_ptr<const TableInfo> Database::userTable(const QString &name) const
{
    m_connection->ensureOpen();
    auto table = m_connection->table(name);
    if (!table || table->system)
        throw EngineError(msg::tableNotFound, kDatabaseSource, name);
    return table;
}

void Database::AppendRowWithKeys(const QString &tableName, const std::vector<Value> &values)
{
    guarded(*m_errors, kDatabaseSource, [&] {
        const auto table = userTable(tableName);
        if (values.size() != table->columns.size())
            throw EngineError(errInvalidArgument, kDatabaseSource, QStringLiteral("Argomento non valido: la tabella '%1' ha %2 campi.")
                                                         .arg(tableName).arg(table->columns.size()));
        std::vector<Value> params;
        for (size_t i = 0; i < values.size(); ++i)
            params.push_back(coerceForColumn(table->columns[i], values[i]));
        m_connection->appendRow(table, std::move(params));
    });
}

void Database::EnsureIndex(const QString &tableName, const QStringList &columns)
{
    if (isClosed())
        return;
    if (const auto table = m_connection->table(tableName); table && !table->system)
        m_connection->ensureIndex(*table, columns);
}

qint64 Database::KeyCounter(const QString &tableName)
{
    return guarded(*m_errors, kDatabaseSource, [&] { return m_connection->keyCounter(*userTable(tableName)); });
}

void Database::SetKeyCounter(const QString &tableName, qint64 value)
{
    guarded(*m_errors, kDatabaseSource, [&] { m_connection->setKeyCounter(*userTable(tableName), value); });
}

void Database::NewPassword(const QString &oldPassword, const QString &newPassword)
{
    guarded(*m_errors, kDatabaseSource, [&] {
        m_connection->ensureOpen();
        if (m_connection->capabilities().passwordChangeNeedsExclusive && !m_connection->exclusive())
            throw EngineError(errNotExclusive, kDatabaseSource,
                              QStringLiteral("Per cambiare la password l'archivio deve essere aperto in modo esclusivo."));
        if (oldPassword != m_connection->password())
            throw EngineError(msg::notValidPassword, kDatabaseSource);
        if (oldPassword == newPassword)
            return;
        m_connection->changePassword(newPassword);
    });
}

bool Database::integrityCheck()
{
    return guarded(*m_errors, kDatabaseSource, [&] {
        m_connection->ensureOpen();
        return m_connection->integrityCheck();
    });
}

QStringList Database::integrityProblems(int limit)
{
    return guarded(*m_errors, kDatabaseSource, [&] {
        m_connection->ensureOpen();
        return m_connection->integrityProblems(limit);
    });
}

// The stored query's name column, compared under the engine's text order.
QString Database::nameEquals() const
{
    return m_connection->dialect().textEquals(quotedName());
}

void Database::Close()
{
    m_connection->close();
}

bool Database::isClosed() const
{
    return !m_connection->isOpen();
}

ReadScope::ReadScope(const Database *database)
{
    if (!database || database->isClosed())
        return;
    m_connection = database->connection();
    m_transaction = std::make_unique<Connection::ReadTransaction>(*m_connection);
}

ReadScope::~ReadScope() = default;

} // namespace dao
