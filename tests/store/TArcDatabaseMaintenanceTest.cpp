// Repair and compaction of the closed archive file, including a process dying half-way.

#include "StoreTestSupport.h"

#include "engine/EngineError.h"
#include "platform/CrashPoints.h"
#include "platform/EngineRegistry.h"
#include "platform/LockFile.h"
#include "store/TArcDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using store_test::CrashStatus;
using store_test::runInChild;
using store_test::StoreTest;

constexpr int MaintenanceRows = 25;
// The temporary copies a compaction may leave behind: "mdb" + four hex digits + ".tmp".
QStringList tempFilesIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("mdb????.tmp")}, QDir::Files);
}

ino_t inodeOf(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

class MaintenanceTest : public StoreTest {
protected:
    void SetUp() override { m_path = pathOf(QStringLiteral("tavorio.mdb")); }
    QString m_path;
};

struct Compaction {
    const char *name;
    const char *password;
    bool viaRepair;
};

class CompactionTest : public MaintenanceTest, public ::testing::WithParamInterface<Compaction> {};

TEST_P(CompactionTest, ReplacesTheFileKeepingEveryRow)
{
    const QString password = QString::fromLatin1(GetParam().password);
    store_test::makeArchive(m_path, password, MaintenanceRows);
    const ino_t before = inodeOf(m_path);
    TArcDatabase db;
    if (GetParam().viaRepair)
        db.RepairDatabaseFile(m_path, password);
    else
        db.CompactDatabaseFile(m_path, password);

    EXPECT_NE(inodeOf(m_path), before);
    EXPECT_EQ(store_test::rowCount(m_path, password), MaintenanceRows);
    EXPECT_EQ(store_test::folderEntries(folder()), QStringList{QStringLiteral("tavorio.mdb")});
    if (!password.isEmpty()) {
        EXPECT_THROW(store_test::rowCount(m_path, QString()), dao::EngineError);
    }
}

INSTANTIATE_TEST_SUITE_P(Archive, CompactionTest,
                         ::testing::Values(Compaction{"plain", "", false}, Compaction{"encrypted", "segreta", false},
                                           Compaction{"repairIsCompaction", "segreta", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(MaintenanceTest, EngineFailureLeavesTheFileUntouched)
{
    store_test::makeArchive(m_path, QStringLiteral("segreta"), MaintenanceRows);
    const QByteArray before = store_test::fileBytes(m_path);
    TArcDatabase db;
    EXPECT_THROW(db.CompactDatabaseFile(m_path, QStringLiteral("sbagliata")), dao::EngineError);
    EXPECT_EQ(store_test::fileBytes(m_path), before);
    EXPECT_EQ(store_test::folderEntries(folder()), QStringList{QStringLiteral("tavorio.mdb")});
}

TEST_F(MaintenanceTest, ArchiveInUseIsNotReplaced)
{
    store_test::makeArchive(m_path, QString(), MaintenanceRows);
    TArcDatabase user;
    user.setDatabase(m_path);
    user.Open();
    const QByteArray before = store_test::fileBytes(m_path);
    TArcDatabase db;
    EXPECT_THROW(db.CompactDatabaseFile(m_path, QString()), dao::EngineError);
    EXPECT_EQ(store_test::fileBytes(m_path), before);
    EXPECT_TRUE(tempFilesIn(folder()).isEmpty());
}

TEST_F(MaintenanceTest, OlderEngineRepairsInPlace)
{
    platform::setEngineClassRegistered(QStringLiteral("DAO.DBEngine.35"), true);
    store_test::makeArchive(m_path, QString(), MaintenanceRows);
    const ino_t before = inodeOf(m_path);
    TArcDatabase db;
    ASSERT_EQ(db.Version(), QStringLiteral("3.5"));
    db.RepairDatabaseFile(m_path, QStringLiteral("ignorata"));
    EXPECT_EQ(inodeOf(m_path), before);
    EXPECT_EQ(store_test::rowCount(m_path, QString()), MaintenanceRows);
}

TEST_F(MaintenanceTest, BareFileNameWorksInTheCurrentFolder)
{
    store_test::makeArchive(m_path, QString(), MaintenanceRows);
    // Stopped right after the copy is written, the child shows where the copy went.
    const int status = runInChild([this] {
        if (::chdir(QFile::encodeName(m_dir.path()).constData()) != 0)
            return 3;
        TArcDatabase db;
        platform::armCrashPoint("compact.after_export");
        db.CompactDatabaseFile(QStringLiteral("tavorio.mdb"), QString());
        return 0;
    });
    ASSERT_EQ(status, CrashStatus);
    EXPECT_EQ(tempFilesIn(folder()).size(), 1);

    const int finished = runInChild([this] {
        if (::chdir(QFile::encodeName(m_dir.path()).constData()) != 0)
            return 3;
        TArcDatabase db;
        db.CompactDatabaseFile(QStringLiteral("tavorio.mdb"), QString());
        return 0;
    });
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(store_test::rowCount(m_path, QString()), MaintenanceRows);
}

class CrashTest : public MaintenanceTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(CrashTest, ArchiveSurvivesADeathAtEveryStep)
{
    store_test::makeArchive(m_path, QStringLiteral("segreta"), MaintenanceRows);
    const int status = runInChild([this] {
        TArcDatabase db;
        platform::armCrashPoint(GetParam());
        db.CompactDatabaseFile(m_path, QStringLiteral("segreta"));
        return 0;
    });
    ASSERT_EQ(status, CrashStatus);

    EXPECT_EQ(store_test::rowCount(m_path, QStringLiteral("segreta")), MaintenanceRows);
    EXPECT_FALSE(QFileInfo::exists(m_path + QStringLiteral("-journal")));
    // A copy left by the dead process is a stray file, never taken for the archive; the
    // next compaction works over it and over the dead holder's lock file.
    TArcDatabase db;
    db.CompactDatabaseFile(m_path, QStringLiteral("segreta"));
    EXPECT_EQ(store_test::rowCount(m_path, QStringLiteral("segreta")), MaintenanceRows);
    EXPECT_FALSE(QFileInfo::exists(platform::LockFile::pathFor(m_path)));
}

INSTANTIATE_TEST_SUITE_P(Compaction, CrashTest,
                         ::testing::Values("compact.after_export", "compact.after_sync", "compact.after_rename"),
                         [](const auto &info) {
                             std::string name = info.param;
                             return name.substr(name.find('.') + 1);
                         });

} // namespace
