#pragma once
// A .doc template read through LibreOffice's headless converter, when it is installed.

#include <QByteArray>
#include <QString>

namespace word {

// The template converted to .docx bytes; the conversion runs in a private temporary folder
// with a profile of its own. Throws AutomationError when LibreOffice is missing or fails.
QByteArray convertToDocx(const QString &docPath);

} // namespace word
