#include "platform/FileOps.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FileOps : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString folder() const { return m_dir.path() + u'/'; }
    QString path(const char *name) const { return folder() + QLatin1String(name); }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    static void write(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(content), content.size());
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

// Bigger than one read, and with bytes a text-mode copy would mangle.
QByteArray binaryContent()
{
    QByteArray content;
    for (int i = 0; i < 700 * 1024 + 13; ++i)
        content.append(char((i * 31 + i / 251) & 0xFF));
    return content;
}

TEST_F(FileOps, CopyReplacesTheDestinationExactly)
{
    const QByteArray content = binaryContent();
    write(path("src.mdb"), content);
    write(path("dst.mdb"), QByteArray(content.size() * 2, 'x'));

    ASSERT_TRUE(platform::copyFile(path("src.mdb"), path("dst.mdb")));

    EXPECT_EQ(read(path("dst.mdb")), content);
    EXPECT_EQ(read(path("src.mdb")), content);
    EXPECT_EQ(entries(), (QStringList{"dst.mdb", "src.mdb"})) << "no temporary file is left";
}

TEST_F(FileOps, FailedCopyLeavesTheDestinationAlone)
{
    write(path("dst.mdb"), "old");

    EXPECT_FALSE(platform::copyFile(path("missing.mdb"), path("dst.mdb")));
    EXPECT_FALSE(platform::copyFile(m_dir.path(), path("dst.mdb"))) << "a folder is not a file to copy";

    EXPECT_EQ(read(path("dst.mdb")), "old");
    EXPECT_EQ(entries(), QStringList{"dst.mdb"});
}

TEST_F(FileOps, CopyIntoAMissingFolderFails)
{
    write(path("src.mdb"), "data");
    EXPECT_FALSE(platform::copyFile(path("src.mdb"), path("none/dst.mdb")));
    EXPECT_FALSE(platform::fileExists(path("none/dst.mdb")));
}

TEST_F(FileOps, TempNamesAreNewFilesWithThePrefix)
{
    const QRegularExpression shape(QStringLiteral("^tav[0-9A-F]{4}\\.tmp$"));
    QSet<QString> names;
    for (int i = 0; i < 40; ++i) {
        const QString name = platform::uniqueTempFileName(folder(), QStringLiteral("tav"));
        ASSERT_TRUE(name.startsWith(folder())) << name.toStdString();
        EXPECT_TRUE(shape.match(platform::fileNameOf(name)).hasMatch()) << name.toStdString();
        EXPECT_TRUE(platform::fileExists(name));
        EXPECT_EQ(QFileInfo(name).size(), 0);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 40);
}

// Every other name is taken: the only free one must be found, and then none is left.
TEST_F(FileOps, TempNameSearchesTheWholeRangeThenGivesUp)
{
    constexpr int FreeValue = 0xBEEF;
    for (int value = 0; value <= 0xFFFF; ++value) {
        if (value != FreeValue)
            write(folder() + QStringLiteral("tav%1.tmp").arg(QString::number(value, 16).toUpper().rightJustified(4, u'0')), {});
    }
    EXPECT_EQ(platform::uniqueTempFileName(folder(), QStringLiteral("tav")), path("tavBEEF.tmp"));
    EXPECT_TRUE(platform::uniqueTempFileName(folder(), QStringLiteral("tav")).isEmpty());
}

TEST_F(FileOps, TempNameFailsInAMissingFolder)
{
    EXPECT_TRUE(platform::uniqueTempFileName(path("none/"), QStringLiteral("tav")).isEmpty());
}

TEST_F(FileOps, AtomicReplaceMovesTheNewContentIn)
{
    write(path("new.tmp"), "new");
    write(path("tavorio.mdb"), "old");
    ASSERT_TRUE(platform::atomicReplace(path("new.tmp"), path("tavorio.mdb")));
    EXPECT_EQ(read(path("tavorio.mdb")), "new");
    EXPECT_EQ(entries(), QStringList{"tavorio.mdb"});
    EXPECT_FALSE(platform::atomicReplace(path("new.tmp"), path("tavorio.mdb")));
    EXPECT_EQ(read(path("tavorio.mdb")), "new");
}

TEST_F(FileOps, ExistsSyncAndDeleteTellMissingFilesApart)
{
    write(path("a.mdb"), "a");
    EXPECT_TRUE(platform::fileExists(path("a.mdb")));
    EXPECT_FALSE(platform::fileExists(m_dir.path())) << "a folder is not a file";
    EXPECT_TRUE(platform::syncFile(path("a.mdb")));
    EXPECT_TRUE(platform::syncFolder(folder()));

    EXPECT_TRUE(platform::deleteFile(path("a.mdb")));
    EXPECT_FALSE(platform::fileExists(path("a.mdb")));
    EXPECT_FALSE(platform::deleteFile(path("a.mdb")));
    EXPECT_FALSE(platform::syncFile(path("a.mdb")));
    EXPECT_FALSE(platform::syncFolder(path("none/")));
}

TEST(FileOpsFolders, RunningAndWorkingFoldersEndWithSlash)
{
    const QString exe = platform::executableFolder();
    EXPECT_TRUE(exe.startsWith(u'/') && exe.endsWith(u'/')) << exe.toStdString();
    EXPECT_TRUE(QFileInfo(exe).isDir());
    EXPECT_EQ(platform::currentFolder(), QDir::currentPath() + u'/');
}

struct PathCase {
    const char *path;
    const char *folder;
    const char *name;
};

class FileOpsPathParts : public ::testing::TestWithParam<PathCase> {};

TEST_P(FileOpsPathParts, SplitsAtTheLastSlash)
{
    const QString path = QString::fromUtf8(GetParam().path);
    EXPECT_EQ(platform::folderOf(path), QString::fromUtf8(GetParam().folder));
    EXPECT_EQ(platform::fileNameOf(path), QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Paths, FileOpsPathParts,
                         ::testing::Values(PathCase{"/a/b/c.mdb", "/a/b/", "c.mdb"},
                                           PathCase{"c.mdb", "", "c.mdb"},
                                           PathCase{"/c.mdb", "/", "c.mdb"},
                                           PathCase{"/a/b/", "/a/b/", ""},
                                           PathCase{"rel/città.mdb", "rel/", "città.mdb"},
                                           PathCase{"", "", ""}));

} // namespace

