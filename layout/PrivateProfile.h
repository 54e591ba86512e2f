#pragma once
// The private-profile functions: one key read or written, or one section erased, per call.
// Each call opens and closes the file; nothing is cached between calls. Every change lands
// whole: the new text goes to a temporary file beside the old one, is flushed, and is
// renamed over it, so a crash leaves either the old file or the new one.

#include <QString>
#include <optional>

namespace privateprofile {

// Nothing when the file, the section or the key is missing.
std::optional<QString> readKey(const QString &file, const QString &section, const QString &key);
// Creates the file, the section and the key as needed. False when the file cannot be
// replaced: a read-only file, or a folder that is missing or refuses new files.
bool writeKey(const QString &file, const QString &section, const QString &key, const QString &value);
// True also when there is no such section or no file (nothing is written then).
bool eraseSection(const QString &file, const QString &section);

} // namespace privateprofile
