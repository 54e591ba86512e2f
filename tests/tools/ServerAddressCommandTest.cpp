// The companion's messages about server addresses, as the real executable prints them: a
// password written in an address is never printed by any command, whatever form it takes;
// a server that cannot be reached, a database the server lacks and a TLS check that cannot
// be made each say so on their first line, with what to check, and exit with their own code.

#include "tests/tools/ToolsHarness.h"

#include "archive/CliError.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString kSecret = QStringLiteral("sEgReTo123");

// Standard error without the notice Qt's GUI commands may print before their own lines.
QStringList messageLines(const QString &err)
{
    QStringList lines = err.split(QLatin1Char('\n'));
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("QStandardPaths:")); });
    return lines;
}

QString firstLine(const QString &err)
{
    return messageLines(err).value(0);
}

// Every command that takes an archive, with `address` where it names one; `file` is an
// archive, `copy` the name of one yet to be made.
std::vector<QStringList> everyCommandOn(const QString &address, const QString &file, const QString &copy)
{
    return {
        {"verifica", address},
        {"crea-archivio", address, "--demo"},
        {"trasferisci", address, copy},
        {"trasferisci", file, address},
        {"stampa", address, "--elenco", "Elenco per fascia", "--pdf", "x.pdf"},
        {"stampa", address, "elenco.qnf", "--pdf", "x.pdf"},
        {"statistiche", address},
        {"esporta", address, "--elenco", "Elenco per fascia", "--csv", "x.csv"},
        {"documento", address, "modello.odt", "--scheda", "1", "--uscita", "documenti"},
    };
}

TEST(ServerAddressCommand, APasswordInAnAddressIsNeverPrinted)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.mdb"));
    testsupport::createArchive(file, {}, 1);
    const QStringList addresses = {
        QStringLiteral("postgresql://ufficio:%1@127.0.0.1:5432/tavorio").arg(kSecret),
        QStringLiteral("postgresql://ufficio@127.0.0.1/tavorio?password=%1").arg(kSecret),
        QStringLiteral("postgres://ufficio@127.0.0.1/tavorio?sslmode=require&PassWord=%1").arg(kSecret),
        // Mistyped: without "//", or another scheme, it would be taken for a file name.
        QStringLiteral("postgresql:ufficio:%1@127.0.0.1/tavorio").arg(kSecret),
        QStringLiteral("pgsql://ufficio:%1@127.0.0.1/tavorio").arg(kSecret),
    };
    for (const QString &address : addresses) {
        for (const QStringList &args : everyCommandOn(address, file, dir.filePath(QStringLiteral("b.mdb")))) {
            const auto result = toolstest::runCli(args + QStringList{"--password-stdin"}, dir.path(), "x\nx\n");
            const std::string shown = args.join(' ').toStdString() + "\n" + result.err.toStdString();
            EXPECT_EQ(result.exitCode, int(cli::ExitCode::Usage)) << shown;
            EXPECT_TRUE(firstLine(result.err).startsWith(
                QStringLiteral("tavorio-cli: Indirizzo del server dell'archivio non valido"))) << shown;
            EXPECT_FALSE(result.err.contains(kSecret) || result.out.contains(kSecret)) << shown;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.pdf"))));
}

TEST(ServerAddressCommand, AServerThatCannotBeReachedIsSaidFirstWithWhatToCheck)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.mdb"));
    testsupport::createArchive(file, {}, 1);
    // Nothing listens on port 1 of the loopback address.
    const QString closed = QStringLiteral("postgresql://ufficio@127.0.0.1:1/tavorio?connect_timeout=5");
    for (const QStringList &args : everyCommandOn(closed, file, dir.filePath(QStringLiteral("b.mdb")))) {
        const auto result = toolstest::runCli(args + QStringList{"--password-stdin"}, dir.path(), "x\nx\n");
        const std::string shown = args.join(' ').toStdString() + "\n" + result.err.toStdString();
        EXPECT_EQ(result.exitCode, int(cli::ExitCode::Unreachable)) << shown;
        const QStringList lines = messageLines(result.err);
        ASSERT_GE(lines.size(), 3) << shown;
        EXPECT_EQ(lines[0], QStringLiteral("Collegamento al server dell'archivio non riuscito o interrotto: \"%1\".")
                                .arg(closed)) << shown;
        EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Controllare che il server sia acceso"))) << shown;
        // libpq's own reason follows, for whoever looks after the server.
        EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Connessione al server dell'archivio non riuscita o interrotta: ")))
            << shown;
    }
    // The copy from the server that could not start left no file behind.
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("b.mdb"))));
}

TEST(ServerAddressCommand, AMissingDatabaseAndAnUncheckableCertificateAreToldApart)
{
    TAVORIO_REQUIRE_PG();
    const QString missing = testsupport::pgOfficeAddress(QStringLiteral("nessun_archivio"));
    const auto absent = toolstest::verify(toolstest::Mode::Executable, missing, testsupport::pgOfficePassword());
    EXPECT_EQ(absent.exitCode, int(cli::ExitCode::NotAnArchive)) << absent.err.toStdString();
    EXPECT_EQ(firstLine(absent.err),
              QStringLiteral("L'archivio \"%1\" non esiste sul server: il server non ha un database \"nessun_archivio\".")
                  .arg(missing));

    const QString archive = testsupport::newPgDatabase();
    ASSERT_EQ(toolstest::create(toolstest::Mode::Executable, archive, cli::ArchiveContents::generated(3),
                                testsupport::pgOfficePassword()).exitCode, 0);
    // verify-full with a certificate that is not there: the advice names both places for it.
    const QString noCertificate = archive + QStringLiteral("&sslmode=verify-full&sslrootcert=/nessuna/cartella/ca.crt");
    const auto unchecked = toolstest::verify(toolstest::Mode::Executable, noCertificate, testsupport::pgOfficePassword());
    EXPECT_EQ(unchecked.exitCode, int(cli::ExitCode::Unreachable)) << unchecked.err.toStdString();
    EXPECT_TRUE(firstLine(unchecked.err).startsWith(QStringLiteral("Collegamento al server dell'archivio non riuscito")))
        << unchecked.err.toStdString();
    const QString advice = unchecked.err.section(QLatin1Char('\n'), 1, 1);
    EXPECT_TRUE(advice.contains(QStringLiteral("~/.postgresql/root.crt")) && advice.contains(QStringLiteral("sslrootcert")))
        << unchecked.err.toStdString();
    EXPECT_FALSE(unchecked.err.contains(testsupport::pgOfficePassword()));

    // The server's own certificate given in the address: the check passes and the rows count.
    const QString checked = archive + QStringLiteral("&sslmode=verify-full&sslrootcert=")
                            + testsupport::pgServerCertificate();
    const auto counted = toolstest::verify(toolstest::Mode::Executable, checked, testsupport::pgOfficePassword());
    EXPECT_EQ(counted.exitCode, 0) << counted.err.toStdString();
    EXPECT_TRUE(counted.out.startsWith(QStringLiteral("Anagrafica 3\n"))) << counted.out.toStdString();
}

} // namespace
