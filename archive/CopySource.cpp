#include "archive/CopySource.h"

#include "archive/ArchiveComparison.h"
#include "engine/Constants.h"
#include "engine/Recordset.h"
#include "engine/TableInfo.h"

#include <algorithm>

namespace cli {

dao::FieldSpec fieldSpecOf(const dao::ColumnInfo &c)
{
    return {c.name, c.type, c.size, c.autoIncrement, c.required, c.format, c.defaultValue};
}

bool hasCounter(const dao::TableSpec &table)
{
    return std::any_of(table.fields.begin(), table.fields.end(), [](const dao::FieldSpec &f) { return f.autoIncrement; });
}

QStringList EngineSource::tables()
{
    return userTables(*m_db);
}

dao::TableSpec EngineSource::definition(const QString &name)
{
    auto rs = m_db->OpenRecordset(name, dao::dbOpenSnapshot);
    dao::TableSpec definition{rs->table().name, {}};
    for (const dao::ColumnInfo &c : rs->table().columns)
        definition.fields.push_back(fieldSpecOf(c));
    rs->Close();
    return definition;
}

qint64 EngineSource::keyCounter(const QString &table)
{
    return m_db->KeyCounter(table);
}

void EngineSource::readRows(const QString &name, const std::function<bool(const std::vector<dao::Value> &)> &row)
{
    auto rs = m_db->OpenRecordset(name, dao::dbOpenSnapshot);
    const size_t count = rs->table().columns.size();
    std::vector<dao::Value> values(count);
    for (; !rs->IsEOF(); rs->MoveNext()) {
        for (size_t i = 0; i < count; ++i)
            values[i] = rs->field(int(i)).value();
        if (!row(values))
            break;
    }
    rs->Close();
}

QList<dao::QueryDefInfo> EngineSource::queries()
{
    return m_db->QueryDefs();
}

} // namespace cli
