#pragma once
// The archive's change history: every insert, change and deletion of a row of a tracked
// table leaves one row per field in table Storia, with when, who, which record (and the
// card it belongs to), the action, and the field's old and new value as text. The storage
// writes these rows itself, in the same transaction as the change: triggers of the file's
// connection (the desk's user name supplied by the engine) or of the server (a function
// owned by the archive's owner, the person's login as who). Which tables are tracked is
// kept in the archive (MSysHistory), so every program that opens it records alike.

#include "engine/TableInfo.h"
#include "engine/TableSpec.h"

#include <QString>
#include <vector>

namespace dao {

inline constexpr char kHistoryTable[] = "Storia";
inline constexpr char kHistoryRegistry[] = "MSysHistory";

// The actions as written in the history's Azione field.
inline constexpr char kActionInsert[] = "inserimento";
inline constexpr char kActionUpdate[] = "modifica";
inline constexpr char kActionDelete[] = "cancellazione";
inline constexpr char kActionPurge[] = "rimozione storia";

struct TrackedTable {
    QString table;
    QString cardField;   // the field that holds the card the row belongs to
};

TableSpec historyTableSpec();
TableSpec historyRegistrySpec();

// How a column's value is shown in the history: a date as dd/mm/yyyy (with the time when
// the field has one), a Yes/No field as "Sì"/"No", bytes in hexadecimal, the rest as text.
enum class HistoryValueKind { Text, Date, DateTime, Boolean, Bytes };
HistoryValueKind historyValueKind(const ColumnInfo &column);

// The columns a tracked table records: every column but its counter, which is the record.
std::vector<const ColumnInfo *> recordedColumns(const TableInfo &table);

// A text as a quoted SQL literal (quotes doubled), as both storages read it.
QString sqlTextLiteral(const QString &text);

// The column list of the history's INSERT, in the order the triggers supply the values.
QString historyInsertColumns();

} // namespace dao
