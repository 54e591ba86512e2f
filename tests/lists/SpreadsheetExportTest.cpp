// Every supplied list exported from the demo archive with tavorio-cli esporta: the CSV is
// what Italian spreadsheets expect, and the ODS, opened and saved as CSV by LibreOffice
// itself, gives back exactly the program's CSV (so LibreOffice reads every cell, and its
// numbers and dates show as the list prints them). One LibreOffice run converts them all.

#include "output/word/ZipPackage.h"
#include "ListsTestSupport.h"
#include "tests/support/QtApplication.h"
#include "tools/cli/StandardRows.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using liststest::fileBytes;
using liststest::kSupplied;

class SpreadsheetExportTest : public testing::Test {
protected:
    void SetUp() override
    {
        testsupport::ensureApplication();
        QDir(m_dir.path()).mkpath(QStringLiteral("stampe"));
        for (const QString &name : QDir(kSupplied).entryList(QDir::Files))
            QFile::copy(kSupplied + QLatin1Char('/') + name, m_dir.filePath(QStringLiteral("stampe/") + name));
        ASSERT_EQ(cli({"crea-archivio", archive(), "--demo"}), 0);
    }

    QString archive() const { return m_dir.filePath(QStringLiteral("tavorio.mdb")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    int cli(const QStringList &args, QString *errors = nullptr)
    {
        QProcess p;
        p.start(qEnvironmentVariable("TAVORIO_CLI"), args);
        p.waitForFinished(120000);
        if (errors)
            *errors = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir m_dir;
};

TEST_F(SpreadsheetExportTest, LibreOfficeReadsEveryListsSheetAsTheProgramsCsv)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed (scripts/install-deps installs it)";
    QStringList sheets;
    for (const auto &list : cli::standard::printedLists()) {
        const QString base = QFileInfo(list.tracciato).completeBaseName();
        QString errors;
        ASSERT_EQ(cli({"esporta", archive(), "--elenco", list.nome, "--csv", path(base + ".csv"), "--ods",
                       path(base + ".ods")},
                      &errors),
                  0)
            << errors.toStdString();
        sheets << path(base + ".ods");
    }
    // Text cells quoted only when they must be, as the program writes them; figures as shown.
    QProcess office;
    office.start(QStringLiteral("soffice"),
                 QStringList{QStringLiteral("-env:UserInstallation=file://") + path(QStringLiteral("profilo")),
                             "--headless", "--norestore", "--convert-to",
                             "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,true", "--outdir",
                             path(QStringLiteral("libreoffice"))}
                     + sheets);
    ASSERT_TRUE(office.waitForFinished(300000) && office.exitCode() == 0) << office.readAllStandardError().toStdString();

    for (const QString &sheet : sheets) {
        const QString base = QFileInfo(sheet).completeBaseName();
        const QByteArray ours = fileBytes(path(base + ".csv"));
        ASSERT_TRUE(ours.startsWith("\xEF\xBB\xBF")) << base.toStdString();
        QByteArray expected = ours.mid(3);
        expected.replace("\r\n", "\n");
        EXPECT_GT(expected.count('\n'), 2) << base.toStdString();
        EXPECT_EQ(fileBytes(path("libreoffice/" + base + ".csv")), expected) << base.toStdString();
    }

    // Dates and numbers are values a spreadsheet computes with, not texts.
    const auto content = [&](const char *base) {
        return word::ZipPackage::read(path(QString::fromLatin1(base) + ".ods")).find("content.xml")->data;
    };
    EXPECT_TRUE(content("scadenze_isee").contains("office:value-type=\"date\" office:date-value=\"20"));
    EXPECT_TRUE(content("statistiche").contains("office:value-type=\"float\" office:value=\"60\""));
    const auto entries = word::ZipPackage::read(sheets.front()).entries();
    EXPECT_EQ(entries.front().name, QStringLiteral("mimetype"));
    EXPECT_TRUE(entries.front().stored);
}

TEST_F(SpreadsheetExportTest, CriteriaSelectTheRowsAndTheStatisticsCommandWritesItsTable)
{
    ASSERT_EQ(cli({"esporta", archive(), "--elenco", "Elenco per fascia", "--fascia", "B", "--csv", path("b.csv")}), 0);
    QStringList rows = QString::fromUtf8(fileBytes(path("b.csv")).mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.takeFirst(), QStringLiteral("Protocollo;Capofamiglia;Indirizzo;Città;Telefono"));

    ASSERT_EQ(cli({"statistiche", archive(), "--al", "01/03/2026", "--fascia", "B", "--csv", path("s.csv")}), 0);
    const QByteArray figures = fileBytes(path("s.csv"));
    EXPECT_TRUE(figures.startsWith("\xEF\xBB\xBFSezione;Voce;Valore\r\nTotali;Nuclei familiari;"
                                   + QByteArray::number(rows.size()) + "\r\n"))
        << figures.left(80).toStdString();

    QString errors;
    EXPECT_EQ(cli({"esporta", archive(), "--elenco", "Nessun elenco", "--csv", path("x.csv")}, &errors), 64);
    EXPECT_EQ(cli({"esporta", archive(), "--elenco", "Statistiche"}), 64);
    EXPECT_EQ(cli({"statistiche", archive(), "--al", "31/02/2026"}), 64);
    EXPECT_EQ(cli({"statistiche", path("manca.mdb")}), 3);
    EXPECT_EQ(cli({"esporta", archive(), "--elenco", "Statistiche", "--csv", path("no/such/folder/x.csv")}), 1);
}

} // namespace
