#pragma once
// Compacts a closed archive file and puts the compacted copy in its place so that the path
// names either the old or the new archive at every instant: the copy is written beside the
// archive, flushed, and renamed over it while no one has the archive open.

#include <QString>

namespace dao {
class DBEngine;
}

namespace store {

// Engine failures pass on unchanged and leave the archive untouched. Raises an engine error
// (3045) and keeps the old archive when someone opened it while the copy was being made,
// and one (3043) when the copy cannot be made or cannot take the archive's name. A server's
// address is refused (3251) before any file step.
void compactInPlace(dao::DBEngine &engine, const QString &path, const QString &password);

} // namespace store
