#pragma once
// What the commands say of an archive's location they cannot use: a malformed server address
// among the arguments, a file or database that is no archive, a server that cannot be reached
// or has no such database. Whether a location is a file or a server is dao::ArchiveLocation's;
// the commands check files (existence, folders) and leave a server's databases to the server.

#include "archive/CliError.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dao {
class EngineError;
}

namespace cli {

// Throws CliError (ExitCode::Usage) with the engine's reason, which never repeats the
// address, for the first argument among `args` that is or looks like a server address
// (postgresql:..., any scheme://...) and is malformed or holds a password.
void checkServerLocations(const QStringList &args);

// "The file / the database ... is not an archive of the program", then the reason.
QString notAnArchiveText(const QString &location, const QString &reason);
// What a command reports when the engine could not reach the archive's server
// (ExitCode::Unreachable: what to check, then the engine's text with libpq's reason) or
// found no such database there (ExitCode::NotAnArchive); nothing for any other failure,
// or for a file.
std::optional<CliError> serverFailure(const QString &location, const dao::EngineError &error);
// A command's failure on an archive it opened: a refused password (`passwordText`), the
// server's own failures as above, else `otherwise`.
CliError openedArchiveFailure(const QString &location, const dao::EngineError &error, const QString &passwordText,
                              const CliError &otherwise);

} // namespace cli
