// Fuzz target of the connect texts. Any input read as a connect text gives a password or
// none without a crash; and whatever password the input holds (every character allowed, ";",
// "=" and "PWD=" too) must come back whole from the texts the program writes around it: the
// connect text ";UID=Admin;PWD=<password>;" and the compaction's ";pwd=<password>;".

#include "engine/ConnectText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    dao::passwordInConnectText(text);
    if (dao::passwordInConnectText(QStringLiteral(";UID=Admin;PWD=") + text + u';') != text)
        std::abort();
    if (dao::passwordInConnectText(QStringLiteral(";pwd=") + text + u';') != text)
        std::abort();
    return 0;
}
