// Every supplied list exported from the demo archive with tavorio-cli esporta: the CSV is
// what Italian spreadsheets expect, and the ODS, opened and saved as CSV by LibreOffice
// itself, gives back exactly the program's CSV (so LibreOffice reads every cell, and its
// numbers and dates show as the list prints them). One LibreOffice run converts them all.

#include "ListsTestSupport.h"
#include "archive/StandardRows.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "output/sheet/SheetTable.h"
#include "output/word/ZipPackage.h"
#include "tests/support/Processes.h"
#include "tests/support/QtApplication.h"
#include "tests/support/SuppliedLayouts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

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
    // The sheet says at what date and over which cards it counts; each section names its items.
    EXPECT_TRUE(figures.startsWith("\xEF\xBB\xBFSezione;Voce;Valore\r\n"
                                   "Selezione;Alla data del;01/03/2026\r\n"
                                   "Selezione;Fascia;B\r\n"
                                   "Selezione;Paese d'origine;tutti\r\n"
                                   "Selezione;Ricerca;nessuna\r\n"
                                   "Totali;Nuclei familiari;"
                                   + QByteArray::number(rows.size()) + "\r\n"))
        << figures.left(200).toStdString();
    EXPECT_TRUE(figures.contains("\r\nNuclei per origine;Italia;"));
    EXPECT_TRUE(figures.contains("\r\nNuclei per paese di origine;Italia;"));

    QString errors;
    EXPECT_EQ(cli({"esporta", archive(), "--elenco", "Nessun elenco", "--csv", path("x.csv")}, &errors), 64);
    EXPECT_EQ(cli({"esporta", archive(), "--elenco", "Statistiche"}), 64);
    EXPECT_EQ(cli({"statistiche", archive(), "--al", "31/02/2026"}), 64);
    EXPECT_EQ(cli({"statistiche", path("manca.mdb")}), 3);
    EXPECT_EQ(cli({"esporta", archive(), "--elenco", "Statistiche", "--csv", path("no/such/folder/x.csv")}), 1);
}

// Cells as people type them: a name beginning with "=" stays a name, a number stays a number,
// a phone number stays text with its leading zero, and each column is as wide as its content.
TEST(SpreadsheetCells, FormulaLikeTextsAreDefusedAndColumnsFitTheirContent)
{
    SheetTable table;
    table.titles = {QStringLiteral("Nome"), QStringLiteral("Telefono"), QStringLiteral("N")};
    const auto row = [&](const char *name, const char *phone, double n, const char *shown) {
        table.rows.push_back({SheetCell::textCell(QString::fromUtf8(name)), SheetCell::textCell(QString::fromUtf8(phone)),
                              SheetCell::numberCell(n, QString::fromUtf8(shown))});
    };
    row("=HYPERLINK(\"http://x\";\"clic\")", "+39 06 1234567", -5, "-5");
    row("@SUM(A1)", "0612345678", -3.5, "-3,5");
    row("-rossi", "-12", 1, "1");
    row("Rossi Mario Giuseppe De Laurentiis", "+39", 2, "2");
    const QString csv = QString::fromUtf8(csvBytes(table).mid(3));
    EXPECT_EQ(csv, QStringLiteral("Nome;Telefono;N\r\n"
                                  "\"'=HYPERLINK(\"\"http://x\"\";\"\"clic\"\")\";'+39 06 1234567;-5\r\n"
                                  "'@SUM(A1);0612345678;-3,5\r\n"
                                  "'-rossi;-12;1\r\n"
                                  "Rossi Mario Giuseppe De Laurentiis;+39;2\r\n"));

    const QByteArray content = word::ZipPackage::fromBytes(odsBytes(table, QStringLiteral("Prova")), QStringLiteral("prova.ods"))
                                   .find(QStringLiteral("content.xml"))->data;
    EXPECT_TRUE(content.contains("office:value-type=\"string\"><text:p>0612345678</text:p>"));
    EXPECT_TRUE(content.contains("<text:p>=HYPERLINK"));   // a text cell in the sheet, never a formula
    EXPECT_FALSE(content.contains("table:formula"));
    const QRegularExpression width(QStringLiteral("style:name=\"co(\\d)\".*?style:column-width=\"([0-9.]+)cm\""));
    std::map<int, double> widths;
    for (auto it = width.globalMatch(QString::fromUtf8(content)); it.hasNext();) {
        const auto m = it.next();
        widths[m.captured(1).toInt()] = m.captured(2).toDouble();
    }
    ASSERT_EQ(widths.size(), 3u);
    EXPECT_GT(widths[1], widths[2]);
    EXPECT_GT(widths[2], widths[3]);
    EXPECT_EQ(content.count("<table:table-column table:style-name=\"co"), 3);
}

