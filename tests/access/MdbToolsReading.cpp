#include "MdbToolsReading.h"

#include "tests/support/Processes.h"

#include <mdbtools.h>

namespace accesstest {
using namespace testsupport;

QStringList mdbTables(const QString &path)
{
    return outputOf("mdb-tables", {"-1", path}).split('\n', Qt::SkipEmptyParts);
}

QString mdbSchema(const QString &path)
{
    return outputOf("mdb-schema", {path, "access"});
}

Cells mdbExport(const QString &path, const QString &table)
{
    const QString text = outputOf("mdb-export", {"-H", "-Q", "-d", "\x1f", "-R", "\x1e", "-0", kNoText, "-T",
                                                 "%Y-%m-%d %H:%M:%S", path, table});
    Cells rows;
    for (const QString &row : text.split(QChar(0x1e), Qt::SkipEmptyParts))
        rows.push_back(row.split(QChar(0x1f)));
    return rows;
}

std::vector<std::vector<bool>> mdbNulls(const QString &path, const QString &name)
{
    std::vector<std::vector<bool>> rows;
    MdbHandle *mdb = mdb_open(path.toLocal8Bit().constData(), MDB_NOFLAGS);
    if (!mdb)
        return rows;
    QByteArray tableName = name.toUtf8();
    if (MdbTableDef *table = mdb_read_table_by_name(mdb, tableName.data(), MDB_TABLE)) {
        mdb_read_columns(table);
        mdb_rewind_table(table);
        std::vector<MdbField> fields(table->num_cols);
        // The row just fetched is still in the page buffer: crack it again for its null mask.
        while (mdb_fetch_row(table)) {
            int start = 0;
            size_t length = 0;
            mdb_find_row(mdb, int(table->cur_row) - 1, &start, &length);
            const int count = mdb_crack_row(table, start & 0x1fff, length, fields.data());
            std::vector<bool> nulls(table->num_cols, false);
            for (int i = 0; i < count; ++i) {
                auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, fields[size_t(i)].colnum));
                nulls[size_t(fields[size_t(i)].colnum)] = column->col_type != MDB_BOOL && fields[size_t(i)].is_null;
            }
            rows.push_back(nulls);
        }
        mdb_free_tabledef(table);
    }
    mdb_close(mdb);
    return rows;
}

namespace {

QString cellText(const AccessColumn &column, const QVariant &value)
{
    if (column.type == JetType::YesNo)
        return value.toBool() ? "1" : "0";
    if (value.isNull())
        return kNoText;
    switch (column.type) {
    case JetType::Text:
    case JetType::Memo:
        return value.toString().isEmpty() ? kNoText : value.toString();
    case JetType::DateTime: {
        const QDateTime when = value.metaType().id() == QMetaType::Double ? dateTimeOfAccessDays(value.toDouble())
                                                                          : value.toDateTime();
        return when.toString("yyyy-MM-dd HH:mm:ss");
    }
    case JetType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return QString::number(value.toLongLong());
    }
}

} // namespace

Cells expectedCells(const AccessTable &table)
{
    Cells rows;
    for (const AccessRow &row : table.rows) {
        if (row.deleted)
            continue;
        QStringList cells;
        for (size_t c = 0; c < table.columns.size(); ++c)
            cells << cellText(table.columns[c], qsizetype(c) < row.values.size() ? row.values[qsizetype(c)] : QVariant());
        rows.push_back(cells);
    }
    return rows;
}

std::vector<std::vector<bool>> expectedNulls(const AccessTable &table)
{
    std::vector<std::vector<bool>> rows;
    for (const AccessRow &row : table.rows) {
        if (row.deleted)
            continue;
        std::vector<bool> nulls;
        for (size_t c = 0; c < table.columns.size(); ++c)
            nulls.push_back(table.columns[c].type != JetType::YesNo
                            && (qsizetype(c) >= row.values.size() || row.values[qsizetype(c)].isNull()));
        rows.push_back(nulls);
    }
    return rows;
}

} // namespace accesstest
