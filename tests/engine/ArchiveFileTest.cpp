#include "EngineFixture.h"

#include "platform/LockFile.h"

#include <QRandomGenerator>
#include <sqlite3.h>
#include "tests/support/ForkedChild.h"
#include <unistd.h>

using namespace dao;

namespace {
const QByteArray kPlain("SQLite format 3\0", 16);

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
}

class ArchiveFile : public EngineFixture {};

TEST_F(ArchiveFile, PasswordEncryptsEveryPage)
{
    makeArchive({"Mustafà Benali", "Giuseppina Esposito"}, "s3greta");
    const QByteArray bytes = fileBytes(path());
    EXPECT_NE(bytes.left(16), kPlain);
    EXPECT_FALSE(bytes.contains("Benali"));
    EXPECT_FALSE(bytes.contains("Esposito"));
    EXPECT_FALSE(bytes.contains("CREATE TABLE"));
    EXPECT_ENGINE_ERROR(open(), errNotValidPassword);
    EXPECT_ENGINE_ERROR(open("sbagliata"), errNotValidPassword);
    EXPECT_FALSE(QFile::exists(dir.filePath("tavorio.ldb")));   // a refused open leaves no lock
    auto db = open("s3greta");
    EXPECT_EQ(names(*db->OpenRecordset("Persone")), QStringList({"Mustafà Benali", "Giuseppina Esposito"}));
    EXPECT_TRUE(db->integrityCheck());
}

TEST_F(ArchiveFile, WithoutPasswordItIsAnOrdinarySqliteFile)
{
    makeArchive({"Rossi"});
    EXPECT_EQ(fileBytes(path()).left(16), kPlain);
    // A password given for an archive that has none is ignored, as the engine always did.
    EXPECT_EQ(names(*open("qualsiasi")->OpenRecordset("Persone")), QStringList({"Rossi"}));
}

TEST_F(ArchiveFile, ExistingFilesAreNeverOverwrittenByCreation)
{
    writeFile(path(), "contenuto prezioso");
    EXPECT_ENGINE_ERROR(ws->CreateDatabase(path(), {}), errDatabaseExists);
    EXPECT_EQ(fileBytes(path()), "contenuto prezioso");
}

TEST_F(ArchiveFile, BadFilesAreRefusedWithoutCrashing)
{
    makeArchive({"Rossi", "Verdi"}, {}, path("good.mdb"));
    const QByteArray good = fileBytes(path("good.mdb"));
    QByteArray random(5000, 0);
    for (char &c : random)
        c = char(QRandomGenerator::global()->generate());
    QByteArray pageRandom(4096, 0);
    for (char &c : pageRandom)
        c = char(QRandomGenerator::global()->generate());
    const struct { const char *name; QByteArray bytes; int error; } cases[] = {
        {"empty", {}, errUnrecognizedFormat},
        {"random", random, errUnrecognizedFormat},
        {"jet", QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(4000, 'x'), errUnrecognizedFormat},
        {"pdf", QByteArray("%PDF-1.4\n") + QByteArray(2039, ' '), errUnrecognizedFormat},
        // Whole pages of noise cannot be told from an encrypted archive: they ask for a password.
        {"pages", pageRandom, errNotValidPassword},
    };
    for (const auto &c : cases) {
        writeFile(path(), c.bytes);
        EXPECT_ENGINE_ERROR(open(), c.error);
        EXPECT_ENGINE_ERROR(open("x"), c.error == errNotValidPassword ? errNotValidPassword : c.error);
    }
    // A truncated archive either refuses to open or fails when its pages are read.
    writeFile(path(), good.left(3000));
    try {
        auto db = open();
        auto rs = db->OpenRecordset("Persone");
        while (!rs->IsEOF())
            rs->MoveNext();
    } catch (const EngineError &) {
    }
    EXPECT_ENGINE_ERROR(ws->OpenDatabase(path("missing.mdb"), false, false, ";UID=Admin;PWD=;"), errFileNotFound);
}

TEST_F(ArchiveFile, ForeignSchemaObjectsAreRefused)
{
    for (const char *object : {"CREATE TRIGGER t AFTER INSERT ON Persone BEGIN DELETE FROM Persone; END",
                               "CREATE VIEW v AS SELECT * FROM Persone"}) {
        QFile::remove(path());
        makeArchive({"Rossi"});
        sqlite3 *raw = nullptr;
        ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, object, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
        EXPECT_ENGINE_ERROR(open(), errUnrecognizedFormat);
    }
}

TEST_F(ArchiveFile, LockFileFollowsTheUsers)
{
    makeArchive({"Rossi"});
    const QString ldb = dir.filePath("tavorio.ldb");
    EXPECT_FALSE(QFile::exists(ldb));
    auto first = open();
    EXPECT_TRUE(QFile::exists(ldb));
    auto second = open();
    EXPECT_ENGINE_ERROR(open({}, true), errFileInUse);
    first->Close();
    EXPECT_TRUE(QFile::exists(ldb));
    second->Close();
    EXPECT_FALSE(QFile::exists(ldb));

    auto alone = open({}, true);
    EXPECT_ENGINE_ERROR(open(), errFileInUse);
    alone->Close();
    EXPECT_FALSE(QFile::exists(ldb));
}

TEST_F(ArchiveFile, AnotherProcessKeepsTheArchiveFromBeingTakenExclusively)
{
    makeArchive({"Rossi", "Verdi"});
    testsupport::ForkedChild child([&](testsupport::ChildSide &side) {
        DBEngine e;
        auto db = e.CreateWorkspace("w", "Admin", "", 2)->OpenDatabase(path(), false, false, ";UID=Admin;PWD=;");
        auto rs = db->OpenRecordset("Persone");
        rs->Delete();   // the first row goes while the parent looks at it
        side.signalReady();
        side.waitForRelease();
        db->Close();
        return 0;
    });
    ASSERT_TRUE(child.waitUntilReady());
    EXPECT_TRUE(QFile::exists(dir.filePath("tavorio.ldb")));
    EXPECT_ENGINE_ERROR(open({}, true), errFileInUse);
    {
        auto shared = open();
        EXPECT_EQ(names(*shared->OpenRecordset("Persone")), QStringList({"Verdi"}));
    }
    EXPECT_EQ(child.exitStatus(), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("tavorio.ldb")));
    open({}, true)->Close();
}
