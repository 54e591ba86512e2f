#pragma once
// A .doc template read through LibreOffice's headless converter, when it is installed.

#include "output/word/AutomationError.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QProcess;

namespace word {

// The user stopped a conversion: not a failure to report, the fill simply does not happen.
class ConversionCancelled final : public AutomationError {
public:
    using AutomationError::AutomationError;
};

enum class ConversionEnd { Finished, Cancelled, TimedOut };
// Waits for a started conversion to end, or for the user to cancel it (the converter is then
// stopped by the caller). The default waits without showing anything, up to a limit.
using ConversionWait = std::function<ConversionEnd(QProcess &converter, const QString &docPath)>;

// Installs a wait for the conversions that follow; an empty one brings the default back.
void setConversionWait(ConversionWait wait);

// The template converted to .docx bytes; the conversion runs in a private temporary folder
// with a profile of its own. Throws AutomationError when LibreOffice is missing or fails,
// ConversionCancelled when the wait says the user cancelled.
QByteArray convertToDocx(const QString &docPath);

} // namespace word
