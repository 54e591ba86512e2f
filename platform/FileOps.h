#pragma once
// File-system services the archive code needs beyond Qt: durable writes (flush a file and
// its folder), an atomic replace, and temporary names made the way the platform makes them.

#include <QString>

namespace platform {

bool fileExists(const QString &path);
bool deleteFile(const QString &path);
// Copies src to dst, replacing dst; the copy is flushed to disk before it counts as done.
bool copyFile(const QString &src, const QString &dst);
// Creates an empty file named prefix + four hex digits + ".tmp" in folder (which ends with
// "/") that did not exist before, and returns its full path; empty on failure.
QString uniqueTempFileName(const QString &folder, const QString &prefix);
// Flushes a file's content, or a folder's entries, to disk.
bool syncFile(const QString &path);
bool syncFolder(const QString &folder);
// rename(2): at every instant dst is either its old or its new content.
bool atomicReplace(const QString &src, const QString &dst);
// Folder part of a path with its trailing "/", or empty when the path has none.
QString folderOf(const QString &path);
// The folder of a path, or the working folder for a bare file name.
QString folderOrCurrent(const QString &path);
QString fileNameOf(const QString &path);
// The folder of the running executable and the process's working folder, each with "/".
QString executableFolder();
QString currentFolder();

} // namespace platform
