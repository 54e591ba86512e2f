// The supplied files of an installed program: found from the executable's folder only in an
// installed layout, and copied into an application folder without touching what is there.

#include "platform/SuppliedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SuppliedFiles, FoundBesideAnInstalledExecutableOnly)
{
    const QTemporaryDir prefix;
    QDir().mkpath(prefix.filePath(QStringLiteral("bin")));
    const QString bin = prefix.filePath(QStringLiteral("bin")) + QLatin1Char('/');
    EXPECT_EQ(platform::suppliedFolder(bin), QString());

    write(prefix.filePath(QStringLiteral("share/tavorio/stampe/elenco.qnf")), "x");
    const QString supplied = QDir(prefix.filePath(QStringLiteral("share/tavorio"))).canonicalPath() + QLatin1Char('/');
    EXPECT_EQ(platform::suppliedFolder(bin), supplied);
    EXPECT_EQ(platform::suppliedFile(QStringLiteral("stampe/elenco.qnf"), bin), supplied + QStringLiteral("stampe/elenco.qnf"));
    EXPECT_EQ(platform::suppliedFile(QStringLiteral("stampe/altro.qnf"), bin), QString());
    // The test program itself runs from a build tree.
    EXPECT_EQ(platform::suppliedFolder(), QString());
}

TEST(SuppliedFiles, OnlyMissingFilesAreCopiedAndTheCopiesAreTheUsers)
{
    const QTemporaryDir from;
    const QTemporaryDir to;
    write(from.filePath(QStringLiteral("stampe/a.qnf")), "a fornito");
    write(from.filePath(QStringLiteral("stampe/b.qnf")), "b fornito");
    write(from.filePath(QStringLiteral("manuale.pdf")), "manuale");
    QFile::setPermissions(from.filePath(QStringLiteral("stampe/b.qnf")), QFileDevice::ReadOwner | QFileDevice::ReadOther);
    write(to.filePath(QStringLiteral("stampe/a.qnf")), "a dell'utente");

    const QStringList copied = platform::copyMissingFiles(from.path(), to.path());

    EXPECT_EQ(copied, (QStringList{QStringLiteral("manuale.pdf"), QStringLiteral("stampe/b.qnf")}));
    EXPECT_EQ(read(to.filePath(QStringLiteral("stampe/a.qnf"))), "a dell'utente");
    EXPECT_EQ(read(to.filePath(QStringLiteral("stampe/b.qnf"))), "b fornito");
    EXPECT_TRUE(QFileInfo(to.filePath(QStringLiteral("stampe/b.qnf"))).isWritable());
    EXPECT_TRUE(platform::copyMissingFiles(from.path(), to.path()).isEmpty());
}

} // namespace
