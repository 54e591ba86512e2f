#include "AccessTestFiles.h"

namespace testsupport {

AccessDatabase archiveTables()
{
    return {};
}

AccessTable *findTable(AccessDatabase &database, const QString &name)
{
    for (AccessTable &table : database.tables)
        if (table.name == name)
            return &table;
    return nullptr;
}

AccessDatabase sampleArchive()
{
    return {};
}

AccessDatabase largeArchive(int)
{
    return {};
}

QByteArray truncatedAccessFile(const QByteArray &whole)
{
    return whole.left(whole.size() / 2);
}

QByteArray randomBytes(int, quint32)
{
    return {};
}

QByteArray foreignAccessFile()
{
    return {};
}

} // namespace testsupport
