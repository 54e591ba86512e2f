// The supplied printed lists: the files in data/stampe are what their source makes, the
// catalogue names exactly those files, and each list printed from the demo archive with
// tavorio-cli holds exactly the accepted cards, in the list's order, with page numbers.

#include "ListsTestSupport.h"
#include "archive/StandardRows.h"
#include "db/TField.h"
#include "session/ArchiveConnection.h"
#include "session/PrintedListRun.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"
#include "tests/support/Processes.h"
#include "tests/support/QtApplication.h"
#include "tests/support/SuppliedLayouts.h"
#include "tools/layouts/SuppliedLists.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

using liststest::fileBytes;
using liststest::kSupplied;

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
        ASSERT_TRUE(testsupport::copySuppliedLayouts(s_dir->path()));
        ASSERT_EQ(cli({"crea-archivio", archive(), "--demo"}), 0);
    }
    static void TearDownTestSuite() { delete s_dir; }

    static QString archive() { return s_dir->filePath(QStringLiteral("tavorio.mdb")); }
    static QString path(const QString &name) { return s_dir->filePath(name); }

    static int cli(const QStringList &args, QString *errors = nullptr)
    {
        const testsupport::ProcessResult run = testsupport::runCli(args);
        if (errors)
            *errors = run.errText();
        return run.exitCode;
    }

    static QStringList pdfPages(const QString &pdf, const QStringList &extra = {})
    {
        QStringList pages =
            testsupport::outputOf(QStringLiteral("pdftotext"), QStringList{QStringLiteral("-layout")} + extra + QStringList{pdf, "-"})
                .split(QChar(12));
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
    // Every page's header says which cards the list covers.
    EXPECT_EQ(text.count(QStringLiteral("Fascia B")), pdfPages(pdf).size()) << text.toStdString();

    // The country compares exactly: another case selects nothing. The file is replaced only
    // when asked.
    EXPECT_EQ(cli({"stampa", archive(), "--elenco", "Elenco per capofamiglia", "--paese", "MAROCCO", "--pdf", pdf}), 1);
    ASSERT_EQ(cli({"stampa", archive(), "--elenco", "Elenco per capofamiglia", "--paese", "MAROCCO", "--pdf", pdf,
                   "--sovrascrivi"}),
              0);
    EXPECT_TRUE(pdfPages(pdf).join(QString()).contains(QStringLiteral("Schede stampate: 0")));
    EXPECT_TRUE(pdfPages(pdf).join(QString()).contains(QStringLiteral("Paese MAROCCO")));

    QString errors;
    EXPECT_EQ(cli({"stampa", archive(), "--elenco", "Nessun elenco", "--pdf", path(QStringLiteral("nessuno.pdf"))}, &errors),
              64);
    for (const auto &list : cli::standard::printedLists())
        EXPECT_TRUE(errors.contains(list.nome)) << errors.toStdString();
}

