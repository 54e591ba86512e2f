#pragma once
// Whether a path lies on a file system shared over a network (SMB/CIFS, NFS, FUSE such as
// sshfs, AFS, 9P, Ceph, ...). The embedded archive's locking is not safe there: several desks
// writing one file through such a mount can damage it.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// The name of the network file system that holds path ("cifs", "nfs4", "fuse.sshfs", ...),
// or nothing when it is a local one or cannot be told. statfs(2) answers first; the type
// in /proc/self/mountinfo names FUSE mounts and stands in when statfs fails.
std::optional<QString> networkFileSystemOf(const QString &path);

// The parts, reachable for tests.
// The name of a network file system's statfs magic number, or nothing for any other.
std::optional<QString> networkFileSystemForMagic(unsigned long magic);
// Whether a mountinfo type names a network file system ("fuseblk", FUSE over a local disk,
// does not).
bool isNetworkFileSystemType(const QString &type);
// The file-system type of the mount that holds absolutePath (the deepest mount point above
// it), read from the text of a mountinfo file; empty when no line holds it.
QString mountTypeOf(const QByteArray &mountinfo, const QString &absolutePath);

// Tests put their own answer here; an empty function brings the real one back.
std::function<std::optional<QString>(const QString &path)> &networkFileSystemOverride();

} // namespace platform
