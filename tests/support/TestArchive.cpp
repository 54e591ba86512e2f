#include "tests/support/TestArchive.h"

#include "tools/cli/ArchiveCreator.h"

#include <QDir>
#include <QFileInfo>
#include <cstdlib>

namespace testsupport {

namespace {

QString fromEnvironment(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QStringLiteral("/proc/self/exe") : value;
}

} // namespace

void createArchive(const QString &path, const QString &password, int households)
{
    cli::ArchiveCreator(path, password).create(cli::ArchiveContents::generated(households));
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
