#include "AccessFileWriter.h"

#include <QFile>

namespace testsupport {

QByteArray accessFileBytes(const AccessDatabase &)
{
    return {};
}

bool writeAccessFile(const QString &path, const AccessDatabase &database)
{
    QFile file(path);
    const QByteArray bytes = accessFileBytes(database);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

double accessDays(const QDateTime &)
{
    return 0;
}

QDateTime dateTimeOfAccessDays(double)
{
    return {};
}

} // namespace testsupport
