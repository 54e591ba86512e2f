// The backup copies: made only of a sound archive, under the lock, and never left torn,
// whatever step the process dies at.

#include "StoreTestSupport.h"

#include "engine/EngineError.h"
#include "platform/CrashPoints.h"
#include "platform/LockFile.h"
#include "store/ArchiveBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>


namespace {

using store::ArchiveBackup;
using store_test::CrashStatus;
using store_test::runInChild;
using store_test::StoreTest;

constexpr int OldRows = 3;
constexpr int BackupRows = 200;
const QDate Today(2026, 12, 9);

// Garbage over the start of every page but the first: the file still opens, its tables do not.
void damage(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (qint64 page = 1; page * 1024 < file.size(); ++page) {
        file.seek(page * 1024);
        file.write(QByteArray(48, '\x5a'));
    }
}

int rowsOrMinusOne(const QString &path, const QString &password)
{
    try {
        return store_test::rowCount(path, password);
    } catch (const dao::EngineError &) {
        return -1;
    }
}

class ArchiveBackupTest : public StoreTest, public ::testing::WithParamInterface<const char *> {
protected:
    void SetUp() override
    {
        m_path = pathOf(QStringLiteral("tavorio.mdb"));
        store_test::makeArchive(m_path, password(), BackupRows);
    }
    QString password() const { return GetParam(); }
    ArchiveBackup backup(QDate day = Today) const { return ArchiveBackup(m_path, day); }

    QString m_path;
};

TEST_P(ArchiveBackupTest, CopiesASoundArchiveAndKeepsSevenDays)
{
    for (int day = 0; day < 10; ++day)
        backup(Today.addDays(day)).refresh(password());
    EXPECT_EQ(rowsOrMinusOne(backup().backupPath(), password()), BackupRows);
    QStringList expected;
    for (int day = 3; day < 10; ++day)
        expected << QFileInfo(backup().dailyPath(Today.addDays(day))).fileName();
    EXPECT_EQ(store_test::folderEntries(backup().dailyFolder()), expected);
    EXPECT_EQ(rowsOrMinusOne(backup().dailyPath(Today.addDays(9)), password()), BackupRows);
    // No temporary copy and no lock file stay behind.
    EXPECT_EQ(store_test::folderEntries(folder()),
              (QStringList{QStringLiteral("backup"), QStringLiteral("tavorio.mdb"), QStringLiteral("tavorio_backup.mdb")}));
}

TEST_P(ArchiveBackupTest, ADamagedArchiveNeverReplacesTheLastGoodCopy)
{
    backup().refresh(password());
    const QByteArray good = store_test::fileBytes(backup().backupPath());
    damage(m_path);
    const QByteArray damaged = store_test::fileBytes(m_path);
    try {
        backup(Today.addDays(1)).refresh(password());
        ADD_FAILURE() << "the damaged archive was copied";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.number(), dao::errDatabaseCorrupt);
        EXPECT_TRUE(error.description().contains(QStringLiteral("è danneggiato"))) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(backup().backupPath())) << error.description().toStdString();
    }
    EXPECT_EQ(store_test::fileBytes(backup().backupPath()), good);
    EXPECT_FALSE(QFileInfo::exists(backup().dailyPath(Today.addDays(1))));
    EXPECT_EQ(store_test::fileBytes(m_path), damaged);
    EXPECT_FALSE(store::archiveProblems(m_path, password()).isEmpty());
}

TEST_P(ArchiveBackupTest, AnArchiveInUseIsNotCopied)
{
    const auto holder = platform::LockFile::acquire(m_path, platform::LockFile::Mode::Shared);
    ASSERT_TRUE(holder);
    try {
        backup().refresh(password());
        ADD_FAILURE() << "copied while in use";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.number(), dao::errFileInUse);
    }
    EXPECT_FALSE(QFileInfo::exists(backup().backupPath()));
}

INSTANTIATE_TEST_SUITE_P(Archive, ArchiveBackupTest, ::testing::Values("", "pa;PWD=ss=wo;rd"),
                         [](const auto &info) { return std::string(*info.param ? "Encrypted" : "Plain"); });

// The process dies at each step of the two copies: the archive is intact and each copy is
// either the one before or a complete new one.
class BackupCrashTest : public StoreTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(BackupCrashTest, EveryCopyIsTheOldOneOrACompleteNewOne)
{
    const QString path = pathOf(QStringLiteral("tavorio.mdb"));
    const ArchiveBackup backup(path, Today);
    store_test::makeArchive(path, QStringLiteral("segreta"), BackupRows);
    store_test::makeArchive(backup.backupPath(), QStringLiteral("segreta"), OldRows);
    QDir().mkpath(backup.dailyFolder());
    store_test::makeArchive(backup.dailyPath(Today), QStringLiteral("segreta"), OldRows);

    const int status = runInChild([&] {
        platform::armCrashPoint(GetParam());
        backup.refresh(QStringLiteral("segreta"));
        return 0;
    });
    ASSERT_EQ(status, CrashStatus);

    EXPECT_EQ(rowsOrMinusOne(path, QStringLiteral("segreta")), BackupRows);
    const int backupRows = rowsOrMinusOne(backup.backupPath(), QStringLiteral("segreta"));
    const int dailyRows = rowsOrMinusOne(backup.dailyPath(Today), QStringLiteral("segreta"));
    const std::string point = GetParam();
    const bool backupReplaced = point == "backup.renamed" || point.rfind("daily", 0) == 0;
    EXPECT_EQ(backupRows, backupReplaced ? BackupRows : OldRows);
    EXPECT_EQ(dailyRows, point == "daily.renamed" ? BackupRows : OldRows);

    // The next start takes over the dead holder's lock and finishes the job.
    backup.refresh(QStringLiteral("segreta"));
    EXPECT_EQ(rowsOrMinusOne(backup.backupPath(), QStringLiteral("segreta")), BackupRows);
    EXPECT_EQ(rowsOrMinusOne(backup.dailyPath(Today), QStringLiteral("segreta")), BackupRows);
}

INSTANTIATE_TEST_SUITE_P(Backup, BackupCrashTest,
                         ::testing::Values("backup.copied", "backup.flushed", "backup.renamed", "daily.copied",
                                           "daily.flushed", "daily.renamed"),
                         [](const auto &info) {
                             std::string name = info.param;
                             name[name.find('.')] = '_';
                             return name;
                         });

} // namespace
