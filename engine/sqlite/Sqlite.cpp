#include "engine/sqlite/Sqlite.h"

#include "engine/StorageFaults.h"
#include "engine/sqlite/Bind.h"

#include <sqlite3.h>

namespace dao::sqlite {

namespace {
[[noreturn]] void raise(sqlite3 *db, int code)
{
    throw StorageFailure{code, QString::fromUtf8(sqlite3_errmsg(db))};
}

// A test's fault as the library reports it.
[[noreturn]] void raise(faults::Fault fault)
{
    using faults::Fault;
    int code = SQLITE_ERROR;
    switch (fault) {
    case Fault::Busy: code = SQLITE_BUSY; break;
    case Fault::Locked: code = SQLITE_LOCKED; break;
    case Fault::NotArchive: code = SQLITE_NOTADB; break;
    case Fault::Corrupt: code = SQLITE_CORRUPT; break;
    case Fault::Constraint: code = SQLITE_CONSTRAINT; break;
    case Fault::ReadOnly: code = SQLITE_READONLY; break;
    case Fault::Full: code = SQLITE_FULL; break;
    case Fault::CannotOpen: code = SQLITE_CANTOPEN; break;
    case Fault::Io: code = SQLITE_IOERR; break;
    case Fault::NoMemory: code = SQLITE_NOMEM; break;
    case Fault::Interrupted: code = SQLITE_INTERRUPT; break;
    case Fault::Aborted: code = SQLITE_ABORT; break;
    case Fault::Other: break;
    }
    throw StorageFailure{code, QString::fromUtf8(sqlite3_errstr(code))};
}
}

Statement::Statement(sqlite3 *db, const QString &sql) : m_db(db)
{
    const QByteArray text = sql.toUtf8();
    if (const auto injected = faults::injectedFailure(text.constData()))
        raise(*injected);
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        raise(db, rc);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::bind(int index, const Value &value)
{
    bindValue(m_stmt, index, value);
}

void Statement::bindAll(const std::vector<Value> &values)
{
    for (size_t i = 0; i < values.size(); ++i)
        bind(1 + int(i), values[i]);
}

bool Statement::step()
{
    if (const auto injected = faults::injectedFailure(sqlite3_sql(m_stmt))) {
        sqlite3_reset(m_stmt);
        raise(*injected);
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    raise(m_db, rc);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Value Statement::raw(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return Value(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(m_stmt, column));
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return Value(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return Value(QByteArray(data, sqlite3_column_bytes(m_stmt, column)));
    }
    default:
        return {};
    }
}

void execute(sqlite3 *db, const QString &sql, const std::vector<Value> &params)
{
    Statement st(db, sql);
    st.bindAll(params);
    while (st.step()) {
    }
}

} // namespace dao::sqlite
