#pragma once
// One field of a recordset: its definition and the value of the recordset's current row
// (or of the row being edited or added).

#include "engine/Value.h"

#include <QString>
#include <optional>

namespace dao {

class Recordset;
struct ColumnInfo;

class Field {
public:
    Field(Recordset *owner, int index) : m_owner(owner), m_index(index) {}

    QString Name() const;
    int Type() const;
    int Size() const;
    int Attributes() const;
    // The default as the engine shows it: "\"text\"", "0", "No", "#12/31/2024#"; empty when none.
    QString DefaultValue() const;
    bool Required() const;
    // Named properties the engine keeps for a field: "Format", "Caption". Absent ones give nullopt.
    std::optional<QString> Property(const QString &name) const;

    // Value of the current row; throws 3021 without a current row, 3167 when the row was deleted.
    Value value() const;
    // Writable only while an edit or an added row is in progress (3020 otherwise).
    void setValue(const Value &value);
    // Length in bytes of a memo or binary value of the current row.
    qint64 FieldSize() const;

    int index() const { return m_index; }

private:
    const ColumnInfo &column() const;
    Recordset *m_owner;
    int m_index;
};

} // namespace dao
