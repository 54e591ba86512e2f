#pragma once
// The archive's seven tables, as the program expects to find them in tavorio.mdb. The
// descriptions are handed to the engine, which writes the storage declarations itself.

#include "engine/TableSpec.h"

#include <vector>

namespace dao {
class Database;
}

namespace schema {

// Anagrafica, Nucleo, Fascia, Ruolo, Occupazione, Gruppi, Stampe: in this order, fields in
// the order the windows and layouts rely on.
const std::vector<dao::TableSpec> &archiveTables();

// Creates every table of archiveTables() in db, which must not have them yet.
void createArchiveTables(dao::Database &db);
// Records every change of a card or a member in the archive's history from now on.
void trackArchiveChanges(dao::Database &db);
// The same for an archive of cards whose history has not started yet (made before there was
// one); anything else is left as it is.
void startHistoryWhereMissing(dao::Database &db);

} // namespace schema
