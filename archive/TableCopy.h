#pragma once
// Copies one table of a source into an archive, whichever storage holds it: first the
// table's definition (fields, sizes, required fields, defaults, the key counter), then
// every row in the source's order with all its values, keys included, and the key counter's
// position, so that the copy hands out the same next key.

#include <QString>
#include <functional>

namespace dao {
class Database;
}

namespace cli {

class CopySource;

// Creates the table in target as the source defines it.
void createTableLike(CopySource &source, dao::Database &target, const QString &table);

// Copies the rows into the target's table of the same definition, still empty; returns how
// many. `batch` is called after every `batchRows` rows, so that the caller commits in steps.
qint64 copyRows(CopySource &source, dao::Database &target, const QString &table, int batchRows,
                const std::function<void()> &batch);

} // namespace cli
