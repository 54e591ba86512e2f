#pragma once
// The warning for an archive file kept in a network folder: the embedded archive's locking
// is not safe over SMB, NFS or FUSE mounts, so several desks writing at once may damage it.
// The program and the companion both say it, and both still open the archive.

#include <QString>
#include <optional>

namespace store {

// The Italian warning for the archive file at path, or nothing when it lies on a local disk
// (or is not a file there).
std::optional<QString> networkFolderWarning(const QString &archivePath);

} // namespace store
