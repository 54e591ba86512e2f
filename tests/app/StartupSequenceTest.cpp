#include "AppTestSupport.h"

#include "db/DatabaseError.h"
#include "engine/EngineError.h"
#include "forms/main/StartupSequence.h"
#include "platform/FileOps.h"
#include "session/ProcessValues.h"
#include "store/TArcDatabase.h"
#include "tests/support/TestArchive.h"

#include <QDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

const QString kPassword = QStringLiteral("chiave");

// Runs the sequence with recording steps; the prompt answers from a list.
class StartupSequenceTest : public testing::Test {
protected:
    QString file(const char *name) const { return m_folder.file(QString::fromLatin1(name)); }

    void makeArchive(const QString &password = {})
    {
        testsupport::createArchive(file("tavorio.mdb"), password);
    }

    StartupOutcome run()
    {
        StartupSteps steps;
        steps.restoreLayout = [this](const QString &path) { m_layoutPaths.push_back(path); };
        steps.makePasswordPrompt = [this]() -> PasswordPrompt {
            return [this]() -> std::optional<QString> {
                ++m_asks;
                return m_asks <= int(m_answers.size()) ? m_answers[size_t(m_asks - 1)] : std::nullopt;
            };
        };
        steps.openTables = [this] {
            ++m_openTablesCalls;
            m_connectedWhileOpening = m_database.Connected();
            if (m_openTablesFails)
                throw EDatabaseError(QStringLiteral("Anagrafica: Field 'Fascia' not found"));
        };
        steps.notice = [this](const QString &text) { m_notices.push_back(text); };
        steps.today = [] { return QDate(2026, 12, 9); };
        return runStartupSequence(m_database, steps);
    }

    apptest::WorkingFolder m_folder;
    TArcDatabase m_database;
    std::vector<std::optional<QString>> m_answers;
    bool m_openTablesFails = false;

    std::vector<QString> m_layoutPaths;
    std::vector<QString> m_notices;
    int m_asks = 0;
    int m_openTablesCalls = 0;
    bool m_connectedWhileOpening = false;
};

TEST_F(StartupSequenceTest, UnprotectedArchiveOpensWithEverythingInTheWorkingFolder)
{
    makeArchive();
    ASSERT_EQ(run(), StartupOutcome::Continue);

    const QString folder = m_folder.folder();
    EXPECT_EQ(ProcessValues::applicationFolder(), folder);
    EXPECT_EQ(m_layoutPaths, std::vector<QString>{folder + QStringLiteral("tavorio.ini")});
    EXPECT_EQ(m_database.Database(), folder + QStringLiteral("tavorio.mdb"));
    EXPECT_EQ(m_asks, 0);
    EXPECT_TRUE(m_database.Connected());
    EXPECT_EQ(m_openTablesCalls, 1);
    EXPECT_TRUE(m_connectedWhileOpening);
    EXPECT_TRUE(m_notices.empty());
    EXPECT_TRUE(platform::fileExists(file("tavorio.ldb")));
}

TEST_F(StartupSequenceTest, ArchiveInUseMeansNoBackupAndNoCompaction)
{
    makeArchive(kPassword);
    m_answers = {kPassword};
    const QByteArray before = apptest::readAll(file("tavorio.mdb"));
    // Another user keeps the archive open, and with it the lock file.
    TArcDatabase otherUser;
    otherUser.setDatabase(file("tavorio.mdb"));
    otherUser.setDatabasePassword(kPassword);
    otherUser.setConnected(true);
    ASSERT_TRUE(platform::fileExists(file("tavorio.ldb")));

    ASSERT_EQ(run(), StartupOutcome::Continue);
    m_database.setConnected(false);
    otherUser.setConnected(false);

    EXPECT_FALSE(platform::fileExists(file("tavorio_backup.mdb")));
    EXPECT_EQ(apptest::readAll(file("tavorio.mdb")), before);
    EXPECT_TRUE(QDir(m_folder.folder()).entryList({QStringLiteral("mdb*")}, QDir::Files).isEmpty());
}

// The log the desk's administrator reads: Qt's warnings, captured for one test.
std::vector<QString> g_log;
void recordLog(QtMsgType, const QMessageLogContext &, const QString &text) { g_log.push_back(text); }

