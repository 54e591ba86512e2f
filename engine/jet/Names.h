#pragma once
// Field names as they reach a storage: matched against the table's columns and quoted as SQL
// quotes identifiers (both storages read "name" alike).

#include "engine/jet/JetDialect.h"

namespace dao::jet {

// The column named `name` (letter case ignored), as stored. Throws EngineError
// (errTooFewParameters) when the table has no such column.
const QString &resolveColumn(const QString &name, const Columns &columns);

// "name" with inner double quotes doubled.
QString quoteIdentifier(const QString &name);

} // namespace dao::jet
