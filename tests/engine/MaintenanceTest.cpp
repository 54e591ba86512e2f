#include "EngineFixture.h"

#include "engine/StorageFaults.h"

#include <csignal>
#include <sys/resource.h>

using namespace dao;

class Maintenance : public EngineFixture {
protected:
    QStringList rowsOf(const QString &file, const QString &password)
    {
        auto db = ws->OpenDatabase(file, false, false, ";UID=Admin;PWD=" + password + ";");
        auto rs = db->OpenRecordset("Persone");
        QStringList out;
        for (; !rs->IsEOF(); rs->MoveNext())
            out << rs->field("ID").value().asText() + ":" + rs->field("Nome").value().asText();
        return out;
    }

    // Enough rows for a copy of about a megabyte, many pieces of the layer that writes it.
    void addRows(int count, const QString &password = {})
    {
        auto db = open(password);
        auto rs = db->OpenRecordset("Persone");
        ws->BeginTrans();
        for (int i = 0; i < count; ++i) {
            rs->AddNew();
            rs->field("Nome").setValue(QStringLiteral("Persona %1").arg(i));
            rs->field("Note").setValue(QString(200, QChar(u'a' + i % 26)));
            rs->Update();
        }
        ws->CommitTrans();
    }
};

TEST_F(Maintenance, CompactionCopiesRowsKeysAndPassword)
{
    makeArchive({"Rossi", "Verdi", "Bianchi"}, "pw");
    {
        auto db = open("pw");
        auto rs = db->OpenRecordset("Persone");
        // The last row: a copy that lost the key counter would give its key out again.
        rs->MoveLast();
        rs->Delete();
    }
    const QByteArray before = fileBytes(path());
    engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, ";pwd=pw");
    EXPECT_EQ(fileBytes(path()), before);   // the source is never touched
    EXPECT_EQ(rowsOf(path("copy.mdb"), "pw"), QStringList({"1:Rossi", "2:Verdi"}));
    EXPECT_NE(fileBytes(path("copy.mdb")).left(16), QByteArray("SQLite format 3\0", 16));
    // Keys go on from where they were.
    auto db = ws->OpenDatabase(path("copy.mdb"), false, false, ";PWD=pw;");
    auto rs = db->OpenRecordset("Persone");
    rs->AddNew();
    rs->Update();
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->field("ID").value().asInt(), 4);
}

TEST_F(Maintenance, CompactionFailuresLeaveTheSourceAlone)
{
    makeArchive({"Rossi"}, "pw");
    const QByteArray before = fileBytes(path());
    EXPECT_ENGINE_ERROR(engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, ";pwd=no"), errNotValidPassword);
    EXPECT_ENGINE_ERROR(engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, ""), errNotValidPassword);
    EXPECT_FALSE(QFile::exists(path("copy.mdb")));
    QFile(path("busy.mdb")).open(QIODevice::WriteOnly);
    EXPECT_ENGINE_ERROR(engine.CompactDatabase(path(), path("busy.mdb"), {}, 0, ";pwd=pw"), errDatabaseExists);
    {
        auto inUse = open("pw");
        EXPECT_ENGINE_ERROR(engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, ";pwd=pw"), errFileInUse);
    }
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(engine.errors().Count(), 1);
}

// The copy's writes reach the file in gathered pieces: one the file system refuses (here
// past the process's largest file) still fails the compaction, and nothing is left behind.
TEST_F(Maintenance, CompactionWhoseCopyCannotBeWrittenFailsAndLeavesNoCopy)
{
    makeArchive({});
    addRows(3000);
    const QByteArray before = fileBytes(path());
    ASSERT_GT(before.size(), 512 * 1024);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{256 * 1024, limit.rlim_max};
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, ""), dao::EngineError);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, signal);
    EXPECT_FALSE(QFile::exists(path("copy.mdb")));
    EXPECT_EQ(fileBytes(path()), before);
    // With room again, the same compaction makes a whole copy.
    engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, "");
    EXPECT_EQ(rowsOf(path("copy.mdb"), "").size(), 3000);
}

