#pragma once
// The archive's storage on a PostgreSQL server: one database is one archive, its tables in
// schema public. Each column's COMMENT holds the archive file's declaration word of the field
// (TEXT(40), LONGTEXT, DATE, BIT, ... and COUNTER for the autoincrement key), so field types
// read back through the same columnFromStorage as on the file. A counter field is an
// identity column and the table's row id; a table without one gets a hidden identity
// column engine_rowid, never shown as a field. Table engine_archive marks the archive.

#include "engine/TableInfo.h"
#include "engine/TableSpec.h"

#include <QStringList>
#include <vector>

namespace dao::pg {

class PgSession;

// The schema of the archive's functions, owned like its tables by the archive's owner.
inline constexpr char kFunctionSchema[] = "engine_functions";
// The search path of every session, fixed by the connection whatever the role's own settings
// say: the archive's tables (where new ones go), then its functions; the system's catalogue
// is searched before both. Only the archive's owner may create objects in either schema, so
// nothing another role makes can take the place of a table or function the archive uses.
inline constexpr char kSearchPath[] = "public,engine_functions";

// The hidden row id of a table without a counter field.
inline constexpr char kHiddenRowId[] = "engine_rowid";

// CREATE TABLE and the COMMENT ON COLUMN statements of one table.
QStringList createTableStatements(const TableSpec &definition);
// What makes an empty database an archive (run before the first table is created): the
// marker, and schema public closed to every role but the owner.
QStringList createArchiveStatements();
// What a desk's role may do in an archive made by the connected role (its owner): read and
// write the rows of every table, now and later, and call the functions; never change a table,
// nor write the change history.
QStringList deskGrantStatements(const QString &deskRole);
// Gives the archive's tables (with their counters), functions and schema of functions to
// `owner`, when an administrator made the archive in the owner's stead.
QString handOverStatement(const QString &owner);

// Whether the database holds no table, view, sequence or function of its own.
bool isEmptyDatabase(PgSession &session);
// Whether the database was made an archive by createArchiveStatements().
bool isArchive(PgSession &session);
// The archive's tables in creation order, as the engine knows them.
std::vector<TableInfo> readTables(PgSession &session);

// The last key the table's counter (or hidden row id) handed out, 0 when none yet; setting
// it makes the next row get value + 1. Used when an archive is copied between storages.
qint64 keyCounter(PgSession &session, const QString &table);
void setKeyCounter(PgSession &session, const QString &table, qint64 value);

} // namespace dao::pg
