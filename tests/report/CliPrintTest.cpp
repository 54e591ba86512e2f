// tavorio-cli stampa: the archive through the program's datasets, a layout, a PDF.

#include "tests/report/ReportTestSupport.h"
#include "tests/support/TestArchive.h"
#include "tests/support/Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace reporttest;

namespace {

struct CliRun {
    int exitCode = -1;
    QString err;
};

class CliPrintTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        testsupport::createArchive(path(QStringLiteral("tavorio.mdb")), {}, 30);
    }
    void saveList(const QString &text)
    {
        TqnPage &page = m_report->layout().Pages.front();
        addBand(page, TqnBandType::btMasterData, 0, 20, QStringLiteral("Schede"));
        addMemo(page, 10, 0, 600, 20, text);
        addBoundSource(m_report->layout(), QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
        m_report->StoreLayout(path(QStringLiteral("elenco.qnf")));
    }
    CliRun print(const QString &layout, const QStringList &more = {})
    {
        testsupport::ProcessOptions options;
        options.environment = QProcessEnvironment::systemEnvironment();
        options.environment.remove(QStringLiteral("QT_QPA_PLATFORM"));   // the command needs no display of its own
        options.environment.remove(QStringLiteral("DISPLAY"));
        const testsupport::ProcessResult run = testsupport::runCli(
            QStringList{QStringLiteral("stampa"), path(QStringLiteral("tavorio.mdb")), layout, QStringLiteral("--pdf"),
                        path(QStringLiteral("out.pdf"))} + more,
            options);
        return {run.exitCode, run.errText()};
    }
};

TEST_F(CliPrintTest, WritesThePdfOfTheCards)
{
    saveList(QStringLiteral("Scheda [Protocollo] [Capofamiglia]"));
    const CliRun run = print(path(QStringLiteral("elenco.qnf")));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pdfText(path(QStringLiteral("out.pdf"))).count(QStringLiteral("Scheda ")), 30);
}

TEST_F(CliPrintTest, ThePdfIsReplacedWholeOwnersOnlyAndAFailedWriteLeavesWhatWasThere)
{
    saveList(QStringLiteral("Scheda [Protocollo]"));
    QFile old(path(QStringLiteral("out.pdf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("vecchio");
    old.close();
    ASSERT_TRUE(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    CliRun run = print(path(QStringLiteral("elenco.qnf")), {QStringLiteral("--sovrascrivi")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pdfText(path(QStringLiteral("out.pdf"))).count(QStringLiteral("Scheda ")), 30);
    EXPECT_EQ(QFile::permissions(path(QStringLiteral("out.pdf"))),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);

    // The rename refused (a folder holds the name): exit 1, the folder untouched, no temporary.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("out.pdf"))));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("out.pdf/dentro"))));
    run = print(path(QStringLiteral("elenco.qnf")), {QStringLiteral("--sovrascrivi")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Non è stato possibile scrivere il file"))) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("out.pdf/dentro"))).isDir());
    EXPECT_TRUE(QDir(path(QString())).entryList({QStringLiteral(".tavorio-*")}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(CliPrintTest, MissingOrDamagedLayoutExitsThree)
{
    CliRun run = print(path(QStringLiteral("manca.qnf")));
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("inesistente"))) << run.err.toStdString();

    QFile damaged(path(QStringLiteral("rotto.qnf")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("\x1B\x00\x00\x00\x00\x01\x00\x01\x00", 9) + QByteArray(1, char(5)));
    damaged.close();
    run = print(path(QStringLiteral("rotto.qnf")));
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Probabilmente il report è corrotto"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.pdf"))));
}

TEST_F(CliPrintTest, PreparationErrorExitsFourWithItsText)
{
    saveList(QStringLiteral("Scheda [Sconosciuto]"));
    const CliRun run = print(path(QStringLiteral("elenco.qnf")));
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Si è verificato un errore durante la fase di preparazione")));
    EXPECT_TRUE(run.err.contains(QStringLiteral("Identificatore sconosciuto: Sconosciuto")));
}

} // namespace
