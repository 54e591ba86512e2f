#include "engine/sqlite/Bind.h"

#include "engine/EngineError.h"

#include <sqlite3.h>

namespace dao::sqlite {

namespace {

int bindStorage(sqlite3_stmt *statement, int index, const Value::Storage &storage)
{
    return std::visit([statement, index](const auto &v) -> int {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
            return sqlite3_bind_null(statement, index);
        } else if constexpr (std::is_same_v<T, bool>) {
            return sqlite3_bind_int64(statement, index, v ? -1 : 0);
        } else if constexpr (std::is_same_v<T, qint64>) {
            return sqlite3_bind_int64(statement, index, v);
        } else if constexpr (std::is_same_v<T, double>) {
            return sqlite3_bind_double(statement, index, v);
        } else if constexpr (std::is_same_v<T, Date>) {
            return sqlite3_bind_double(statement, index, v.days);
        } else if constexpr (std::is_same_v<T, QString>) {
            const QByteArray utf8 = v.toUtf8();
            return sqlite3_bind_text64(statement, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                                       SQLITE_TRANSIENT, SQLITE_UTF8);
        } else {
            // A null data pointer would bind SQL NULL; an empty blob must stay a blob.
            if (v.isEmpty())
                return sqlite3_bind_zeroblob(statement, index, 0);
            return sqlite3_bind_blob64(statement, index, v.constData(), sqlite3_uint64(v.size()), SQLITE_TRANSIENT);
        }
    }, storage);
}

} // namespace

void bindValue(sqlite3_stmt *statement, int index, const Value &value)
{
    const int rc = bindStorage(statement, index, value.storage());
    if (rc != SQLITE_OK)
        throw EngineError(errOperationNotSupported, QStringLiteral("DAO.Database"),
                          QStringLiteral("Impossibile associare il parametro %1: %2.")
                              .arg(QString::number(index), QString::fromUtf8(sqlite3_errstr(rc))));
}

int bindParams(sqlite3_stmt *statement, const std::vector<Value> &params, int first)
{
    int index = first;
    for (const Value &value : params)
        bindValue(statement, index++, value);
    return index;
}

} // namespace dao::sqlite
