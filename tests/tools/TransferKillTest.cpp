// trasferisci killed at every step, both ways between a file and the test server (a file
// when the tests run without one): before each table, after its first row, before and after
// the comparison, after the commit. The target is then absent (a file), or an archive that
// verifica calls an unfinished copy (exit 5) and no desk can work in, or, once committed,
// the whole copy; never a sound-looking half. A new run over what a killed one left goes
// through.

#include "tests/tools/ToolsHarness.h"

#include "archive/ArchiveComparison.h"
#include "archive/ArchiveTransfer.h"
#include "archive/CliError.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "store/Schema.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/Processes.h"
#include "tests/support/TestArchive.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int kKilled = 77;

struct Side {
    QString location;
    QString password;
};

toolstest::CommandResult transferKilledAt(const Side &from, const Side &to, const QString &point)
{
    testsupport::ProcessOptions options;
    options.environment = QProcessEnvironment::systemEnvironment();
    options.environment.insert(QStringLiteral("TAVORIO_CRASH_POINT"), point);
    options.input = (from.password + QLatin1Char('\n') + to.password + QLatin1Char('\n')).toUtf8();
    const testsupport::ProcessResult run = testsupport::runCli(
        {QStringLiteral("trasferisci"), from.location, to.location, QStringLiteral("--password-stdin")}, options);
    if (!run.finished)
        throw std::runtime_error("tavorio-cli did not finish: " + run.errText().toStdString());
    return {run.exitCode, run.outText(), run.errText()};
}

QStringList stopPoints(const QString &source, const QString &password)
{
    toolstest::ArchiveProbe probe(source, password);
    QStringList points{QStringLiteral("trasferimento.segnato")};
    for (const QString &table : cli::userTables(probe.db()))
        points << QStringLiteral("trasferimento.tabella.") + table << QStringLiteral("trasferimento.righe.") + table;
    return points << QStringLiteral("trasferimento.prima_del_confronto") << QStringLiteral("trasferimento.dopo_il_confronto")
                  << QStringLiteral("trasferimento.confermato");
}

bool sameArchive(const Side &a, const Side &b)
{
    toolstest::ArchiveProbe first(a.location, a.password);
    toolstest::ArchiveProbe second(b.location, b.password);
    return cli::compareArchives(first.db(), second.db()).differences.isEmpty()
        && first.db().QueryDefs().size() == second.db().QueryDefs().size();
}

class TransferKillTest : public testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    Side newTarget(bool server, const QString &name) const
    {
        if (server)
            return {testsupport::newPgDatabase(), testsupport::pgOfficePassword()};
        return {path(name), QStringLiteral("chiave")};
    }

    // Kills a copy from `from` at every point; what is left is checked each time.
    void killEverywhere(const Side &from, bool serverTarget, const QString &prefix)
    {
        int n = 0;
        for (const QString &point : stopPoints(from.location, from.password)) {
            SCOPED_TRACE(point.toStdString());
            const Side to = newTarget(serverTarget, QStringLiteral("%1%2.mdb").arg(prefix).arg(++n));
            const auto run = transferKilledAt(from, to, point);
            if (run.exitCode == 0) {   // a table without rows: no row to stop after
                ASSERT_TRUE(point.startsWith(QStringLiteral("trasferimento.righe."))) << run.err.toStdString();
                EXPECT_TRUE(sameArchive(from, to));
                continue;
            }
            ASSERT_EQ(run.exitCode, kKilled) << run.err.toStdString();
            const bool committed = point == QStringLiteral("trasferimento.confermato");
            // A file target never has its name before the copy is whole; the working file
            // left behind is what verifica is asked about.
            const Side left = serverTarget ? to : Side{cli::workingFileFor(to.location), to.password};
            if (!serverTarget)
                EXPECT_FALSE(QFileInfo::exists(to.location));
            const auto verified = toolstest::verify(toolstest::Mode::Executable, left.location, left.password);
            if (committed) {
                EXPECT_EQ(verified.exitCode, 0) << verified.err.toStdString();
                EXPECT_TRUE(sameArchive(from, left));
                continue;
            }
            EXPECT_EQ(verified.exitCode, int(cli::ExitCode::Damaged)) << verified.err.toStdString();
            EXPECT_TRUE(verified.err.contains(QStringLiteral("copia non terminata"))) << verified.err.toStdString();
            // Nothing of the archive's own tables is there for a desk to open.
            toolstest::ArchiveProbe probe(left.location, left.password);
            EXPECT_EQ(cli::userTables(probe.db()), QStringList{cli::unfinishedCopyMark()});
        }
    }

    QTemporaryDir m_dir;
};

TEST_F(TransferKillTest, AKilledCopyIsWholeOrMarkedUnfinishedBothWays)
{
    const Side file{path(QStringLiteral("a.mdb")), {}};
    testsupport::createArchive(file.location, {}, 6);
    dao::DBEngine engine;
    {
        auto ws = engine.CreateWorkspace(QStringLiteral("prova"), QStringLiteral("Admin"), {}, dao::dbUseJet);
        auto db = ws->OpenDatabase(file.location, false, false, QStringLiteral(";UID=Admin;PWD=;"));
        db->CreateQueryDef(QStringLiteral("Schede di Roma"), QStringLiteral("Select * From [Anagrafica] Where [Citta] = \"Roma\";"));
        db->Close();
    }
    const bool server = testsupport::pgAvailable();
    killEverywhere(file, server, QStringLiteral("andata"));

    // The other way: from the server (or a second file) back to a file.
    const Side middle = newTarget(server, QStringLiteral("intermedio.mdb"));
    ASSERT_EQ(transferKilledAt(file, middle, {}).exitCode, 0);
    killEverywhere(middle, false, QStringLiteral("ritorno"));

    // A run over what a killed one left behind makes the whole copy.
    const Side again{path(QStringLiteral("ritorno1.mdb")), QStringLiteral("chiave")};
    ASSERT_TRUE(QFileInfo::exists(cli::workingFileFor(again.location)));
    const auto whole = transferKilledAt(middle, again, {});
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_TRUE(sameArchive(file, again));
    EXPECT_FALSE(QFileInfo::exists(cli::workingFileFor(again.location)));
}

} // namespace
