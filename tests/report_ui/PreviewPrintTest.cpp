// Printing from the preview: the dialog's settings, copies through PrintPages, ranges,
// paper of each page, and a printed list whose PDF holds the text of the preview's pages.

#include "db/TField.h"
#include "output/report/ui/TextSearch.h"
#include "tests/report_ui/PreviewTestSupport.h"
#include "tests/support/Processes.h"

#include <QRegularExpression>

using namespace previewtest;
using namespace reporttest;

namespace {

// The first line of each PDF page.
QStringList pageHeads(const QString &pdf)
{
    QStringList heads;
    for (const QString &page : pdfText(pdf).split(QChar(12), Qt::SkipEmptyParts))
        if (!page.trimmed().isEmpty())
            heads << page.trimmed().section(QLatin1Char('\n'), 0, 0).simplified();
    return heads;
}

class PreviewPrintTest : public PreviewFixture {
protected:
    // The dialog answers with PDF output, `copies` and `collate`, and `range` when given.
    void answer(int copies, bool collate, std::function<void(QPrinter &)> range = {})
    {
        m_dialogs.print = [=, this](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path(QStringLiteral("stampa.pdf")));
            printer.setCopyCount(copies);
            printer.setCollateCopies(collate);
            if (range)
                range(printer);
            return true;
        };
    }
};

TEST_F(PreviewPrintTest, ThreeCopiesGoThroughPrintPagesWithTheDialogsCopiesBackToOne)
{
    TStandardPreview &preview = open(makePages(2));
    answer(3, false);
    m_dialogs.wanderTo = m_dir.path();
    preview.printReport();
    EXPECT_EQ(m_dialogs.printPageCount, 2);
    EXPECT_EQ(m_dialogs.printCopiesShown, 1);
    EXPECT_EQ(m_dialogs.printRangeShown, QPrinter::AllPages);
    EXPECT_EQ(preview.printer().copyCount(), 1);
    EXPECT_EQ(QDir::currentPath(), m_startFolder);
    const QString p1 = QStringLiteral("Pagina 1"), p2 = QStringLiteral("Pagina 2");
    EXPECT_EQ(pageHeads(path(QStringLiteral("stampa.pdf"))), (QStringList{p1, p1, p1, p2, p2, p2}));

    answer(3, true);
    preview.printReport();
    EXPECT_EQ(m_dialogs.printCopiesShown, 1);
    EXPECT_EQ(pageHeads(path(QStringLiteral("stampa.pdf"))), (QStringList{p1, p2, p1, p2, p1, p2}));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(PreviewPrintTest, RangesTheCurrentPageAndSeveralRangesInOneJob)
{
    TStandardPreview &preview = open(makePages(5));
    answer(1, false, [](QPrinter &p) {
        p.setPrintRange(QPrinter::PageRange);
        p.setFromTo(2, 3);
    });
    preview.printReport();
    EXPECT_EQ(pageHeads(path(QStringLiteral("stampa.pdf"))),
              (QStringList{QStringLiteral("Pagina 2"), QStringLiteral("Pagina 3")}));

    preview.view()->goToPage(4);
    answer(1, false, [](QPrinter &p) { p.setPrintRange(QPrinter::CurrentPage); });
    preview.printReport();
    EXPECT_EQ(pageHeads(path(QStringLiteral("stampa.pdf"))), QStringList{QStringLiteral("Pagina 4")});

    answer(2, true, [](QPrinter &p) {
        p.setPrintRange(QPrinter::PageRange);
        p.setPageRanges(QPageRanges::fromString(QStringLiteral("1,4-5")));
    });
    preview.printReport();
    const QString p1 = QStringLiteral("Pagina 1"), p4 = QStringLiteral("Pagina 4"), p5 = QStringLiteral("Pagina 5");
    EXPECT_EQ(pageHeads(path(QStringLiteral("stampa.pdf"))), (QStringList{p1, p4, p5, p1, p4, p5}));
}

TEST_F(PreviewPrintTest, EachPagesPaperReachesThePrinter)
{
    PreparedPages pages = makePages(3);
    pages[1].Paper.Orientation = 1;
    pages[2].Paper.Width = 1480;   // A5
    pages[2].Paper.Height = 2100;
    TStandardPreview &preview = open(std::move(pages));
    answer(1, false);
    preview.printReport();
    const QString out = testsupport::outputOf(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                                          QStringLiteral("3"), path(QStringLiteral("stampa.pdf"))});
    QStringList sizes;
    const QRegularExpression size(QStringLiteral("Page +\\d+ size: +([\\d.]+) x ([\\d.]+)"));
    for (auto it = size.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        sizes << QStringLiteral("%1x%2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble()));
    }
    EXPECT_EQ(sizes, (QStringList{QStringLiteral("595x842"), QStringLiteral("842x595"), QStringLiteral("420x595")}));
}

TEST_F(PreviewPrintTest, WithoutPrintersAWarningAndThenTheDialogForAFile)
{
    TStandardPreview &preview = open(makePages(1));
    m_dialogs.printers = false;
    preview.printReport();   // cancelled
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].caption, QStringLiteral("Attenzione"));
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Warning);
    EXPECT_EQ(m_dialogs.asked, 1);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("stampa.pdf"))));
}

class PreviewListPrintTest : public PreviewListFixture {};

TEST_F(PreviewListPrintTest, PrintedPdfHoldsTheTextOfThePreviewsPages)
{
    buildList();
    ASSERT_EQ(m_report->preparedPages().size(), 12);

    ScriptedDialogs dialogs;
    TStandardPreview preview(*m_report, false);
    preview.setDialogs(&dialogs);
    const QString pdf = path(QStringLiteral("elenco.pdf"));
    dialogs.print = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    preview.printReport();

    TextSearch search(m_report->preparedPages());
    const QStringList pdfPages = pdfText(pdf).split(QChar(12), Qt::SkipEmptyParts);
    int compared = 0;
    for (int page = 0; page < 12; ++page) {
        QStringList shown, printed;
        for (const QString &line : search.lineTexts(page))
            shown << line.simplified();
        for (const QString &line : pdfPages.value(page).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (!line.trimmed().isEmpty())
                printed << line.simplified();
        EXPECT_EQ(printed, shown) << "page " << page + 1;
        compared += int(shown.size());
    }
    EXPECT_GT(compared, 500);
}

} // namespace
