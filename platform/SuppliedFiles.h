#pragma once
// The files an installed program brings with it (printed-list layouts in "stampe/", document
// templates in "word/", the manual): they live in ../share/tavorio beside the folder of the
// executable, read-only, and are copied into an application folder where it lacks them.
// A program run from its build tree has no such folder.

#include <QString>
#include <QStringList>

namespace platform {

// The supplied files' folder with a trailing "/" for an executable in executableFolder
// (by default the running one's); empty when there is none, as in a build tree.
QString suppliedFolder(const QString &executableFolder = {});

// `relative` (such as "stampe/elenco_fascia.qnf") among the supplied files; empty when
// the program has no supplied files or none by that name.
QString suppliedFile(const QString &relative, const QString &executableFolder = {});

// Copies every file under `from` that `to` lacks into the same place under `to`, making
// folders as needed. A file already there is never replaced, whatever its content. Returns
// the relative names copied; throws std::runtime_error naming the first file that could not
// be copied.
QStringList copyMissingFiles(const QString &from, const QString &to);

} // namespace platform
