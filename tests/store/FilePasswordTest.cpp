#include "store/FilePassword.h"

#include "tests/support/TestArchive.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kPlainHeader("SQLite format 3\0", 16);

}

TEST(FilePassword, BackupFollowsTheArchivePasswordAndKeepsItsCards)
{
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("tavorio_backup.mdb"));
    testsupport::createArchive(backup, {}, 4);
    ASSERT_EQ(bytesOf(backup).left(16), kPlainHeader);

    ASSERT_TRUE(store::changeFilePassword(backup, {}, QStringLiteral("nuova")));
    const QByteArray encrypted = bytesOf(backup);
    EXPECT_NE(encrypted.left(16), kPlainHeader);
    EXPECT_FALSE(encrypted.contains("Caritas"));

    // A wrong old password leaves the file exactly as it was.
    EXPECT_FALSE(store::changeFilePassword(backup, QStringLiteral("sbagliata"), {}));
    EXPECT_EQ(bytesOf(backup), encrypted);

    ASSERT_TRUE(store::changeFilePassword(backup, QStringLiteral("nuova"), {}));
    EXPECT_EQ(bytesOf(backup).left(16), kPlainHeader);
    EXPECT_TRUE(bytesOf(backup).contains("Caritas"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("tavorio_backup.ldb"))));
}

TEST(FilePassword, MissingFileIsNoChange)
{
    QTemporaryDir dir;
    EXPECT_FALSE(store::changeFilePassword(dir.filePath(QStringLiteral("nessuno.mdb")), {}, QStringLiteral("x")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nessuno.mdb"))));
}
