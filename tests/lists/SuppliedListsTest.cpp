// The supplied printed lists: the files in data/stampe are what their source makes, the
// catalogue names exactly those files, and each list printed from the demo archive with
// tavorio-cli holds exactly the accepted cards, in the list's order, with page numbers.

#include "db/TField.h"
#include "forms/main/ArchiveConnection.h"
#include "forms/main/TMainData.h"
#include "forms/selezione/PrintedListRun.h"
#include "store/TArcDatabase.h"
#include "tests/support/QtApplication.h"
#include "tools/cli/StandardRows.h"
#include "tools/layouts/SuppliedLists.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const QString kSupplied = QStringLiteral(TAVORIO_SOURCE_DIR "/data/stampe");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SuppliedLists, DataStampeHoldsExactlyWhatTheSourceMakes)
{
    const QStringList files = QDir(kSupplied).entryList(QDir::Files, QDir::Name);
    QStringList made = layouts::suppliedLayouts();
    made.sort();
    EXPECT_EQ(files, made);
    for (const QString &name : made)
        EXPECT_EQ(fileBytes(kSupplied + QLatin1Char('/') + name), layouts::suppliedLayoutBytes(name))
            << name.toStdString() << " differs: run make-layouts data/stampe";

    QStringList catalogued;
    for (const auto &list : cli::standard::printedLists())
        catalogued << list.tracciato;
    catalogued.sort();
    EXPECT_EQ(catalogued, made);
}

// The demo archive beside a copy of the supplied layouts, as an application folder.
class SuppliedListPrintTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::ensureApplication();
        s_dir = new QTemporaryDir;
        QDir(s_dir->path()).mkpath(QStringLiteral("stampe"));
        for (const QString &name : QDir(kSupplied).entryList(QDir::Files))
            QFile::copy(kSupplied + QLatin1Char('/') + name, s_dir->filePath(QStringLiteral("stampe/") + name));
        ASSERT_EQ(cli({"crea-archivio", archive(), "--demo"}), 0);
    }
    static void TearDownTestSuite() { delete s_dir; }

    static QString archive() { return s_dir->filePath(QStringLiteral("tavorio.mdb")); }
    static QString path(const QString &name) { return s_dir->filePath(name); }

    static int cli(const QStringList &args, QString *errors = nullptr)
    {
        QProcess p;
        p.start(qEnvironmentVariable("TAVORIO_CLI"), args);
        p.waitForFinished(120000);
        if (errors)
            *errors = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    static QStringList pdfPages(const QString &pdf, const QStringList &extra = {})
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), QStringList{QStringLiteral("-layout")} + extra + QStringList{pdf, "-"});
        p.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QChar(12));
        while (!pages.isEmpty() && pages.back().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    // The `field` of the cards the list accepts, in its order, read through the program's datasets.
    static QStringList expectedCards(const QString &ordine, const QString &field, bool needsExpiry)
    {
        TArcDatabase database;
        TMainData data(database);
        configureArchiveConnection(database);
        database.setDatabase(archive());
        database.setConnected(true);
        TArcTable &cards = data.Anagrafica();
        cards.setSortedBy(printedListOrder(ordine));
        cards.open();
        QStringList values;
        for (cards.first(); !cards.eof(); cards.next())
            if (!needsExpiry || !cards.fieldByName(QStringLiteral("Scad_ISEE"))->isNull())
                values << cards.fieldByName(field)->asString();
        return values;
    }

    static QTemporaryDir *s_dir;
};

QTemporaryDir *SuppliedListPrintTest::s_dir = nullptr;

struct ListCase {
    const char *tracciato;
    const char *keyField;   // a field every printed card shows once, in its own column
    int keyColumn;          // that column's place among the line's columns
    bool needsExpiry;
};

class SuppliedListEachTest : public SuppliedListPrintTest, public testing::WithParamInterface<ListCase> {};

