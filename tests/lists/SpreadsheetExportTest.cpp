// Every supplied list exported from the demo archive with tavorio-cli esporta: the CSV is
// what Italian spreadsheets expect, and the ODS, opened and saved as CSV by LibreOffice
// itself, gives back exactly the program's CSV (so LibreOffice reads every cell, and its
// numbers and dates show as the list prints them). One LibreOffice run converts them all.

#include "ListsTestSupport.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "output/word/ZipPackage.h"
#include "tests/support/QtApplication.h"
#include "tests/support/SuppliedLayouts.h"
#include "tools/cli/StandardRows.h"
#include "tests/support/Processes.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using liststest::fileBytes;

class SpreadsheetExportTest : public testing::Test {
protected:
    void SetUp() override
    {
        testsupport::ensureApplication();
        ASSERT_TRUE(testsupport::copySuppliedLayouts(m_dir.path()));
        ASSERT_EQ(cli({"crea-archivio", archive(), "--demo"}), 0);
    }

    QString archive() const { return m_dir.filePath(QStringLiteral("tavorio.mdb")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    int cli(const QStringList &args, QString *errors = nullptr)
    {
        const testsupport::ProcessResult run = testsupport::runCli(args);
        if (errors)
            *errors = run.errText();
        return run.exitCode;
    }

    QTemporaryDir m_dir;
};

// Reads CSV as a spreadsheet does: cells split at ';' and rows at CR LF outside quotes, a
// quoted cell's doubled quotes read as one.
QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (quoted) {
            if (c == u'"' && next == u'"')
                cell += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                cell += c;
        } else if (c == u'"' && cell.isEmpty()) {
            quoted = true;
        } else if (c == u';') {
            row << std::exchange(cell, QString());
        } else if (c == u'\r' && next == u'\n') {
            row << std::exchange(cell, QString());
            rows << std::exchange(row, QStringList());
            ++i;
        } else {
            cell += c;
        }
    }
    EXPECT_FALSE(quoted) << "a quoted cell runs to the end of the file";
    EXPECT_TRUE(cell.isEmpty() && row.isEmpty()) << "the last row has no line end";
    return rows;
}

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
    const testsupport::ProcessResult office = testsupport::runProcess(
        QStringLiteral("soffice"),
        QStringList{QStringLiteral("-env:UserInstallation=file://") + path(QStringLiteral("profilo")), "--headless",
                    "--norestore", "--convert-to", "csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,true",
                    "--outdir", path(QStringLiteral("libreoffice"))}
            + sheets);
    ASSERT_EQ(office.exitCode, 0) << office.errText().toStdString();

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

// Cells holding the separator, quotes or line breaks come back whole, each in its column.
TEST_F(SpreadsheetExportTest, CellsWithSeparatorsQuotesAndLineBreaksReadBackWhole)
{
    // Each of the first three holds one reason to quote, the last all of them.
    const QStringList hostile{QStringLiteral("Rossi \"Mario\""), QStringLiteral("Via Roma 1\r\nScala B"),
                              QStringLiteral("Bari; Italia"), QStringLiteral("\"080\";123\n456")};
    QString protocol;
    {
        dao::DBEngine engine;
        auto workspace = engine.CreateWorkspace(QStringLiteral("prova"), QStringLiteral("Admin"), {}, dao::dbUseJet);
        auto db = workspace->OpenDatabase(archive(), false, false, QStringLiteral(";UID=Admin;PWD=;"));
        auto cards = db->OpenRecordset(QStringLiteral("Anagrafica"), dao::dbOpenDynaset);
        while (!cards->IsEOF() && cards->field(QStringLiteral("Fascia")).value().asText() != QLatin1String("B"))
            cards->MoveNext();
        ASSERT_FALSE(cards->IsEOF());
        protocol = cards->field(QStringLiteral("Protocollo")).value().asText();
        cards->Edit();
        const QStringList fields{QStringLiteral("Capofamiglia"), QStringLiteral("Indirizzo"), QStringLiteral("Citta"),
                                 QStringLiteral("Telefono")};
        for (qsizetype i = 0; i < fields.size(); ++i)
            cards->field(fields[i]).setValue(dao::Value(hostile[i]));
        cards->Update();
        db->Close();
    }
    ASSERT_EQ(cli({"esporta", archive(), "--elenco", "Elenco per fascia", "--fascia", "B", "--csv", path("b.csv")}), 0);
    const QList<QStringList> rows = readCsv(QString::fromUtf8(fileBytes(path("b.csv")).mid(3)));
    ASSERT_GT(rows.size(), 2);
    int found = 0;
    for (const QStringList &row : rows) {
        EXPECT_EQ(row.size(), 5) << row.join(u'|').toStdString();
        if (row.value(0) == protocol) {
            ++found;
            EXPECT_EQ(row.mid(1), hostile);
        }
    }
    EXPECT_EQ(found, 1);
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
