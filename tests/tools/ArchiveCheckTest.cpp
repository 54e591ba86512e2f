// verifica, in this process and as the real executable: counts of a good archive, a wrong
// or missing password, and every kind of file that is not an archive of the program.

#include "tests/tools/ToolsHarness.h"

#include "archive/CliError.h"
#include "archive/HouseholdGenerator.h"
#include "archive/Prng.h"
#include "archive/StandardRows.h"
#include "engine/ArchiveFormat.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "platform/NetworkFileSystem.h"
#include "store/Schema.h"
#include "tests/support/ScopedHook.h"
#include "tests/support/TestArchive.h"

#include <sqlcipher/sqlite3.h>

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

namespace {

using toolstest::Mode;

int memberCount(int households)
{
    cli::HouseholdGenerator generator(cli::HouseholdGenerator::kGeneratedSeed);
    int members = 0;
    for (int i = 0; i < households; ++i)
        members += int(generator.next().members.size());
    return members;
}

QString expectedCounts(int households)
{
    return QStringLiteral("Anagrafica %1\nNucleo %2\nFascia %3\nRuolo %4\nOccupazione %5\n"
                          "Gruppi %6\nStampe %7\n")
        .arg(households)
        .arg(memberCount(households))
        .arg(cli::standard::bands().size())
        .arg(cli::standard::roles().size())
        .arg(cli::standard::occupations().size())
        .arg(cli::standard::groups().size())
        .arg(cli::standard::printedLists().size());
}

class VerifyTest : public testing::TestWithParam<Mode> {
protected:
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_P(VerifyTest, PrintsTheRowsOfEveryTableInSchemaOrder)
{
    testsupport::createArchive(path("a.mdb"), {}, 9);
    const auto result = toolstest::verify(GetParam(), path("a.mdb"));
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, expectedCounts(9));
    EXPECT_TRUE(result.err.isEmpty());
}

TEST_P(VerifyTest, LeavesTheArchiveUnchanged)
{
    testsupport::createArchive(path("a.mdb"), {}, 3);
    const QByteArray before = toolstest::fileBytes(path("a.mdb"));
    ASSERT_EQ(toolstest::verify(GetParam(), path("a.mdb")).exitCode, 0);
    EXPECT_EQ(toolstest::fileBytes(path("a.mdb")), before);
    EXPECT_FALSE(QFileInfo::exists(path("a.ldb")));
}

TEST_P(VerifyTest, AMissingFileIsNamedAsNotFound)
{
    const auto result = toolstest::verify(GetParam(), path("nessuno.mdb"));
    EXPECT_EQ(result.exitCode, int(cli::ExitCode::NotAnArchive));
    EXPECT_TRUE(result.err.contains(QStringLiteral("non trovato"))) << result.err.toStdString();
}

TEST_P(VerifyTest, AFolderIsNotAnArchive)
{
    EXPECT_EQ(toolstest::verify(GetParam(), m_dir.path()).exitCode, int(cli::ExitCode::NotAnArchive));
}

// An index that no longer matches its table: every table still counts, only the integrity
// check sees the damage.
TEST_P(VerifyTest, ADamagedArchiveExitsFiveNamingItsProblems)
{
    for (const char *password : {"", "segreto"}) {
        testsupport::createArchive(path("a.mdb"), QString::fromLatin1(password), 30);
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path("a.mdb")).constData(), &db), SQLITE_OK);
        if (*password) {
            const QByteArray cipher = QStringLiteral("PRAGMA key = '%1'; PRAGMA kdf_iter = %2; PRAGMA cipher_page_size = %3;")
                                          .arg(QString::fromLatin1(password))
                                          .arg(dao::format::kKdfIterations)
                                          .arg(dao::format::kCipherPageSize)
                                          .toUtf8();
            ASSERT_EQ(sqlite3_exec(db, cipher.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        ASSERT_EQ(sqlite3_exec(db, "CREATE INDEX ix ON Nucleo(Nome); PRAGMA writable_schema = ON;"
                                   "UPDATE sqlite_master SET sql = 'CREATE INDEX ix ON Nucleo(Ruolo)' WHERE name = 'ix';",
                               nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);

        const auto result = toolstest::verify(GetParam(), path("a.mdb"),
                                              *password ? std::optional<QString>(QString::fromLatin1(password)) : std::nullopt);
        EXPECT_EQ(result.exitCode, int(cli::ExitCode::Damaged)) << password << result.err.toStdString();
        EXPECT_EQ(result.out, expectedCounts(30));
        EXPECT_TRUE(result.err.contains(QStringLiteral("è danneggiato"))) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("ix"))) << result.err.toStdString();
        QFile::remove(path("a.mdb"));
    }
}

INSTANTIATE_TEST_SUITE_P(Both, VerifyTest, testing::Values(Mode::InProcess, Mode::Executable),
                         [](const auto &info) { return toolstest::modeName(info.param); });

// Passwords: archive password, password given (nullopt: none), expected exit status.
struct PasswordCase {
    const char *name;
    const char *archive;
    std::optional<const char *> given;
    cli::ExitCode expected;
};

const PasswordCase kPasswordCases[] = {
    {"Right", "segreto", "segreto", cli::ExitCode::Ok},
    {"RightWithAccents", "Caffè è forte", "Caffè è forte", cli::ExitCode::Ok},
    {"Wrong", "segreto", "Segreto", cli::ExitCode::BadPassword},
    {"EmptyLine", "segreto", "", cli::ExitCode::BadPassword},
    {"Missing", "segreto", std::nullopt, cli::ExitCode::BadPassword},
};

void PrintTo(const PasswordCase &c, std::ostream *os)
{
    *os << c.name;
}

