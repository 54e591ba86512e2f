// The ini file functions: edits that keep the rest of the file, numbers, quoting, and writes
// that either land whole or not at all.

#include "LayoutTestSupport.h"

#include "layout/EIniFileException.h"
#include "layout/IniDocument.h"
#include "layout/IniLayoutKeys.h"
#include "layout/IniNumbers.h"
#include "layout/PrivateProfile.h"
#include "layout/WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(IniDocument, ChangedKeyKeepsItsLineAndNewKeyEndsItsSectionBeforeTheBlankLine)
{
    IniDocument document("; kept\r\n[One]\r\nA=1\r\nb = 2\r\n\r\n[Two]\r\nC=3");
    document.setValue("one", "B", "20");
    document.setValue("One", "D", "4");
    document.setValue("Three", "E", "5");
    EXPECT_EQ(document.toBytes(),
              "; kept\r\n[One]\r\nA=1\r\nb=20\r\nD=4\r\n\r\n[Two]\r\nC=3\r\n\r\n[Three]\r\nE=5\r\n");
}

TEST(IniDocument, ReadingTrimsAndTakesOffOnePairOfQuotes)
{
    const IniDocument document("[S]\n  Key =  \"\"quoted\"\"  \nSingle='x'\nHalf=\"x\nEmpty=\n");
    EXPECT_EQ(document.value("s", "KEY"), "\"quoted\"");
    EXPECT_EQ(document.value("S", "Single"), "x");
    EXPECT_EQ(document.value("S", "Half"), "\"x");
    EXPECT_EQ(document.value("S", "Empty"), "");
    EXPECT_EQ(document.value("S", "Missing"), std::nullopt);
    EXPECT_EQ(document.value("Other", "Key"), std::nullopt);
}

TEST(IniDocument, RemovingASectionTakesAllItsLinesAndNothingElse)
{
    IniDocument document("[A]\nx=1\n\n[B]\ny=2\n; note\n[C]\nz=3\n");
    EXPECT_TRUE(document.removeSection("b"));
    EXPECT_FALSE(document.removeSection("B"));
    EXPECT_EQ(document.toBytes(), "[A]\nx=1\n\n[C]\nz=3\n");
}

struct NumberCase {
    const char *text;
    std::optional<int> expected;
};

class IniNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(IniNumberTest, ReadsAsTheFileMeansIt)
{
    EXPECT_EQ(ininumbers::toInteger(QString::fromLatin1(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniNumberTest,
    testing::Values(NumberCase{"42", 42}, NumberCase{"-7", -7}, NumberCase{" 5 ", 5}, NumberCase{"0x1F", 31},
                    NumberCase{"0XfF", 255}, NumberCase{"$10", 16}, NumberCase{"0xFFFFFFFF", -1},
                    NumberCase{"2147483647", std::numeric_limits<int>::max()},
                    NumberCase{"-2147483648", std::numeric_limits<int>::min()}, NumberCase{"2147483648", std::nullopt},
                    NumberCase{"0x100000000", std::nullopt}, NumberCase{"0x", std::nullopt},
                    NumberCase{"", std::nullopt}, NumberCase{"12a", std::nullopt}, NumberCase{"1,2", std::nullopt}));

struct ShowCommandCase {
    int showCmd;
    Qt::WindowState expected;
};

class ShowCommandTest : public testing::TestWithParam<ShowCommandCase> {};

TEST_P(ShowCommandTest, MapsToTheWindowState)
{
    EXPECT_EQ(windowStateForShowCommand(GetParam().showCmd, Qt::WindowActive), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ShowCommandTest,
    testing::Values(ShowCommandCase{0, Qt::WindowActive}, ShowCommandCase{1, Qt::WindowNoState},
                    ShowCommandCase{2, Qt::WindowMinimized}, ShowCommandCase{3, Qt::WindowMaximized},
                    ShowCommandCase{4, Qt::WindowActive}, ShowCommandCase{5, Qt::WindowNoState},
                    ShowCommandCase{6, Qt::WindowMinimized}, ShowCommandCase{7, Qt::WindowMinimized},
                    ShowCommandCase{8, Qt::WindowActive}, ShowCommandCase{9, Qt::WindowNoState},
                    ShowCommandCase{10, Qt::WindowActive}));

class IniFileTest : public testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_ini = m_dir.filePath(QStringLiteral("tavorio.ini"));
};

TEST_F(IniFileTest, QuotedTextAndNumbersReadBackAsWritten)
{
    IniLayoutKeys keys(m_ini);
    keys.write("S", "Double", "\"a b\"");
    keys.write("S", "Single", "'c'");
    keys.writeInteger("S", "Number", -12);
    keys.write("S", "Text", "abc");
    EXPECT_EQ(keys.read("S", "Double"), "\"a b\"");
    EXPECT_EQ(keys.read("S", "Single"), "'c'");
    EXPECT_EQ(keys.readInteger("S", "Number", 0), -12);
    EXPECT_EQ(keys.readInteger("S", "Text", 77), 77);
    EXPECT_EQ(keys.readInteger("S", "Missing", 78), 78);
}

TEST_F(IniFileTest, ErasingWhatIsNotThereCreatesNoFile)
{
    EXPECT_TRUE(privateprofile::eraseSection(m_ini, "S"));
    EXPECT_FALSE(QFile::exists(m_ini));
    EXPECT_EQ(privateprofile::readKey(m_ini, "S", "K"), std::nullopt);
}

TEST_F(IniFileTest, RefusedWriteLeavesTheFileAsItWasAndNoTemporaryBehind)
{
    ASSERT_TRUE(privateprofile::writeKey(m_ini, "S", "K", "1"));
    QFile::setPermissions(m_ini, QFileDevice::ReadOwner);
    EXPECT_FALSE(privateprofile::writeKey(m_ini, "S", "K", "2"));
    EXPECT_FALSE(privateprofile::eraseSection(m_ini, "S"));
    EXPECT_EQ(layouttest::fileBytes(m_ini), "[S]\nK=1\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"tavorio.ini"});
}

TEST_F(IniFileTest, MissingFolderRaisesUnableToWriteWithTheFileName)
{
    const QString path = m_dir.filePath(QStringLiteral("missing/tavorio.ini"));
    IniLayoutKeys keys(path);
    try {
        keys.writeInteger("S", "K", 1);
        ADD_FAILURE() << "the write went through";
    } catch (const EIniFileException &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
}

} // namespace
