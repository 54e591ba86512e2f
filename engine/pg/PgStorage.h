#pragma once
// How a field is kept on the server, and how its value reads as text the way the archive
// file reads it: the pieces the condition, sort and record-condition translations share.

#include "engine/jet/JetDialect.h"

namespace dao::pg {

enum class Storage {
    Integer,      // smallint, integer, bigint: booleans, bytes, integers, longs, big integers
    WholeOrReal,  // double precision the file keeps as a whole number when it is one (currency, single, date)
    Real,         // double precision the file keeps as a real (double)
    Text,         // varchar, text
    Binary,       // bytea
};

Storage storageOf(int fieldType);
bool isNumeric(Storage storage);

// A column's value as text, as the file's functions read it (null stays null).
QString columnText(const QString &quotedName, Storage storage);

// A parameter cast to the type its value has on the server; dates travel as day numbers.
QString parameter(const Value &value, std::vector<Value> &params);

} // namespace dao::pg
