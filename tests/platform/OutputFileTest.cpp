// The one writer of output files: whole or nothing, never over a file that a failed write
// would destroy, never readable by anyone but its owner, nothing left behind.

#include "platform/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

namespace {

class OutputFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A permissive umask must not open the file up.
        m_umask = ::umask(0);
    }
    void TearDown() override { ::umask(m_umask); }

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name); }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int modeOf(const QString &path)
    {
        struct stat s {};
        return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? int(s.st_mode & 07777) : -1;
    }
    // A file with a previous content, readable by everyone.
    static void existing(const QString &path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("contenuto di prima");
        file.close();
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                                    | QFileDevice::ReadOther));
    }
    // Writes half of its content into the temporary file, then fails.
    static bool halfThenFail(const QString &temporary)
    {
        QFile file(temporary);
        return file.open(QIODevice::WriteOnly) && file.write("metà") > 0 && false;
    }

    QTemporaryDir m_dir;
    mode_t m_umask = 022;
};

TEST_F(OutputFile, AWrittenFileIsWholeAndTheOwnersOnlyAlsoWhenItReplacesOne)
{
    ASSERT_TRUE(platform::writeOutputBytes(path("nuovo.csv"), "a;b\r\n"));
    EXPECT_EQ(read(path("nuovo.csv")), QByteArray("a;b\r\n"));
    EXPECT_EQ(modeOf(path("nuovo.csv")), 0600);

    existing(path("elenco.pdf"));
    ASSERT_TRUE(platform::writeOutputBytes(path("elenco.pdf"), "%PDF nuovo"));
    EXPECT_EQ(read(path("elenco.pdf")), QByteArray("%PDF nuovo"));
    EXPECT_EQ(modeOf(path("elenco.pdf")), 0600);
    EXPECT_EQ(entries(), (QStringList{"elenco.pdf", "nuovo.csv"}));
}

TEST_F(OutputFile, AFailedWriteLeavesNoFileNoTemporaryAndTheOldFileAsItWas)
{
    QString error;
    EXPECT_FALSE(platform::writeThroughTemporary(path("nuovo.pdf"), halfThenFail, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path("nuovo.pdf")))) << error.toStdString();
    EXPECT_TRUE(entries().isEmpty()) << entries().join(' ').toStdString();

    existing(path("elenco.pdf"));
    EXPECT_FALSE(platform::writeThroughTemporary(path("elenco.pdf"), halfThenFail));
    EXPECT_THROW(platform::writeThroughTemporary(path("elenco.pdf"),
                                                 [](const QString &temporary) -> bool {
                                                     halfThenFail(temporary);
                                                     throw std::runtime_error("scrittura interrotta");
                                                 }),
                 std::runtime_error);
    EXPECT_EQ(read(path("elenco.pdf")), QByteArray("contenuto di prima"));
    EXPECT_EQ(modeOf(path("elenco.pdf")), 0644);

    // The rename itself refused: a folder holds the name.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("cartella.pdf/dentro")));
    EXPECT_FALSE(platform::writeOutputBytes(path("cartella.pdf"), "%PDF", &error));
    EXPECT_TRUE(QFileInfo(path("cartella.pdf/dentro")).isDir());
    EXPECT_EQ(entries(), (QStringList{"cartella.pdf", "elenco.pdf"}));

    // A folder that does not exist: said, and nothing made.
    EXPECT_FALSE(platform::writeOutputBytes(path("manca/elenco.pdf"), "%PDF", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(entries(), (QStringList{"cartella.pdf", "elenco.pdf"}));
}

} // namespace
