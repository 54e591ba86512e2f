#pragma once
// A look at documents the program wrote: their text as a reader sees it, and who may read
// the files.

#include <QByteArray>
#include <QString>

namespace testsupport {

// Every non-empty text part of a .docx or .odt package, its paragraphs one per line.
QString documentText(const QByteArray &package);
// Permission bits as the file system has them (e.g. 0600); -1 when the file is missing.
int modeOf(const QString &path);

} // namespace testsupport
