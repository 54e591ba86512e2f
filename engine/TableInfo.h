#pragma once
// What the engine knows of one stored table: its columns with their field types as the
// object model reports them. Field types travel in the storage declarations themselves
// (a column declared TEXT(40) is a text field of 40 characters, LONGTEXT a memo, BIT a
// Yes/No field, DATE a date-only field, INTEGER PRIMARY KEY the autoincrement key), so an
// archive carries its field types without any side table.

#include "engine/TableSpec.h"
#include "engine/jet/JetDialect.h"

#include <QString>
#include <vector>

namespace dao {

struct ColumnInfo {
    QString name;
    int type = 0;
    int size = 0;
    bool autoIncrement = false;
    bool required = false;
    QString format;          // "Short Date", "Short Time" or empty
    Value defaultValue;      // the stored default, typed
    int attributes(bool updatableRecordset) const;
    QString defaultText() const;   // as the engine shows DefaultValue
    bool isText() const;
};

struct TableInfo {
    QString name;
    std::vector<ColumnInfo> columns;
    jet::Columns dialectColumns;     // the same, as the dialect translator needs them
    QString rowid;                   // the SQL name of the column that identifies a row
    bool system = false;

    int indexOf(const QString &column) const;   // case-insensitive; -1 when absent
    QString selectList() const;                 // "\"a\", \"b\", ..."
};

// The column of a PRAGMA table_info row.
ColumnInfo columnFromStorage(const QString &name, const QString &declaredType, bool notNull,
                             const QString &defaultSql, bool primaryKey);
// A default as a declaration writes it: a quoted text, -1/0 for a Boolean, a number.
QString defaultLiteral(const Value &value);
// The storage declaration of a table to create.
QString createTableSql(const TableSpec &definition);
// Converts a value to what a column of this type stores; throws EngineError 3421/3349.
Value coerceForColumn(const ColumnInfo &column, const Value &value);
// Turns a stored value into the typed value the column reports.
Value typedFromStorage(const ColumnInfo &column, const Value &stored);

} // namespace dao