// A catalogue row the engine cannot honour ends the command with its reason and a code.
TEST_F(SuppliedListPrintTest, ABadCatalogueRowExitsWithTheReasonNotAnAbort)
{
    const QString broken = path(QStringLiteral("rotto.mdb"));
    ASSERT_TRUE(QFile::copy(archive(), broken));
    const auto setRow = [&](const char *field, const QString &value) {
        TArcDatabase database;
        TMainData data(database);
        configureArchiveConnection(database);
        database.setDatabase(broken);
        database.setConnected(true);
        TArcTable &catalogue = data.stampe();
        catalogue.open();
        for (catalogue.first(); !catalogue.eof(); catalogue.next())
            if (catalogue.fieldByName(QStringLiteral("Nome"))->asString() == QStringLiteral("Elenco telefonico")) {
                catalogue.edit();
                catalogue.fieldByName(QString::fromLatin1(field))->setAsString(value);
                catalogue.post();
            }
    };
    const QString pdf = path(QStringLiteral("rotto.pdf"));
    QString errors;
    setRow("Ordine", QStringLiteral("[Campo_che_non_esiste]"));
    EXPECT_EQ(cli({"stampa", broken, "--elenco", "Elenco telefonico", "--pdf", pdf}, &errors), 4);
    EXPECT_TRUE(errors.contains(QStringLiteral("Campo_che_non_esiste"))) << errors.toStdString();

    setRow("Ordine", QStringLiteral("Capofamiglia"));
    setRow("Tracciato", QStringLiteral("../stampe/elenco_telefonico.qnf"));
    EXPECT_EQ(cli({"stampa", broken, "--elenco", "Elenco telefonico", "--pdf", pdf}, &errors), 3);
    EXPECT_TRUE(errors.contains(QStringLiteral("non è il nome di un file"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

// Cards whose address and head of household fill their whole field (100 characters): every
// list that prints them shows every word, no two words overlap, none crosses the footer.
TEST_F(SuppliedListPrintTest, LongAddressesPrintWholeAndNothingOverlaps)
{
    const QString longArchive = path(QStringLiteral("lunghe.mdb"));
    ASSERT_TRUE(QFile::copy(archive(), longArchive));
    const QString address = QStringLiteral("Via San Francesco d'Assisi 147, scala B, interno 12, presso Caritas "
                                           "parrocchiale di Santa Lucia");
    const QString head = QStringLiteral("Abdelrahman Mohammed Salah Eldin Mustafa Hassan Ibrahim Khalil "
                                        "detto Memmo");
    {
        TArcDatabase database;
        TMainData data(database);
        configureArchiveConnection(database);
        database.setDatabase(longArchive);
        database.setConnected(true);
        TArcTable &cards = data.Anagrafica();
        cards.open();
        int changed = 0;
        for (cards.first(); !cards.eof() && changed < 4; cards.next(), ++changed) {
            cards.edit();
            cards.fieldByName(QStringLiteral("Indirizzo"))->setAsString(address);
            cards.fieldByName(QStringLiteral("Capofamiglia"))->setAsString(head + QLatin1Char(' ') + QString::number(changed));
            cards.fieldByName(QStringLiteral("Note"))->setAsString(QString(2000, QLatin1Char('n')));
            cards.post();
        }
    }
    struct Word {
        QString text;
        double left, top, right, bottom;
    };
    static const QRegularExpression tag(QStringLiteral(
        "<page width=\"[^\"]+\" height=\"([^\"]+)\">|<word xMin=\"([^\"]+)\" yMin=\"([^\"]+)\" xMax=\"([^\"]+)\" "
        "yMax=\"([^\"]+)\">([^<]*)</word>"));
    for (const auto &list : cli::standard::printedLists()) {
        const QString pdf = path(QStringLiteral("lunghe-") + list.tracciato + QStringLiteral(".pdf"));
        QString errors;
        ASSERT_EQ(cli({"stampa", longArchive, "--elenco", list.nome, "--pdf", pdf}, &errors), 0) << errors.toStdString();
        const QString html = testsupport::outputOf(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        std::vector<std::vector<Word>> pages;
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            if (!m.captured(1).isEmpty())
                pages.emplace_back();
            else if (!pages.empty())
                pages.back().push_back({m.captured(6), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                        m.captured(4).toDouble(), m.captured(5).toDouble()});
        }
        QString text;
        for (const auto &page : pages) {
            // The page number is the lowest line; nothing else reaches its line.
            double footTop = 1e9;
            for (const Word &w : page)
                if (w.text == QStringLiteral("Pagina"))
                    footTop = w.top;
            for (size_t i = 0; i < page.size(); ++i) {
                text += page[i].text + QLatin1Char(' ');
                if (page[i].bottom > footTop + 0.5 && std::abs(page[i].top - footTop) > 0.5)
                    ADD_FAILURE() << list.tracciato.toStdString() << ": " << page[i].text.toStdString()
                                  << " below the page number";
                for (size_t j = i + 1; j < page.size(); ++j) {
                    const Word &a = page[i], &b = page[j];
                    const double across = std::min(a.right, b.right) - std::max(a.left, b.left);
                    const double down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
                    if (across > 0.5 && down > 0.5)
                        ADD_FAILURE() << list.tracciato.toStdString() << ": \"" << a.text.toStdString() << "\" over \""
                                      << b.text.toStdString() << "\"";
                }
            }
        }
        text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // Each printed card shows every word of its address and name, wrapped as they may be.
        // The statistics print figures, no card: their words are checked for overlaps only.
        if (list.tracciato == QStringLiteral("statistiche.qnf"))
            continue;
        const bool printsAddress = list.tracciato != QStringLiteral("elenco_telefonico.qnf")
            && list.tracciato != QStringLiteral("scadenze_isee.qnf");
        const qsizetype cards = words.count(QStringLiteral("Abdelrahman"));
        EXPECT_TRUE(cards == 4 || (cards < 4 && !printsAddress && list.tracciato != QStringLiteral("elenco_telefonico.qnf")))
            << list.tracciato.toStdString() << " " << cards;
        for (const QString &word : (head + QStringLiteral(" ") + (printsAddress ? address : QString())).split(QLatin1Char(' ')))
            if (!word.isEmpty())
                EXPECT_GE(words.count(word), cards) << list.tracciato.toStdString() << " " << word.toStdString();
    }
}

} // namespace
