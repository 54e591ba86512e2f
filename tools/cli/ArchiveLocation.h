#pragma once
// Where an archive is: a file, or a database on a PostgreSQL server named by its address
// (postgresql://role@host[:port]/database, never with a password). The commands check
// files (existence, folders) and leave a server's databases to the server.

#include <QString>
#include <QStringList>

namespace cli {

bool isServerLocation(const QString &location);
// A file path made absolute; a server address as given.
QString normalizedLocation(const QString &location);
// Throws CliError (ExitCode::Usage) with the engine's reason, which never repeats the
// address, for the first server address among `args` that is malformed or holds a password.
void checkServerLocations(const QStringList &args);

} // namespace cli
