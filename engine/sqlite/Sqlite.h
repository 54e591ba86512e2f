#pragma once
// A thin RAII layer over the storage library's statements. Every value reaches SQLite as a
// bound parameter; statements are reset after use so no read lock outlives a call.

#include "engine/Connection.h"
#include "engine/Value.h"
#include "engine/jet/Names.h"

#include <QString>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dao::sqlite {

class Statement final : public Query {
public:
    Statement(sqlite3 *db, const QString &sql);   // throws StorageFailure
    ~Statement() override;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const Value &value);    // 1-based
    void bindAll(const std::vector<Value> &values) override;
    bool step() override;                        // true while a row is available
    void reset() override;
    int columnCount() const;
    qint64 int64(int column) const override;
    bool isNull(int column) const;
    // The raw stored value: integer, real, text or blob.
    Value raw(int column) const override;
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// A failure reported by the storage library: its result code and message.
struct StorageFailure {
    int code;
    QString message;
};

// Runs a statement without results; throws StorageFailure.
void execute(sqlite3 *db, const QString &sql, const std::vector<Value> &params = {});
// Identifiers are double-quoted in one place, the grammar's.
using jet::quoteIdentifier;

} // namespace dao::sqlite
