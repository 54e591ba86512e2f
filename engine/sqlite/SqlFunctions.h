#pragma once
// The collation and functions the file's translated texts call, registered on every handle.

struct sqlite3;

namespace dao::sqlite {

// The name under which the engine's text collation is registered on every connection.
inline constexpr const char *kCollation = "JET";

// Registers on a connection the collation kCollation and the functions the translated
// texts call (jet_like, jet_lcase, jet_ucase, jet_text, jet_record_contains).
void registerFunctions(sqlite3 *db);

} // namespace dao::sqlite
