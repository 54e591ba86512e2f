// crea-archivio, in this process and as the real executable: the round trip through
// verifica, refusal of an existing file, encryption, determinism of --schede, and the
// command line's own mistakes.

#include "tests/tools/ToolsHarness.h"

#include "archive/CliError.h"
#include "archive/HouseholdGenerator.h"
#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using toolstest::Mode;

// Whether the file holds the name as text, in either encoding SQLite may store.
bool containsName(const QByteArray &bytes, const QString &name)
{
    const QByteArray utf16(reinterpret_cast<const char *>(name.utf16()), name.size() * 2);
    return bytes.contains(name.toUtf8()) || bytes.contains(utf16);
}

QString demoHead()
{
    return cli::HouseholdGenerator(cli::HouseholdGenerator::kDemoSeed).next().capofamiglia;
}

class CreateCommandTest : public testing::TestWithParam<Mode> {
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_P(CreateCommandTest, DemoArchiveRoundTripsThroughVerifica)
{
    const auto created = toolstest::create(GetParam(), path("demo.mdb"), cli::ArchiveContents::demo());
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();
    const auto checked = toolstest::verify(GetParam(), path("demo.mdb"));
    ASSERT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    const QStringList lines = checked.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Anagrafica %1").arg(cli::HouseholdGenerator::kDemoHouseholds));
    const int members = lines[1].section(QLatin1Char(' '), 1).toInt();
    EXPECT_GE(members, cli::HouseholdGenerator::kDemoHouseholds);
    EXPECT_LE(members, 6 * cli::HouseholdGenerator::kDemoHouseholds);
    EXPECT_EQ(lines[5], QStringLiteral("Gruppi 6"));
}

TEST_P(CreateCommandTest, ExistingFileIsNeverOverwritten)
{
    toolstest::writeFile(path("a.mdb"), "appunti importanti\n");
    const auto result = toolstest::create(GetParam(), path("a.mdb"), cli::ArchiveContents::demo());
    EXPECT_EQ(result.exitCode, int(cli::ExitCode::Refused));
    EXPECT_TRUE(result.err.contains(QStringLiteral("esiste già"))) << result.err.toStdString();
    EXPECT_EQ(toolstest::fileBytes(path("a.mdb")), QByteArray("appunti importanti\n"));
}

TEST_P(CreateCommandTest, ExistingArchiveIsNeverOverwritten)
{
    testsupport::createArchive(path("a.mdb"), {}, 5);
    const QByteArray before = toolstest::fileBytes(path("a.mdb"));
    const auto result = toolstest::create(GetParam(), path("a.mdb"), cli::ArchiveContents::generated(1),
                                          QStringLiteral("nuova"));
    EXPECT_EQ(result.exitCode, int(cli::ExitCode::Refused));
    EXPECT_EQ(toolstest::fileBytes(path("a.mdb")), before);
}

TEST_P(CreateCommandTest, PasswordEncryptsTheWholeFile)
{
    const auto result = toolstest::create(GetParam(), path("chiuso.mdb"), cli::ArchiveContents::demo(),
                                          QStringLiteral("la mia password"));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString head = demoHead();
    const QByteArray bytes = toolstest::fileBytes(path("chiuso.mdb"));
    EXPECT_NE(bytes.left(16), QByteArray("SQLite format 3\0", 16));
    EXPECT_FALSE(containsName(bytes, head)) << head.toStdString();

    const auto checked = toolstest::verify(GetParam(), path("chiuso.mdb"), QStringLiteral("la mia password"));
    EXPECT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    EXPECT_TRUE(checked.out.startsWith(QStringLiteral("Anagrafica %1\n").arg(cli::HouseholdGenerator::kDemoHouseholds)));
}

// The counterpart of the test above, so that it cannot pass for the wrong reason.
TEST_P(CreateCommandTest, WithoutPasswordTheFileIsPlainSqlite)
{
    const auto result = toolstest::create(GetParam(), path("aperto.mdb"), cli::ArchiveContents::demo(),
                                          QString());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString head = demoHead();
    const QByteArray bytes = toolstest::fileBytes(path("aperto.mdb"));
    EXPECT_EQ(bytes.left(16), QByteArray("SQLite format 3\0", 16));
    EXPECT_TRUE(containsName(bytes, head)) << head.toStdString();
}

TEST_P(CreateCommandTest, SameNumberOfCardsGivesTheSameRows)
{
    ASSERT_EQ(toolstest::create(GetParam(), path("uno.mdb"), cli::ArchiveContents::generated(17)).exitCode, 0);
    ASSERT_EQ(toolstest::create(GetParam(), path("due.mdb"), cli::ArchiveContents::generated(17)).exitCode, 0);
    const auto first = toolstest::verify(GetParam(), path("uno.mdb"));
    const auto second = toolstest::verify(GetParam(), path("due.mdb"));
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_TRUE(first.out.startsWith(QStringLiteral("Anagrafica 17\n")));

    toolstest::ArchiveProbe a(path("uno.mdb"));
    toolstest::ArchiveProbe b(path("due.mdb"));
    for (const char *table : {"Anagrafica", "Nucleo"})
        EXPECT_EQ(a.dump(QString::fromLatin1(table)), b.dump(QString::fromLatin1(table))) << table;
}

INSTANTIATE_TEST_SUITE_P(Both, CreateCommandTest, testing::Values(Mode::InProcess, Mode::Executable),
                         [](const auto &info) { return toolstest::modeName(info.param); });

TEST(CreateCommand, RelativePathsAreTakenFromTheWorkingFolder)
{
    QTemporaryDir dir;
    const auto result = toolstest::runCli({"crea-archivio", "tavorio.mdb", "--schede", "2"}, dir.path());
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("tavorio.mdb")));
    const auto checked = toolstest::runCli({"verifica", "tavorio.mdb"}, dir.path());
    EXPECT_EQ(checked.exitCode, 0) << checked.err.toStdString();
}

