#pragma once
// The rows of one statement on the server, typed per column: integers as qint64, floating
// point and numeric as double, text as QString, bytea as QByteArray, bool as bool; NULL as a
// null Value. Owns libpq's result.

#include "engine/Value.h"

#include <QString>

struct pg_result;

namespace dao::pg {

class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result *result);
    ~PgResult();
    PgResult(PgResult &&other) noexcept;
    PgResult &operator=(PgResult &&other) noexcept;
    PgResult(const PgResult &) = delete;
    PgResult &operator=(const PgResult &) = delete;

    int rowCount() const;
    int columnCount() const;
    QString columnName(int column) const;
    Value value(int row, int column) const;
    qint64 rowsAffected() const;     // of an INSERT, UPDATE or DELETE

private:
    pg_result *m_result = nullptr;
};

} // namespace dao::pg
