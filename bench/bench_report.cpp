// The report engine over 10 000 cards: building the pages of a list (page header and footer,
// one growing data band with six text boxes and a long note under them, which takes as
// many lines as it needs) through the program's own datasets; the same texts
// drawn at the same places with a bare QPainter on a QPicture, as the yardstick of what
// building costs beyond drawing; and writing the pages as PDF.

#include "BenchSupport.h"

#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "output/report/pages/PageFonts.h"
#include "output/report/print/PdfOutput.h"
#include "session/ArchiveConnection.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>

namespace {

constexpr int kCards = 10000;

void addMemo(TqnPage &page, int x, int y, int width, const QString &text)
{
    auto memo = std::make_unique<TqnMemoView>();
    memo->X = x;
    memo->Y = y;
    memo->Width = width;
    memo->Height = 18;
    memo->Memo = {text};
    memo->FontSize = 9;
    page.Objects.push_back(std::move(memo));
}

void addBand(TqnPage &page, TqnBandType type, int y, int height, const QString &source = {})
{
    auto band = std::make_unique<TqnBandView>();
    band->BandType = type;
    band->Y = y;
    band->Width = 720;
    band->Height = height;
    band->FormatText = source;
    page.Objects.push_back(std::move(band));
}

void makeList(TqnReport &report)
{
    TqnLayout &layout = report.layout();
    layout.TwoPass = 0;
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btPageHeader, 0, 30);
    addMemo(page, 40, 5, 400, QStringLiteral("Elenco delle schede al [DATE]"));
    addBand(page, TqnBandType::btMasterData, 40, 40, QStringLiteral("Schede"));
    static_cast<TqnBandView &>(*page.Objects.back()).BandOptions = TqnBandView::boStretch;
    addMemo(page, 40, 41, 60, QStringLiteral("[Protocollo]"));
    addMemo(page, 100, 41, 40, QStringLiteral("[Fascia]"));
    addMemo(page, 140, 41, 180, QStringLiteral("[Anagrafica.\"Capofamiglia\"]"));
    addMemo(page, 320, 41, 180, QStringLiteral("[Indirizzo]"));
    addMemo(page, 500, 41, 100, QStringLiteral("[Citta]"));
    addMemo(page, 600, 41, 100, QStringLiteral("[Telefono]"));
    // A long note: the card's note three times over with its address, four to eight lines.
    addMemo(page, 140, 60, 300,
            QStringLiteral("[Anagrafica.\"Note\"] [Anagrafica.\"Note\"] Recapito: [Indirizzo], [Citta], "
                           "telefono [Telefono]. [Anagrafica.\"Note\"]"));
    addBand(page, TqnBandType::btPageFooter, 80, 25);
    addMemo(page, 40, 85, 200, QStringLiteral("Pagina [PAGE#]"));
    auto *entry = new TqnDBDataSet(layout.DataSets.holder());
    entry->setName(QStringLiteral("Schede"));
    entry->ComponentText = QStringLiteral("frm_main.Anagrafica");
    entry->setDataSet(qobject_cast<TDataSet *>(ComponentDirectory::instance().find(entry->ComponentText)));
    layout.DataSets.add(entry);
}

// The prepared pages' texts drawn with nothing but QPainter, page by page.
void paintPlain(const PreparedPages &pages)
{
    for (const PreparedPage &page : pages) {
        QPicture picture;
        QPainter painter(&picture);
        std::vector<QFont> fonts;
        for (const PreparedFont &face : page.Fonts)
            fonts.push_back(PageFonts::font(face));
        for (const DrawRecord &r : page.Records)
            if (r.kind == DrawRecord::Text) {
                painter.setFont(fonts[size_t(r.font)]);
                painter.drawText(QPointF(r.rect.left(), r.rect.top() + r.baseline), r.text);
            }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString archive = bench::cachedArchive(kCards);

    TArcDatabase database;
    TMainData data(database);
    configureArchiveConnection(database);
    database.setDatabase(archive);
    database.setConnected(true);
    data.Anagrafica().open();
    registerReportDataSets(QStringLiteral("frm_main"), data);
    QObject window;
    window.setObjectName(QStringLiteral("frm_main"));
    TqnReport report(&window);
    configureReport(report);
    makeList(report);

    PreparedPages pages;
    const double buildMs = bench::medianMs(3, [] {}, [&] {
        report.BuildPages();
        pages = report.preparedPages();
    });
    if (!report.preparationError().isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(report.preparationError()));
        return 1;
    }
    const double plainMs = bench::medianMs(3, [] {}, [&] { paintPlain(pages); });
    QTemporaryDir dir;
    const double pdfMs = bench::medianMs(3, [] {}, [&] { writePdf(pages, dir.filePath("elenco.pdf"), report.Title); });

    const double count = double(pages.size());
    bench::report("report_build_pages_per_s", count * 1000.0 / buildMs, "pages/s");
    bench::report("report_build_vs_plain_paint_ratio", buildMs / plainMs, "x");
    bench::report("report_pdf_pages_per_s", count * 1000.0 / pdfMs, "pages/s");
    ComponentDirectory::instance().removeWindow(QStringLiteral("frm_main"));
    return 0;
}
