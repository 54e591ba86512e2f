#pragma once
// A real FUSE mount for the tests, with no FUSE library: the smallest file system the kernel
// will mount (an empty root folder) served from a thread over /dev/fuse. It answers the
// handshake, the root's attributes and statfs; every other request fails with ENOSYS or
// ENOENT. Mounting needs CAP_SYS_ADMIN: use it in a forked child that has made a mount
// namespace of its own, so the mount ends with the child whatever happens.

#include <QString>

namespace platform_test {

// Mounts the file system of type "fuse.<subtype>" on folder and serves it until the process
// ends. False when the kernel refuses (no /dev/fuse, no privilege).
bool mountTinyFuse(const QString &folder, const char *subtype);

// Gives this process a mount namespace of its own (single-threaded callers only).
bool privateMountNamespace();

} // namespace platform_test
