#pragma once
// The texts a record condition compares and searches, made from the stored values inside
// the storage library's own evaluation: each column read as text in its text form, and the
// record text that joins them.

#include "engine/RecordCondition.h"

#include <string>

#include <sqlite3.h>

namespace dao::sqlite {

// Appends the text form of a stored value, as UTF-8.
void appendFormText(std::string &out, sqlite3_value *value, TextForm form);

// The SQL functions over them, registered on every connection:
// jet_text(value, form code): the value's text in its form (null stays null);
// jet_record_contains(text, form codes, column...): whether text occurs in the record text.
void textFunction(sqlite3_context *context, int argc, sqlite3_value **argv);
void recordContainsFunction(sqlite3_context *context, int argc, sqlite3_value **argv);

} // namespace dao::sqlite
