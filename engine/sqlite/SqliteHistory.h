#pragma once
// The file's change history: temporary triggers of the connection (made at every open, so
// the archive itself holds no code that runs), writing into the archive's history table
// with the desk's user name from the engine's function engine_user().

#include "engine/TableInfo.h"

#include <QStringList>

struct sqlite3;

namespace dao::sqlite {

// The triggers that record the changes of `table` (DROP and CREATE TEMP TRIGGER).
QStringList sqliteTrackingStatements(const TableInfo &table, const QString &cardField);

// Registers engine_user() on the handle: the name the desk's user signed in to the computer with.
void registerHistoryUser(sqlite3 *db);
QString deskUserName();

} // namespace dao::sqlite
