#include "archive/TableCopy.h"

#include "archive/CopySource.h"
#include "engine/Database.h"

namespace cli {

void createTableLike(CopySource &source, dao::Database &target, const QString &name)
{
    target.CreateTable(source.definition(name));
}

qint64 copyRows(CopySource &source, dao::Database &target, const QString &name, int batchRows,
                const std::function<void()> &batch)
{
    qint64 count = 0;
    source.readRows(name, [&](const std::vector<dao::Value> &values) {
        target.AppendRowWithKeys(name, values);
        if (++count % batchRows == 0)
            batch();
        return true;
    });
    if (hasCounter(source.definition(name)))
        target.SetKeyCounter(name, source.keyCounter(name));
    return count;
}

} // namespace cli
