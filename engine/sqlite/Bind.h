#pragma once
// Binding the parameters of a translated text (or any engine values) to a statement.

#include "engine/Value.h"

#include <vector>

struct sqlite3_stmt;

namespace dao::sqlite {

// Binds one value to the ?-parameter `index` (1-based): null, whole numbers and Booleans
// (-1/0, as stored) as integers, reals and dates (day numbers) as reals, texts as UTF-8,
// bytes as a blob. Throws EngineError when SQLite refuses the index.
void bindValue(sqlite3_stmt *statement, int index, const Value &value);

// Binds `params` to consecutive parameters starting at `first` and returns the index after
// the last, so the parameters of several fragments can follow each other.
int bindParams(sqlite3_stmt *statement, const std::vector<Value> &params, int first = 1);

} // namespace dao::sqlite
