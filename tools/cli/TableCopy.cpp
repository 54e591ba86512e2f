#include "tools/cli/TableCopy.h"

#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableInfo.h"
#include "tools/cli/CliError.h"

namespace cli {

namespace {

dao::TableSpec specOf(const dao::TableInfo &table)
{
    dao::TableSpec spec{table.name, {}};
    for (const dao::ColumnInfo &c : table.columns)
        spec.fields.push_back({c.name, c.type, c.size, c.autoIncrement, c.required, c.format, c.defaultValue});
    return spec;
}

} // namespace

qint64 copyTable(dao::Database &source, dao::Database &target, const QString &table, int batchRows,
                 const std::function<void()> &batch)
{
    auto from = source.OpenRecordset(table, dao::dbOpenSnapshot);
    const std::vector<dao::ColumnInfo> &columns = from->table().columns;
    target.CreateTable(specOf(from->table()));
    auto to = target.OpenRecordset(table, dao::dbOpenDynaset);
    qint64 rows = 0;
    for (; !from->IsEOF(); from->MoveNext()) {
        to->AddNew();
        int key = -1;
        for (int i = 0; i < int(columns.size()); ++i) {
            if (columns[size_t(i)].autoIncrement)
                key = i;
            else
                to->field(columns[size_t(i)].name).setValue(from->field(columns[size_t(i)].name).value());
        }
        to->Update();
        if (key >= 0) {
            // The key counter gives the next number: the copy holds only when the source's
            // keys follow one another from 1.
            to->setBookmark(to->LastModified());
            const dao::Value want = from->field(columns[size_t(key)].name).value();
            if (!(to->field(columns[size_t(key)].name).value() == want))
                throw CliError(ExitCode::Refused,
                               QStringLiteral("Tabella %1: la chiave %2 non si può conservare nella copia.")
                                   .arg(table, want.asText()));
        }
        if (++rows % batchRows == 0)
            batch();
    }
    to->Close();
    from->Close();
    return rows;
}

} // namespace cli
