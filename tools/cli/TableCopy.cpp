#include "tools/cli/TableCopy.h"

#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableInfo.h"

#include <algorithm>

namespace cli {

void createTableLike(dao::Database &source, dao::Database &target, const QString &name)
{
    auto rs = source.OpenRecordset(name, dao::dbOpenSnapshot);
    const dao::TableInfo &table = rs->table();
    dao::TableSpec definition{table.name, {}};
    for (const dao::ColumnInfo &c : table.columns)
        definition.fields.push_back({c.name, c.type, c.size, c.autoIncrement, c.required, c.format, c.defaultValue});
    rs->Close();
    target.CreateTable(definition);
}

qint64 copyRows(dao::Database &source, dao::Database &target, const QString &name, int batchRows,
                const std::function<void()> &batch)
{
    auto from = source.OpenRecordset(name, dao::dbOpenSnapshot);
    const std::vector<dao::ColumnInfo> &columns = from->table().columns;
    std::vector<dao::Value> values(columns.size());
    qint64 count = 0;
    for (; !from->IsEOF(); from->MoveNext()) {
        for (size_t i = 0; i < columns.size(); ++i)
            values[i] = from->field(int(i)).value();
        target.AppendRowWithKeys(name, values);
        if (++count % batchRows == 0)
            batch();
    }
    if (std::any_of(columns.begin(), columns.end(), [](const dao::ColumnInfo &c) { return c.autoIncrement; }))
        target.SetKeyCounter(name, source.KeyCounter(name));
    from->Close();
    return count;
}

} // namespace cli