TEST_P(SuppliedListEachTest, PrintsTheAcceptedCardsInOrderWithPageNumbers)
{
    const ListCase c = GetParam();
    const auto lists = cli::standard::printedLists();
    const auto list = std::find_if(lists.begin(), lists.end(),
                                   [&](const auto &l) { return l.tracciato == QLatin1String(c.tracciato); });
    ASSERT_NE(list, lists.end());
    const QString pdf = path(list->tracciato + QStringLiteral(".pdf"));
    QString errors;
    ASSERT_EQ(cli({"stampa", archive(), "--elenco", list->nome, "--pdf", pdf}, &errors), 0) << errors.toStdString();

    const QStringList expected = expectedCards(list->ordine, QString::fromLatin1(c.keyField), c.needsExpiry);
    ASSERT_FALSE(expected.isEmpty());
    const QStringList pages = pdfPages(pdf);
    QStringList printed;
    static const QRegularExpression columns(QStringLiteral("\\s{2,}"));
    for (int i = 0; i < pages.size(); ++i) {
        QStringList lines = pages[i].split(QLatin1Char('\n'));
        lines.removeIf([](const QString &l) { return l.trimmed().isEmpty(); });
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.back().trimmed().endsWith(QStringLiteral("Pagina %1 di %2").arg(i + 1).arg(pages.size())))
            << lines.back().toStdString();
        for (const QString &line : lines) {
            const QStringList cells = line.trimmed().split(columns);
            if (cells.size() > c.keyColumn && expected.contains(cells[c.keyColumn]))
                printed << cells[c.keyColumn];
        }
    }
    EXPECT_EQ(printed, expected);
}

INSTANTIATE_TEST_SUITE_P(Lists, SuppliedListEachTest,
                         testing::Values(ListCase{"elenco_capofamiglia.qnf", "Protocollo", 0, false},
                                         ListCase{"elenco_fascia.qnf", "Protocollo", 0, false},
                                         ListCase{"elenco_telefonico.qnf", "Capofamiglia", 0, false},
                                         ListCase{"scadenze_isee.qnf", "Protocollo", 1, true},
                                         ListCase{"schede_nucleo.qnf", "Protocollo", 0, false}));

// Labels run down each of the three columns in turn, so each column is read on its own.
TEST_F(SuppliedListPrintTest, LabelsRunDownThreeColumnsInTheListsOrder)
{
    const QString pdf = path(QStringLiteral("etichette.pdf"));
    ASSERT_EQ(cli({"stampa", archive(), "--elenco", "Etichette indirizzi", "--pdf", pdf}), 0);
    const QStringList expected = expectedCards(QStringLiteral("Capofamiglia"), QStringLiteral("Capofamiglia"), false);
    const int pageCount = int(pdfPages(pdf).size());
    ASSERT_EQ(pageCount, (int(expected.size()) + 20) / 21);
    QStringList printed;
    constexpr double kMmToPt = 72.0 / 25.4;
    for (int page = 1; page <= pageCount; ++page)
        for (int column = 0; column < 3; ++column) {
            const int x = int((7.2 + column * 66.03) * kMmToPt);
            const QStringList crop{"-f", QString::number(page), "-l", QString::number(page), "-x", QString::number(x),
                                   "-y", QString::number(int(15 * kMmToPt)), "-W", QString::number(int(63 * kMmToPt)),
                                   "-H", QString::number(int(267 * kMmToPt))};
            for (const QString &line : pdfPages(pdf, crop).join(QString()).split(QLatin1Char('\n')))
                if (expected.contains(line.trimmed()))
                    printed << line.trimmed();
        }
    EXPECT_EQ(printed, expected);
}

TEST_F(SuppliedListPrintTest, CriteriaFromTheCommandLineAndAnUnknownListName)
{
    const QString pdf = path(QStringLiteral("fascia.pdf"));
    ASSERT_EQ(cli({"stampa", archive(), "--elenco", "Elenco per capofamiglia", "--fascia", "B", "--pdf", pdf}), 0);
    QString text = pdfPages(pdf).join(QString());
    static const QRegularExpression row(QStringLiteral("^\\s*\\d+/\\d+\\s.*\\s([A-D])\\s*$"),
                                        QRegularExpression::MultilineOption);
    int rows = 0;
    for (auto it = row.globalMatch(text); it.hasNext(); ++rows)
        EXPECT_EQ(it.next().captured(1), QStringLiteral("B"));
    EXPECT_GT(rows, 0);

    // The country compares exactly: another case selects nothing.
    ASSERT_EQ(cli({"stampa", archive(), "--elenco", "Elenco per capofamiglia", "--paese", "MAROCCO", "--pdf", pdf}), 0);
    EXPECT_TRUE(pdfPages(pdf).join(QString()).contains(QStringLiteral("Schede stampate: 0")));

    QString errors;
    EXPECT_EQ(cli({"stampa", archive(), "--elenco", "Nessun elenco", "--pdf", pdf}, &errors), 64);
    for (const auto &list : cli::standard::printedLists())
        EXPECT_TRUE(errors.contains(list.nome)) << errors.toStdString();
}

} // namespace
