// trasferisci as the real executable: a whole archive, with a table of pictures added, copied
// to a second place and on to an encrypted file, every row equal to the original's; the
// targets it refuses; and the row-by-row comparison it checks its copies with.

#include "tests/tools/ToolsHarness.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "store/Schema.h"
#include "tests/support/TestArchive.h"
#include "tools/cli/ArchiveComparison.h"
#include "tools/cli/CliError.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString kPictures = QStringLiteral("Foto");

// Every byte value, a long run and an empty picture: what a lossy text path would change.
std::vector<QByteArray> pictures()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    return {all, QByteArray(200000, '\xff') + all, QByteArray()};
}

// Adds a table of pictures (a key counter, a link, a binary field, a caption) to an archive.
void addPictures(const QString &path)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("foto"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = ws->OpenDatabase(path, false, false, QStringLiteral(";UID=Admin;PWD=;"));
    db->CreateTable({kPictures,
                     {{QStringLiteral("ID_FOTO"), dao::dbLong, 0, true, false, {}, {}},
                      {QStringLiteral("ID_SCHEDA"), dao::dbLong, 0, false, true, {}, {}},
                      {QStringLiteral("Immagine"), dao::dbLongBinary, 0, false, false, {}, {}},
                      {QStringLiteral("Didascalia"), dao::dbText, 50, false, false, {}, {}}}});
    auto rs = db->OpenRecordset(kPictures, dao::dbOpenDynaset);
    qint64 card = 0;
    for (const QByteArray &picture : pictures()) {
        rs->AddNew();
        rs->field(QStringLiteral("ID_SCHEDA")).setValue(dao::Value(++card));
        if (!picture.isEmpty())
            rs->field(QStringLiteral("Immagine")).setValue(dao::Value(picture));
        rs->field(QStringLiteral("Didascalia")).setValue(dao::Value(QStringLiteral("Foto n° %1 è").arg(card)));
        rs->Update();
    }
    rs->Close();
    db->Close();
    ws->Close();
}

// trasferisci DA A, the two passwords on standard input.
toolstest::CommandResult transfer(const QString &from, const QString &to, const QString &fromPassword = {},
                                  const QString &toPassword = {})
{
    return toolstest::runCli({QStringLiteral("trasferisci"), from, to, QStringLiteral("--password-stdin")}, {},
                             (fromPassword + QLatin1Char('\n') + toPassword + QLatin1Char('\n')).toUtf8());
}

class TransferCommandTest : public testing::Test {
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // The second place of a round trip: a database of the test server where one runs.
    QString middle() const { return path("intermedio.mdb"); }
    QString middlePassword() const { return {}; }
    QTemporaryDir m_dir;
};

TEST_F(TransferCommandTest, RoundTripKeepsEveryTableKeyAndPicture)
{
    testsupport::createArchive(path("a.mdb"), {}, 25);
    addPictures(path("a.mdb"));

    const auto there = transfer(path("a.mdb"), middle(), {}, middlePassword());
    ASSERT_EQ(there.exitCode, 0) << there.err.toStdString();
    const auto back = transfer(middle(), path("c.mdb"), middlePassword(), QStringLiteral("segreto"));
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_TRUE(back.out.contains(QStringLiteral("8 tabelle"))) << back.out.toStdString();

    // Read back independently of the command's own comparison.
    toolstest::ArchiveProbe original(path("a.mdb"));
    toolstest::ArchiveProbe copy(path("c.mdb"), QStringLiteral("segreto"));
    QStringList tables;
    for (const dao::TableSpec &table : schema::archiveTables())
        tables << table.name;
    tables << kPictures;
    for (const QString &table : tables)
        EXPECT_EQ(copy.dump(table), original.dump(table)) << table.toStdString();
    const std::vector<dao::Value> copied = copy.column(kPictures, QStringLiteral("Immagine"));
    ASSERT_EQ(copied.size(), pictures().size());
    EXPECT_EQ(copied[0].asBytes(), pictures()[0]);
    EXPECT_EQ(copied[1].asBytes(), pictures()[1]);
    EXPECT_TRUE(copied[2].isNull());
    EXPECT_EQ(copy.column(QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA")),
              original.column(QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA")));

    // The copy is encrypted: without its password it does not open.
    EXPECT_EQ(toolstest::verify(toolstest::Mode::Executable, path("c.mdb")).exitCode, int(cli::ExitCode::BadPassword));
}

TEST_F(TransferCommandTest, RefusesWhatItMustNotTouch)
{
    testsupport::createArchive(path("a.mdb"), QStringLiteral("giusta"), 2);
    toolstest::writeFile(path("esiste.mdb"), "appunti\n");

    const auto existing = transfer(path("a.mdb"), path("esiste.mdb"), QStringLiteral("giusta"));
    EXPECT_EQ(existing.exitCode, int(cli::ExitCode::Refused));
    EXPECT_TRUE(existing.err.contains(QStringLiteral("esiste già"))) << existing.err.toStdString();
    EXPECT_EQ(toolstest::fileBytes(path("esiste.mdb")), QByteArray("appunti\n"));

    const auto wrong = transfer(path("a.mdb"), path("b.mdb"), QStringLiteral("sbagliata"));
    EXPECT_EQ(wrong.exitCode, int(cli::ExitCode::BadPassword));
    EXPECT_FALSE(wrong.err.contains(QStringLiteral("sbagliata")));
    EXPECT_FALSE(QFileInfo::exists(path("b.mdb")));

    const auto missing = transfer(path("manca.mdb"), path("b.mdb"));
    EXPECT_EQ(missing.exitCode, int(cli::ExitCode::NotAnArchive));
    EXPECT_FALSE(QFileInfo::exists(path("b.mdb")));

    const auto usage = toolstest::runCli({QStringLiteral("trasferisci"), path("a.mdb")});
    EXPECT_EQ(usage.exitCode, int(cli::ExitCode::Usage));
}

TEST_F(TransferCommandTest, ComparisonNamesTheRowAndFieldThatDiffer)
{
    testsupport::createArchive(path("a.mdb"), {}, 3);
    addPictures(path("a.mdb"));
    ASSERT_EQ(transfer(path("a.mdb"), path("b.mdb")).exitCode, 0);
    {
        dao::DBEngine engine;
        auto ws = engine.CreateWorkspace(QStringLiteral("modifica"), QStringLiteral("Admin"), {}, dao::dbUseJet);
        auto db = ws->OpenDatabase(path("b.mdb"), false, false, QStringLiteral(";UID=Admin;PWD=;"));
        auto rs = db->OpenRecordset(kPictures, dao::dbOpenDynaset);
        rs->Move(1);
        QByteArray changed = pictures()[1];
        changed[100000] = 'x';
        rs->Edit();
        rs->field(QStringLiteral("Immagine")).setValue(dao::Value(changed));
        rs->Update();
        rs->Close();
        db->Close();
        ws->Close();
    }
    toolstest::ArchiveProbe a(path("a.mdb"));
    toolstest::ArchiveProbe b(path("b.mdb"));
    const cli::Comparison same = cli::compareArchives(a.db(), a.db());
    EXPECT_TRUE(same.differences.isEmpty());
    EXPECT_EQ(same.tables, 8);
    const cli::Comparison differ = cli::compareArchives(a.db(), b.db());
    ASSERT_EQ(differ.differences.size(), 1) << differ.differences.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(differ.differences[0].startsWith(QStringLiteral("Tabella Foto, riga 2, campo Immagine: 200256 byte [")))
        << differ.differences[0].toStdString();
}

} // namespace