TEST(CreateCommand, OnlyTheFirstLineOfStandardInputIsThePassword)
{
    QTemporaryDir dir;
    const auto result = toolstest::runCli({"crea-archivio", "a.mdb", "--password-stdin"}, dir.path(),
                                          "primo\r\nsecondo\n");
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(toolstest::runCli({"verifica", "a.mdb", "--password-stdin"}, dir.path(), "primo\n").exitCode, 0);
    EXPECT_EQ(toolstest::runCli({"verifica", "a.mdb", "--password-stdin"}, dir.path(), "secondo\n").exitCode,
              int(cli::ExitCode::BadPassword));
}

TEST(CreateCommand, AnEmptyPasswordLineMakesAPlainArchive)
{
    QTemporaryDir dir;
    ASSERT_EQ(toolstest::runCli({"crea-archivio", "a.mdb", "--password-stdin"}, dir.path(), "\n").exitCode, 0);
    EXPECT_EQ(toolstest::fileBytes(dir.filePath("a.mdb")).left(16), QByteArray("SQLite format 3\0", 16));
    EXPECT_EQ(toolstest::runCli({"verifica", "a.mdb"}, dir.path()).exitCode, 0);
}

class UsageTest : public testing::TestWithParam<QStringList> {};

TEST_P(UsageTest, ExitsWithUsageAndCreatesNothing)
{
    QTemporaryDir dir;
    const auto result = toolstest::runCli(GetParam(), dir.path());
    EXPECT_EQ(result.exitCode, int(cli::ExitCode::Usage));
    EXPECT_TRUE(result.err.contains(QStringLiteral("Uso:"))) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << QDir(dir.path()).entryList().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, UsageTest,
    testing::Values(QStringList{}, QStringList{"copia", "a.mdb"}, QStringList{"crea-archivio"},
                    QStringList{"verifica"}, QStringList{"crea-archivio", "a.mdb", "--demo", "--schede", "3"},
                    QStringList{"crea-archivio", "a.mdb", "--schede"},
                    QStringList{"crea-archivio", "a.mdb", "--schede", "tre"},
                    QStringList{"crea-archivio", "a.mdb", "--schede", "-4"},
                    QStringList{"crea-archivio", "a.mdb", "--schede", "99999999"},
                    QStringList{"crea-archivio", "a.mdb", "--colori"}, QStringList{"verifica", "a.mdb", "--demo"},
                    QStringList{"verifica", "a.mdb", "b.mdb"}));

} // namespace
