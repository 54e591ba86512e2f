#pragma once
// Copies one table of an archive into another archive, whichever storages hold them: first
// the table's definition (fields, sizes, required fields, defaults, the key counter), then
// every row in the source's order with all its values, keys included, and the key counter's
// position, so that the copy hands out the same next key.

#include <QString>
#include <functional>

namespace dao {
class Database;
}

namespace cli {

// Creates the table in target as it is in source.
void createTableLike(dao::Database &source, dao::Database &target, const QString &table);

// Copies the rows into the target's table of the same definition, still empty; returns how
// many. `batch` is called after every `batchRows` rows, so that the caller commits in steps.
qint64 copyRows(dao::Database &source, dao::Database &target, const QString &table, int batchRows,
                const std::function<void()> &batch);

} // namespace cli
