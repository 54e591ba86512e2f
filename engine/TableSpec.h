#pragma once
// The description of a table to create: what an administrator's tool hands the engine so
// that the engine itself writes the storage declarations. Field types and attributes are
// the engine's (Constants.h).

#include "engine/Value.h"

#include <QString>
#include <vector>

namespace dao {

struct FieldSpec {
    QString name;
    int type = 0;            // dbText, dbLong, ...
    int size = 0;            // characters, for dbText
    bool autoIncrement = false;
    bool required = false;
    QString format;          // "Short Date" for a date-only field; empty otherwise
    Value defaultValue;      // null: no default
};

struct TableSpec {
    QString name;
    std::vector<FieldSpec> fields;
};

} // namespace dao
