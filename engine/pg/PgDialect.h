#pragma once
// The Jet texts (conditions, sorts, record conditions) written for an archive on a
// PostgreSQL server, selecting the same rows in the same order as on the archive file.
// The file's storage library compares loosely typed values (a text field against a number,
// a number field against a text); the server is strictly typed, so what the file decides
// per row from the stored kinds is decided here from the field types and the literals'
// kinds. Texts compare and sort by jet_key (TextKey.h); the functions the texts call come
// from functionDefinitions() (ServerFunctions.h). Every parameter is cast to its type.

#include "engine/Dialect.h"

namespace dao::pg {

const Dialect &dialect();

// Record conditions on the server: the record text and the searches written as expressions
// the server evaluates (PgRecordCondition.cpp).
jet::SqlFragment translateRecordCondition(const RecordCondition &condition, const jet::Columns &columns);

} // namespace dao::pg
