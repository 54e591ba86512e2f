#pragma once
// The companion's outputs, claimed before the archive is read: none may replace the archive,
// a copy of it or another archive, nor an existing file without --sovrascrivi, and no two
// outputs may name one file.

#include <QString>
#include <QStringList>

namespace cli {

// Throws CliError(Refused) naming every refused file; empty names are skipped.
void claimOutputs(const QString &archive, bool overwrite, const QStringList &paths);

} // namespace cli
