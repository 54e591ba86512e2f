// A supplied list printed through Qt's printer (as the print dialog's "print to file" does)
// lands exactly where the PDF writer puts it: same words in the same boxes.

#include "output/report/print/PdfOutput.h"
#include "output/report/printer/QtReportPrinter.h"
#include "tests/report/ReportTestSupport.h"

#include <QProcess>
#include <QRegularExpression>

using namespace reporttest;

namespace {

class PrinterGeometryTest : public ArchiveReportFixture {};

TEST_F(PrinterGeometryTest, ThePrintDialogsPdfMatchesThePdfWriterWordForWord)
{
    openArchive(30);
    m_report->OpenLayout(QStringLiteral(TAVORIO_SOURCE_DIR "/data/stampe/elenco_capofamiglia.qnf"));
    ASSERT_TRUE(m_messages.shown.empty());
    ASSERT_TRUE(m_report->BuildPages());
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_FALSE(pages.isEmpty());

    const QString written = path(QStringLiteral("scritto.pdf"));
    ASSERT_TRUE(writePdf(pages, written, m_report->Title));

    // The print dialog's printer: high resolution, its output a file.
    const QString printed = path(QStringLiteral("stampato.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed);
    m_report->setPrinterFactory([&](const QString &) { return std::make_unique<QtReportPrinter>(printer); });
    m_report->PrintPages(1, int(pages.size()), false, 1);
    ASSERT_TRUE(m_messages.shown.empty());

    const std::vector<PdfWord> expected = pdfWords(written);
    const std::vector<PdfWord> got = pdfWords(printed);
    ASSERT_GT(expected.size(), 100u);
    ASSERT_EQ(got.size(), expected.size());
    // The two devices differ in resolution (600 and 1200 dots per inch), not in geometry.
    constexpr double tolerance = 0.25;
    QStringList misplaced;
    for (size_t i = 0; i < expected.size(); ++i) {
        const PdfWord &e = expected[i];
        const PdfWord &g = got[i];
        ASSERT_EQ(g.page, e.page) << i;
        ASSERT_EQ(g.text, e.text) << i;
        const QPointF shift = g.box.topLeft() - e.box.topLeft();
        const QPointF grown = g.box.bottomRight() - e.box.bottomRight();
        if (std::max({std::abs(shift.x()), std::abs(shift.y()), std::abs(grown.x()), std::abs(grown.y())}) > tolerance)
            misplaced << QStringLiteral("%1 at %2,%3-%4,%5 instead of %6,%7-%8,%9")
                             .arg(e.text)
                             .arg(g.box.left()).arg(g.box.top()).arg(g.box.right()).arg(g.box.bottom())
                             .arg(e.box.left()).arg(e.box.top()).arg(e.box.right()).arg(e.box.bottom());
    }
    EXPECT_TRUE(misplaced.isEmpty()) << misplaced.size() << " words misplaced, e.g.\n"
                                     << misplaced.mid(0, 5).join(QLatin1Char('\n')).toStdString();
}

} // namespace
