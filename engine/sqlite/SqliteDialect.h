#pragma once
// The file's dialect: the Jet texts written for SQLite, over the collation and functions
// every handle registers (SqlFunctions.h).

#include "engine/Dialect.h"

namespace dao::sqlite {

const Dialect &dialect();

// Record conditions for the file: texts compared byte for byte, record texts made and
// searched by jet_record_contains.
jet::SqlFragment translateRecordCondition(const RecordCondition &condition, const jet::Columns &columns);

} // namespace dao::sqlite