// A disk that drops writes while reporting them done: one piece lost in the middle leaves a
// copy damaged inside, the last ones lost leave it short. Either way the copy is checked
// before anyone could put it in the archive's place, refused and removed, and the archive
// is untouched; without and with a password.
TEST_F(Maintenance, ACopyThatDoesNotReadBackAsWrittenIsRefused)
{
    for (const QString password : {QString(), QStringLiteral("pw")}) {
        SCOPED_TRACE(password.toStdString());
        QFile::remove(path());
        makeArchive({}, password);
        addRows(3000, password);
        const QByteArray before = fileBytes(path());
        const QString passwordText = password.isEmpty() ? QString() : ";pwd=" + password;
        const dao::faults::Scope faults;
        for (const auto &[skip, times] : {std::pair{4, 1}, std::pair{8, -1}}) {
            dao::faults::loseCopyWrites(skip, times);
            try {
                engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, passwordText);
                ADD_FAILURE() << "a copy missing pieces was accepted (" << skip << ", " << times << ")";
            } catch (const dao::EngineError &error) {
                EXPECT_EQ(error.number(), dao::errIoFailure);
                EXPECT_TRUE(error.description().contains(QStringLiteral("non corrisponde all'archivio")))
                    << error.description().toStdString();
            }
            EXPECT_FALSE(QFile::exists(path("copy.mdb")));
            EXPECT_EQ(fileBytes(path()), before);
        }
        dao::faults::clear();
        engine.CompactDatabase(path(), path("copy.mdb"), {}, 0, passwordText);
        EXPECT_EQ(rowsOf(path("copy.mdb"), password).size(), 3000);
        QFile::remove(path("copy.mdb"));
    }
}

TEST_F(Maintenance, PasswordCanBeSetChangedAndRemovedKeepingEveryRow)
{
    makeArchive({"Rossi", "Çelik", "Nguyễn"});
    const QStringList rows = rowsOf(path(), {});
    const QByteArray plainHead("SQLite format 3\0", 16);
    const struct { QString from, to; } steps[] = {{"", "prima"}, {"prima", "seconda ; pwd"}, {"seconda ; pwd", ""}};
    for (const auto &step : steps) {
        auto db = open(step.from, true);
        db->NewPassword(step.from, step.to);
        EXPECT_EQ(names(*db->OpenRecordset("Persone")).size(), 3);   // still usable in place
        db->Close();
        EXPECT_EQ(fileBytes(path()).left(16) == plainHead, step.to.isEmpty()) << step.to.toStdString();
        EXPECT_FALSE(fileBytes(path()).contains("Rossi") && !step.to.isEmpty());
        EXPECT_EQ(rowsOf(path(), step.to), rows);
        if (!step.to.isEmpty())
            EXPECT_ENGINE_ERROR(open(step.from.isEmpty() ? "x" : step.from), errNotValidPassword);
    }
    QDir folder(dir.path());
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList({"tavorio.mdb"}));   // no temporary left
}

TEST_F(Maintenance, PasswordChangeNeedsExclusiveUseAndTheOldPassword)
{
    makeArchive({"Rossi"}, "vecchia");
    {
        auto shared = open("vecchia");
        EXPECT_ENGINE_ERROR(shared->NewPassword("vecchia", "nuova"), errNotExclusive);
    }
    auto db = open("vecchia", true);
    EXPECT_ENGINE_ERROR(db->NewPassword("sbagliata", "nuova"), errNotValidPassword);
    db->Close();
    EXPECT_EQ(rowsOf(path(), "vecchia").size(), 1);
}

TEST_F(Maintenance, QueryDefinitionsAreKeptInTheArchive)
{
    makeArchive({"Rossi"});
    auto db = open();
    EXPECT_TRUE(db->QueryDefs().isEmpty());
    db->CreateQueryDef("Elenco", "Select * From [Persone];");
    EXPECT_ENGINE_ERROR(db->CreateQueryDef("elenco", "x"), 3012);
    db->setQueryDefSql("Elenco", "Select * From [Persone] Where [Eta] > 1;");
    EXPECT_EQ(db->queryDefSql("ELENCO"), "Select * From [Persone] Where [Eta] > 1;");
    EXPECT_ENGINE_ERROR(db->queryDefSql("Altro"), errItemNotFound);
    bool systemListed = false;
    for (const TableDefInfo &t : db->TableDefs())
        systemListed |= t.name == "MSysQueries" && (t.attributes & dbSystemObject) == dbSystemObject;
    EXPECT_TRUE(systemListed);
    EXPECT_ENGINE_ERROR(db->OpenRecordset("MSysQueries"), errTableNotFound);
}
