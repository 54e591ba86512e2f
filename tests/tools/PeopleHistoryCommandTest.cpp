// tavorio-cli storia and persone as the real executable. On a file: a card changed through
// the engine shows in the history of that card, newest first, and as CSV; persone is refused
// (a file has its one archive password). On the test server: an archive made by a login that
// may create roles, a Responsabile and an Operatore added through the command; the Operatore
// changes cards but the server refuses it a lookup table, a printed list of the catalogue and
// the management of people; a disabled person cannot sign in, and signs in again once
// re-enabled; the history names who changed what.

#include "tests/tools/ToolsHarness.h"

#include "archive/CliError.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/People.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <unistd.h>

namespace {

using toolstest::runCli;

using toolstest::withArchive;

void renameFirstCard(dao::Database &db, const QString &name)
{
    auto rs = db.OpenRecordset(QStringLiteral("Select * From [Anagrafica] Where [ID_SCHEDA] = 1;"));
    rs->Edit();
    rs->field(QStringLiteral("Capofamiglia")).setValue(dao::Value(name));
    rs->Update();
}

QByteArray lines(const QStringList &texts)
{
    return (texts.join(u'\n') + u'\n').toUtf8();
}

TEST(PeopleHistoryCommandTest, TheHistoryOfACardOnAFileNewestFirstAndAsCsv)
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("a.mdb"));
    testsupport::createArchive(archive, {}, 3);
    QString first;
    withArchive(archive, {}, [&](dao::Database &db) {
        first = db.OpenRecordset(QStringLiteral("Anagrafica"))->field(QStringLiteral("Capofamiglia")).value().asText();
        renameFirstCard(db, QStringLiteral("Primo Nome"));
        renameFirstCard(db, QStringLiteral("Secondo Nome"));
        // Another card's change is not in card 1's history.
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [Anagrafica] Where [ID_SCHEDA] = 2;"));
        rs->Edit();
        rs->field(QStringLiteral("Telefono")).setValue(dao::Value(QStringLiteral("0123")));
        rs->Update();
    });

    const auto shown = runCli({QStringLiteral("storia"), archive, QStringLiteral("--scheda"), QStringLiteral("1")});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    const QStringList rows = shown.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2) << shown.out.toStdString();
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("modifica  Anagrafica 1 (scheda 1)  Capofamiglia: \"Primo Nome\" -> \"Secondo Nome\"")))
        << rows[0].toStdString();
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("Capofamiglia: \"%1\" -> \"Primo Nome\"").arg(first))) << rows[1].toStdString();

    const QString csv = dir.filePath(QStringLiteral("storia.csv"));
    const auto written = runCli({QStringLiteral("storia"), archive, QStringLiteral("--csv"), csv});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    const QString text = QString::fromUtf8(toolstest::fileBytes(csv));
    EXPECT_TRUE(text.contains(QStringLiteral("Quando;Utente;Azione;Tabella;Record;Scheda;Campo;Prima;Dopo\r\n")));
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 4);   // titles and three changes
    EXPECT_LT(text.indexOf(QStringLiteral("0123")), text.indexOf(QStringLiteral("Secondo Nome")));
    // Never over an existing file without --sovrascrivi.
    EXPECT_EQ(runCli({QStringLiteral("storia"), archive, QStringLiteral("--csv"), csv}).exitCode, int(cli::ExitCode::Refused));

    const auto people = runCli({QStringLiteral("persone"), archive, QStringLiteral("elenca")});
    EXPECT_EQ(people.exitCode, int(cli::ExitCode::Usage));
    EXPECT_TRUE(people.err.contains(QStringLiteral("solo per un archivio su un server"))) << people.err.toStdString();
}

