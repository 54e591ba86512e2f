#include "platform/Secrets.h"

#include <cstring>
#include <sys/prctl.h>

namespace secrets {

void forbidCoreDumps()
{
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

void wipe(QByteArray &buffer)
{
    if (!buffer.isEmpty() && buffer.isDetached())
        ::explicit_bzero(buffer.data(), size_t(buffer.size()));
    buffer.clear();
}

void wipe(QString &text)
{
    if (!text.isEmpty() && text.isDetached())
        ::explicit_bzero(text.data(), size_t(text.size()) * sizeof(QChar));
    text.clear();
}

} // namespace secrets
