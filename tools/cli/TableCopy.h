#pragma once
// Copies one table of an archive into another archive that lacks it: the table's
// definition (fields, sizes, required fields, defaults, the key counter), then every row in
// the source's order with the same key values. Transactions are the caller's business.

#include <QString>
#include <functional>

namespace dao {
class Database;
}

namespace cli {

// Creates the table in target and copies its rows; returns how many. `batch` is called
// after every `batchRows` rows, so that the caller can commit in steps.
qint64 copyTable(dao::Database &source, dao::Database &target, const QString &table, int batchRows,
                 const std::function<void()> &batch);

} // namespace cli
