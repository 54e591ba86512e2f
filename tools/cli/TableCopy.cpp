#include "tools/cli/TableCopy.h"

#include "engine/Connection.h"
#include "engine/Database.h"
#include "engine/Errors.h"
#include "engine/Guard.h"
#include "engine/TableInfo.h"
#include "engine/jet/Names.h"

#include <algorithm>

namespace cli {

namespace {

const QString kCopySource = QStringLiteral("DAO.Database");

std::shared_ptr<const dao::TableInfo> tableOf(dao::Connection &connection, const QString &name)
{
    std::shared_ptr<const dao::TableInfo> table = connection.table(name);
    if (!table)
        throw dao::EngineError(dao::errTableNotFound, kCopySource, QStringLiteral("Tabella '%1' non trovata.").arg(name));
    return table;
}

bool hasCounter(const dao::TableInfo &table)
{
    return std::any_of(table.columns.begin(), table.columns.end(),
                       [](const dao::ColumnInfo &c) { return c.autoIncrement; });
}

} // namespace

void createTableLike(dao::Database &source, dao::Database &target, const QString &name)
{
    dao::Errors errors;
    const auto table = dao::guarded(errors, kCopySource, [&] { return tableOf(*source.connection(), name); });
    dao::TableSpec spec{table->name, {}};
    for (const dao::ColumnInfo &c : table->columns)
        spec.fields.push_back({c.name, c.type, c.size, c.autoIncrement, c.required, c.format, c.defaultValue});
    target.CreateTable(spec);
}

qint64 copyRows(dao::Database &source, dao::Database &target, const QString &name, int batchRows,
                const std::function<void()> &batch)
{
    dao::Errors errors;
    dao::Connection &from = *source.connection();
    dao::Connection &to = *target.connection();
    return dao::guarded(errors, kCopySource, [&] {
        const auto table = tableOf(from, name);
        const auto copy = tableOf(to, name);
        const int columns = int(table->columns.size());
        QStringList marks;
        for (int i = 0; i < columns; ++i)
            marks << QStringLiteral("?");
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(dao::jet::quoteIdentifier(name), table->selectList(), marks.join(QLatin1String(", ")));
        auto rows = from.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                     .arg(table->selectList(), dao::jet::quoteIdentifier(name), table->rowid));
        std::vector<dao::Value> values(static_cast<size_t>(columns));
        qint64 count = 0;
        while (rows->step()) {
            for (int i = 0; i < columns; ++i)
                values[size_t(i)] = rows->raw(i);
            to.execute(insert, values);
            if (++count % batchRows == 0)
                batch();
        }
        if (hasCounter(*table))
            to.setKeyCounter(*copy, from.keyCounter(*table));
        return count;
    });
}

} // namespace cli