class VerifyPasswordTest : public testing::TestWithParam<std::tuple<PasswordCase, Mode>> {
protected:
    QTemporaryDir m_dir;
};

TEST_P(VerifyPasswordTest, ExitsAsThePasswordDeserves)
{
    const auto &[c, mode] = GetParam();
    const QString file = m_dir.filePath("a.mdb");
    testsupport::createArchive(file, QString::fromUtf8(c.archive), 4);
    std::optional<QString> given;
    if (c.given)
        given = QString::fromUtf8(*c.given);
    const auto result = toolstest::verify(mode, file, given);
    EXPECT_EQ(result.exitCode, int(c.expected)) << result.err.toStdString();
    if (c.expected == cli::ExitCode::Ok) {
        EXPECT_EQ(result.out, expectedCounts(4));
    } else {
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(QStringLiteral("Password dell'archivio errata o mancante.")))
            << result.err.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VerifyPasswordTest,
                         testing::Combine(testing::ValuesIn(kPasswordCases),
                                          testing::Values(Mode::InProcess, Mode::Executable)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name)
                                 + toolstest::modeName(std::get<1>(info.param));
                         });

// Files that are not archives of the program, each made at `path` (scratch: a folder for
// helper files).
struct ForeignFile {
    const char *name;
    std::function<void(const QString &path, const QString &scratch)> make;
};

QByteArray randomBytes(int size)
{
    cli::Prng rng(99);
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes += char(rng.below(256));
    return bytes;
}

void plainSqlite(const QString &path, const QString &)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE clienti(id INTEGER PRIMARY KEY, nome TEXT);"
                               "INSERT INTO clienti(nome) VALUES ('Ditta Rossi');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

// An archive the engine made, holding the given tables of the schema only.
void engineArchive(const QString &path, const std::function<void(dao::Database &)> &fill)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
    auto db = ws->CreateDatabase(path, {});
    fill(*db);
    db->Close();
}

const ForeignFile kForeignFiles[] = {
    {"Empty", [](const QString &p, const QString &) { toolstest::writeFile(p, {}); }},
    {"RandomBytes", [](const QString &p, const QString &) { toolstest::writeFile(p, randomBytes(5000)); }},
    {"TruncatedArchive",
     [](const QString &p, const QString &scratch) {
         const QString full = scratch + QStringLiteral("/intero.mdb");
         testsupport::createArchive(full, {}, 20);
         toolstest::writeFile(p, toolstest::fileBytes(full).left(3000));
     }},
    {"ZipHeader",
     [](const QString &p, const QString &) {
         toolstest::writeFile(p, QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + randomBytes(300));
     }},
    {"PdfHeader",
     [](const QString &p, const QString &) {
         toolstest::writeFile(p, "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n");
     }},
    {"ItalianText",
     [](const QString &p, const QString &) {
         toolstest::writeFile(p, QStringLiteral("Questo è un appunto, non un archivio.\n").toUtf8());
     }},
    {"PlainSqliteWithOtherTables", plainSqlite},
    {"EngineArchiveWithoutTables",
     [](const QString &p, const QString &) { engineArchive(p, [](dao::Database &) {}); }},
    {"ArchiveLackingAField",
     [](const QString &p, const QString &) {
         engineArchive(p, [](dao::Database &db) {
             for (dao::TableSpec table : schema::archiveTables()) {
                 if (table.name == QLatin1String("Stampe"))
                     table.fields.pop_back();   // no Ordine
                 db.CreateTable(table);
             }
         });
     }},
};

void PrintTo(const ForeignFile &f, std::ostream *os)
{
    *os << f.name;
}

class ForeignFileTest : public testing::TestWithParam<std::tuple<ForeignFile, Mode>> {
protected:
    QTemporaryDir m_dir;
};

TEST_P(ForeignFileTest, IsNotAnArchiveAndStaysUntouched)
{
    const auto &[file, mode] = GetParam();
    const QString target = m_dir.filePath("estraneo.mdb");
    file.make(target, m_dir.path());
    const QByteArray before = toolstest::fileBytes(target);

    const auto result = toolstest::verify(mode, target);
    EXPECT_EQ(result.exitCode, int(cli::ExitCode::NotAnArchive)) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("non è un archivio di Tavorio valido")))
        << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    EXPECT_EQ(toolstest::fileBytes(target), before);
}

INSTANTIATE_TEST_SUITE_P(Files, ForeignFileTest,
                         testing::Combine(testing::ValuesIn(kForeignFiles),
                                          testing::Values(Mode::InProcess, Mode::Executable)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name)
                                 + toolstest::modeName(std::get<1>(info.param));
                         });

// An archive in a network folder is still checked; the warning goes before the counts, on
// standard error, and does not change the exit status.
TEST(VerifyNetworkFolder, WarnsOnStandardErrorAndStillChecks)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("a.mdb"));
    testsupport::createArchive(archive, {}, 2);
    QString asked;
    const auto result = [&] {
        const testsupport::ScopedHook network(platform::networkFileSystemOverride(),
                                              [&](const QString &path) -> std::optional<QString> {
                                                  asked = path;
                                                  return QStringLiteral("nfs4");
                                              });
        return toolstest::verify(Mode::InProcess, archive);
    }();

    EXPECT_EQ(asked, archive);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, expectedCounts(2));
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("Attenzione: L'archivio si trova in una cartella di rete (nfs4)")))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("server PostgreSQL"))) << result.err.toStdString();

    // A local archive: nothing on standard error.
    EXPECT_TRUE(toolstest::verify(Mode::InProcess, archive).err.isEmpty());
}

} // namespace