TEST_F(StartupSequenceTest, AFailedBackupCopyIsLoggedAndTheStartUpGoesOn)
{
    makeArchive(kPassword);
    m_answers = {kPassword};
    // A plain file where the daily copies' folder should be: that copy cannot be written.
    apptest::writeFile(file("backup"), "not a folder");
    const QByteArray before = apptest::readAll(file("tavorio.mdb"));
    g_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordLog);
    const StartupOutcome outcome = run();
    qInstallMessageHandler(previous);

    ASSERT_EQ(outcome, StartupOutcome::Continue);
    EXPECT_TRUE(m_database.Connected());
    EXPECT_EQ(m_openTablesCalls, 1);
    EXPECT_TRUE(m_notices.empty());
    EXPECT_EQ(apptest::readAll(file("tavorio_backup.mdb")), before);
    EXPECT_EQ(apptest::readAll(file("backup")), QByteArray("not a folder"));
    ASSERT_EQ(g_log.size(), 1u);
    EXPECT_TRUE(g_log.front().contains(file("backup/tavorio_2026-12-09.mdb"))) << g_log.front().toStdString();
    EXPECT_FALSE(g_log.front().contains(kPassword));
}

class StartupBackupTest : public StartupSequenceTest, public testing::WithParamInterface<QString> {};