// Every command that writes a file, aimed at the archive, its backup, an archive under
// another name and a file already there: nothing is written, and the archive is untouched.
TEST_F(SpreadsheetExportTest, NoOutputReplacesTheArchiveItsCopiesOrAFileNotMeantToGo)
{
    const QByteArray original = fileBytes(archive());
    ASSERT_TRUE(QFile::copy(archive(), path("tavorio_backup.mdb")));
    ASSERT_TRUE(QFile::copy(archive(), path("archivio-vecchio.dat")));
    QFile::link(archive(), path("collegamento.csv"));
    liststest::writeFile(path("lettera.csv"), "da tenere");
    const QStringList list = {"--elenco", "Elenco telefonico"};
    const QStringList refused[] = {
        QStringList{"esporta", archive()} + list + QStringList{"--csv", archive()},
        QStringList{"esporta", archive()} + list + QStringList{"--ods", path("tavorio_backup.mdb"), "--sovrascrivi"},
        QStringList{"esporta", archive()} + list + QStringList{"--csv", path("collegamento.csv"), "--sovrascrivi"},
        QStringList{"esporta", archive()} + list + QStringList{"--csv", path("nuovo.csv"), "--ods", path("./nuovo.csv")},
        QStringList{"esporta", archive()} + list + QStringList{"--csv", path("lettera.csv")},
        {"statistiche", archive(), "--csv", archive(), "--sovrascrivi"},
        {"statistiche", archive(), "--csv", path("archivio-vecchio.dat"), "--sovrascrivi"},
        {"statistiche", archive(), "--csv", path("lettera.csv")},
        QStringList{"stampa", archive()} + list + QStringList{"--pdf", path("tavorio_backup.mdb"), "--sovrascrivi"},
        QStringList{"stampa", archive()} + list + QStringList{"--pdf", path("lettera.csv")},
    };
    for (const QStringList &args : refused) {
        QString errors;
        EXPECT_EQ(cli(args, &errors), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(QStringLiteral("Nessun file scritto.\n"))) << errors.toStdString();
    }
    EXPECT_EQ(fileBytes(archive()), original);
    EXPECT_EQ(fileBytes(path("tavorio_backup.mdb")), original);
    EXPECT_EQ(fileBytes(path("archivio-vecchio.dat")), original);
    EXPECT_EQ(fileBytes(path("lettera.csv")), QByteArray("da tenere"));
    EXPECT_FALSE(QFile::exists(path("nuovo.csv")));

    // Asked for, an existing file is replaced whole, private to its owner, nothing left beside it.
    ASSERT_EQ(cli(QStringList{"esporta", archive()} + list + QStringList{"--csv", path("lettera.csv"), "--sovrascrivi"}), 0);
    EXPECT_TRUE(fileBytes(path("lettera.csv")).startsWith("\xEF\xBB\xBF" "Capofamiglia"));
    EXPECT_EQ(QFile::permissions(path("lettera.csv")),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    ASSERT_EQ(cli(QStringList{"stampa", archive()} + list + QStringList{"--pdf", path("t.pdf")}), 0);
    EXPECT_TRUE(fileBytes(path("t.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(QDir(m_dir.path()).entryList({QStringLiteral(".tavorio-*")}, QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