class PeopleOnServerTest : public testing::Test {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        const QString suffix = QString::number(::getpid());
        database = QStringLiteral("persone_") + suffix;
        maker = QStringLiteral("creatore_") + suffix;
        anna = QStringLiteral("anna_") + suffix;
        bruno = QStringLiteral("bruno_") + suffix;
        testsupport::pgAdminQuery(QStringLiteral("CREATE ROLE %1 LOGIN CREATEROLE PASSWORD '%2'").arg(maker, password(maker)));
        testsupport::pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' LC_CTYPE 'C.UTF-8' "
                                                 "LC_COLLATE 'C.UTF-8' TEMPLATE template0").arg(database, maker));
    }
    void TearDown() override
    {
        if (database.isEmpty())
            return;
        testsupport::pgAdminQuery(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        for (const QString &role : {anna, bruno, database + QStringLiteral("_responsabile"),
                                    database + QStringLiteral("_operatore"), maker})
            testsupport::pgAdminQuery(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
    }
    static QString password(const QString &role) { return role + QStringLiteral("-Parola1"); }
    QString address(const QString &role) const { return testsupport::pgRoleAddress(role, database); }

    toolstest::CommandResult people(const QString &as, const QStringList &args, const QString &newPassword = {})
    {
        QStringList input{password(as)};
        if (!newPassword.isEmpty())
            input << newPassword;
        return runCli(QStringList{QStringLiteral("persone"), address(as)} + args + QStringList{QStringLiteral("--password-stdin")},
                      {}, lines(input));
    }

    QString database, maker, anna, bruno;
};

TEST_F(PeopleOnServerTest, RolesAreTheServersAndADisabledPersonCannotSignIn)
{
    const auto made = runCli({QStringLiteral("crea-archivio"), address(maker), QStringLiteral("--schede"), QStringLiteral("2"),
                              QStringLiteral("--password-stdin")}, {}, lines({password(maker)}));
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    for (const auto &[who, role] : {std::pair{anna, "operatore"}, std::pair{bruno, "responsabile"}}) {
        const auto added = people(maker, {QStringLiteral("aggiungi"), who, QStringLiteral("--ruolo"), QString::fromLatin1(role)},
                                  password(who));
        ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    }
    const auto listed = people(bruno, {QStringLiteral("elenca")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains(anna + QStringLiteral("\toperatore\tattivo\n"))) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(bruno + QStringLiteral("\tresponsabile\tattivo\n"))) << listed.out.toStdString();

    // The Operatore changes a card; the server refuses it the rest, whatever program it uses.
    withArchive(address(anna), password(anna), [&](dao::Database &db) {
        renameFirstCard(db, QStringLiteral("Cambiato da Anna"));
        for (const auto &[table, field] : {std::pair{"Fascia", "Fascia"}, std::pair{"Stampe", "Nome"}}) {
            auto rs = db.OpenRecordset(QString::fromLatin1(table));
            rs->Edit();
            rs->field(QString::fromLatin1(field)).setValue(dao::Value(QStringLiteral("X")));
            EXPECT_THROW(rs->Update(), dao::EngineError) << table;
            rs->CancelUpdate();
        }
    });
    const auto refused = people(anna, {QStringLiteral("aggiungi"), QStringLiteral("intruso"), QStringLiteral("--ruolo"),
                                       QStringLiteral("responsabile")}, QStringLiteral("Intruso-1"));
    EXPECT_EQ(refused.exitCode, int(cli::ExitCode::Refused)) << refused.err.toStdString();
    EXPECT_EQ(people(anna, {QStringLiteral("disattiva"), bruno}).exitCode, int(cli::ExitCode::Refused));

    // Disabled, Anna cannot sign in; her change keeps her name; re-enabled, she signs in again.
    ASSERT_EQ(people(bruno, {QStringLiteral("disattiva"), anna}).exitCode, 0);
    EXPECT_EQ(toolstest::verify(toolstest::Mode::Executable, address(anna), password(anna)).exitCode,
              int(cli::ExitCode::BadPassword));
    const auto history = runCli({QStringLiteral("storia"), address(bruno), QStringLiteral("--scheda"), QStringLiteral("1"),
                                 QStringLiteral("--password-stdin")}, {}, lines({password(bruno)}));
    ASSERT_EQ(history.exitCode, 0) << history.err.toStdString();
    EXPECT_TRUE(history.out.contains(QStringLiteral("  %1  modifica  Anagrafica 1 (scheda 1)  Capofamiglia: ").arg(anna)))
        << history.out.toStdString();
    EXPECT_TRUE(people(bruno, {QStringLiteral("elenca")}).out.contains(anna + QStringLiteral("\toperatore\tdisattivato\n")));
    ASSERT_EQ(people(bruno, {QStringLiteral("riattiva"), anna}).exitCode, 0);
    EXPECT_EQ(toolstest::verify(toolstest::Mode::Executable, address(anna), password(anna)).exitCode, 0);
    // A new password from the Responsabile replaces the old one.
    ASSERT_EQ(people(bruno, {QStringLiteral("password"), anna}, QStringLiteral("Nuova-Parola2")).exitCode, 0);
    EXPECT_EQ(toolstest::verify(toolstest::Mode::Executable, address(anna), password(anna)).exitCode,
              int(cli::ExitCode::BadPassword));
    EXPECT_EQ(toolstest::verify(toolstest::Mode::Executable, address(anna), QStringLiteral("Nuova-Parola2")).exitCode, 0);

    // Old history goes only at a Responsabile's hand, and its removal stays recorded.
    withArchive(address(anna), QStringLiteral("Nuova-Parola2"), [&](dao::Database &db) {
        EXPECT_THROW(dao::ArchivePeople(db).purgeHistory(QDate(2100, 1, 1)), dao::EngineError);
    });
    withArchive(address(bruno), password(bruno), [&](dao::Database &db) {
        EXPECT_GT(dao::ArchivePeople(db).purgeHistory(QDate(2100, 1, 1)), 0);
        auto rs = db.OpenRecordset(QStringLiteral("Storia"));
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->field(QStringLiteral("Utente")).value().asText(), bruno);
        EXPECT_EQ(rs->field(QStringLiteral("Azione")).value().asText(), QStringLiteral("rimozione storia"));
    });
}

} // namespace
