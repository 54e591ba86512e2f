#include "tests/support/TestArchive.h"

#include "archive/ArchiveCreator.h"
#include "tests/support/PgTestServer.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <cstdlib>
#include <stdexcept>

namespace testsupport {

namespace {

QString fromEnvironment(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QStringLiteral("/proc/self/exe") : value;
}

QHash<QString, QString> &serverArchives()
{
    static QHash<QString, QString> archives;
    return archives;
}

} // namespace

QString archiveLocationFor(const QString &path)
{
    const QFileInfo file(path);
    if (!onServer() || file.fileName() != QLatin1String("tavorio.mdb"))
        return path;
    const QString address = newArchiveLocation(file.absolutePath(), file.fileName());
    QFile ini(file.dir().filePath(QStringLiteral("tavorio.ini")));
    if (!ini.open(QIODevice::Append))
        throw std::runtime_error("cannot write tavorio.ini");
    ini.write("\r\n[Server]\r\nIndirizzo=" + address.toUtf8() + "\r\n");
    serverArchives().insert(file.absoluteFilePath(), address);
    return address;
}

QString archiveAt(const QString &path)
{
    return serverArchives().value(QFileInfo(path).absoluteFilePath(), path);
}

void createArchive(const QString &path, const QString &password, int households)
{
    cli::ArchiveCreator(archiveLocationFor(path), password).create(cli::ArchiveContents::generated(households));
}

QString cliPath()
{
    const QString path = qEnvironmentVariable("TAVORIO_CLI");
    if (!path.isEmpty())
        return path;
    // Run by hand outside ctest: the command sits in the build tree's tools folder.
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(self).dir().filePath(QStringLiteral("../tools/tavorio-cli"));
}

QString selfPath()
{
    return fromEnvironment("TAVORIO_TEST_HELPER");
}

void leaveTestShard()
{
    ::unsetenv("GTEST_TOTAL_SHARDS");
    ::unsetenv("GTEST_SHARD_INDEX");
}

bool longRun()
{
    return qEnvironmentVariable("TAVORIO_LONG_TESTS") == QLatin1String("1");
}

} // namespace testsupport