TEST_P(StartupBackupTest, WithoutLockFileTheBackupIsThePreStartArchive)
{
    makeArchive(GetParam());
    m_answers = {GetParam()};
    apptest::writeFile(file("tavorio_backup.mdb"), "a stale backup");
    const QByteArray before = apptest::readAll(file("tavorio.mdb"));

    ASSERT_EQ(run(), StartupOutcome::Continue);

    EXPECT_EQ(apptest::readAll(file("tavorio_backup.mdb")), before);
    EXPECT_TRUE(m_database.Connected());
    EXPECT_EQ(m_openTablesCalls, 1);
    // Compaction leaves no temporary file behind.
    EXPECT_TRUE(QDir(m_folder.folder()).entryList({QStringLiteral("mdb*")}, QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Passwords, StartupBackupTest, testing::Values(QString(), kPassword),
                         [](const testing::TestParamInfo<QString> &info) {
                             return info.param.isEmpty() ? std::string("Unprotected") : std::string("Protected");
                         });

struct StopCase {
    const char *name;
    std::vector<std::optional<QString>> answers;
    StartupOutcome outcome;
};

void PrintTo(const StopCase &c, std::ostream *os) { *os << c.name; }

class StartupStopTest : public StartupSequenceTest, public testing::WithParamInterface<StopCase> {};

TEST_P(StartupStopTest, GateEndsTheSequenceBeforeMaintenance)
{
    makeArchive(kPassword);
    m_answers = GetParam().answers;
    const QByteArray before = apptest::readAll(file("tavorio.mdb"));

    EXPECT_EQ(run(), GetParam().outcome);
    EXPECT_TRUE(endsProgram(GetParam().outcome));
    EXPECT_FALSE(m_database.Connected());
    EXPECT_EQ(m_openTablesCalls, 0);
    EXPECT_TRUE(m_notices.empty());
    EXPECT_FALSE(platform::fileExists(file("tavorio_backup.mdb")));
    EXPECT_EQ(apptest::readAll(file("tavorio.mdb")), before);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, StartupStopTest,
    testing::Values(StopCase{"Annulla", {std::nullopt}, StartupOutcome::Cancelled},
                    StopCase{"ThreeWrong", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
                             StartupOutcome::Refused}),
    [](const testing::TestParamInfo<StopCase> &info) { return std::string(info.param.name); });

TEST_F(StartupSequenceTest, ConnectFailureAfterTheGateShowsTheConnectionError)
{
    makeArchive();
    // The gate's connect is the first; the archive vanishes just before the final one.
    int connects = 0;
    m_database.OnBeforeConnect = [&](TArcDatabase &) {
        if (++connects == 2)
            platform::deleteFile(file("tavorio.mdb"));
    };

    EXPECT_EQ(run(), StartupOutcome::ConnectionFailed);
    EXPECT_EQ(connects, 2);
    EXPECT_EQ(m_notices, std::vector<QString>{QStringLiteral("   Errore di connessione al DB.   ")});
    EXPECT_EQ(m_openTablesCalls, 0);
    EXPECT_FALSE(m_database.Connected());
}

TEST_F(StartupSequenceTest, TableFailureShowsTheConnectionError)
{
    makeArchive();
    m_openTablesFails = true;

    EXPECT_EQ(run(), StartupOutcome::ConnectionFailed);
    EXPECT_EQ(m_notices, std::vector<QString>{kConnectionErrorMessage});
}

TEST_F(StartupSequenceTest, MaintenanceErrorReachesTheCaller)
{
    makeArchive();
    // The archive disappears after the gate's disconnect: the copy fails silently, the
    // compaction loudly.
    m_database.OnAfterDisconnect = [&](TArcDatabase &) { platform::deleteFile(file("tavorio.mdb")); };

    EXPECT_ANY_THROW(run());
    EXPECT_EQ(m_openTablesCalls, 0);
    EXPECT_TRUE(m_notices.empty());
    EXPECT_FALSE(m_database.Connected());
    EXPECT_FALSE(platform::fileExists(file("tavorio_backup.mdb")));
}

// No password opens a missing, empty or foreign file: nobody is asked for one.
class StartupUnopenableTest : public StartupSequenceTest, public testing::WithParamInterface<const char *> {};

TEST_P(StartupUnopenableTest, AFileThatIsNoArchiveEndsWithTheConnectionError)
{
    const std::string kind = GetParam();
    if (kind == "Empty")
        apptest::writeFile(file("tavorio.mdb"), "");
    else if (kind == "Foreign")
        apptest::writeFile(file("tavorio.mdb"), QByteArray("%PDF-1.4 lettera\n").repeated(200));
    m_answers = {kPassword, kPassword, kPassword};

    EXPECT_EQ(run(), StartupOutcome::ConnectionFailed);
    EXPECT_EQ(m_asks, 0);
    EXPECT_EQ(m_notices, std::vector<QString>{kConnectionErrorMessage});
    EXPECT_EQ(m_openTablesCalls, 0);
    EXPECT_FALSE(platform::fileExists(file("tavorio_backup.mdb")));
}

INSTANTIATE_TEST_SUITE_P(Files, StartupUnopenableTest, testing::Values("Missing", "Empty", "Foreign"));

TEST_F(StartupSequenceTest, ADamagedArchiveKeepsTheLastGoodBackupAndIsNotCompacted)
{
    testsupport::createArchive(file("tavorio.mdb"), kPassword, 300);
    m_answers = {kPassword};
    ASSERT_EQ(run(), StartupOutcome::Continue);
    m_database.setConnected(false);
    const QByteArray goodBackup = apptest::readAll(file("tavorio_backup.mdb"));
    EXPECT_EQ(apptest::readAll(file("backup/tavorio_2026-12-09.mdb")), goodBackup);

    // Pages of the second half are overwritten: the archive still opens, its cards do not read.
    QByteArray damaged = apptest::readAll(file("tavorio.mdb"));
    for (qsizetype at = damaged.size() / 2048 * 1024; at < damaged.size(); at += 1024)
        damaged.replace(at, 32, QByteArray(32, 'Z'));
    apptest::writeFile(file("tavorio.mdb"), damaged);
    m_answers = {kPassword};
    m_openTablesCalls = 0;

    try {
        const StartupOutcome outcome = run();
        ADD_FAILURE() << "the damaged archive went through the start-up: " << int(outcome) << " "
                      << (m_notices.empty() ? std::string() : m_notices.back().toStdString());
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.number(), dao::errDatabaseCorrupt);
        EXPECT_TRUE(error.description().contains(file("tavorio_backup.mdb"))) << error.description().toStdString();
    }
    EXPECT_EQ(m_openTablesCalls, 0);
    EXPECT_FALSE(m_database.Connected());
    EXPECT_EQ(apptest::readAll(file("tavorio_backup.mdb")), goodBackup);
    EXPECT_EQ(apptest::readAll(file("tavorio.mdb")), damaged);
}

} // namespace
