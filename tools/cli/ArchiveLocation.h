#pragma once
// Where an archive is: a file, or a database on a PostgreSQL server named by its address
// (postgresql://role@host[:port]/database, never with a password). The commands check
// files (existence, folders) and leave a server's databases to the server.

#include <QString>

namespace cli {

bool isServerLocation(const QString &location);
// A file path made absolute; a server address as given.
QString normalizedLocation(const QString &location);

} // namespace cli
