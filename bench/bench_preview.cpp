// The preview window: repainting the page on view at 100% and at "Una pagina", and turning
// the page of a 2 000-page prepared report (the window paints only the pages in view, so
// the turn may not grow with the report). A page is a printed list: a header, 44 lines, a
// footer, drawn by the printer's own page painter as the window does.

#include "BenchSupport.h"

#include "output/report/pages/PageFonts.h"
#include "output/report/ui/TStandardPreview.h"
#include "output/report/TqnReport.h"

#include <QApplication>

namespace {

constexpr int kPages = 2000;
constexpr int kLinesPerPage = 44;

void addText(PreparedPage &page, double y, const QString &text)
{
    const PreparedFont face{QStringLiteral("Sans Serif"), 10, 0};
    static const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font(face));
    DrawRecord r;
    r.kind = DrawRecord::Text;
    r.font = page.fontIndex(face);
    r.text = text;
    r.baseline = float(metrics.ascent());
    r.rect = QRectF(40, y, metrics.horizontalAdvance(text), metrics.height());
    page.Records.push_back(std::move(r));
}

PreparedPages listPages(int count)
{
    PreparedPages pages;
    pages.reserve(count);
    for (int n = 1; n <= count; ++n) {
        PreparedPage page;
        addText(page, 10, QStringLiteral("Prossimi appuntamenti del 09/12/2026"));
        for (int i = 0; i < kLinesPerPage; ++i) {
            const int card = (n - 1) * kLinesPerPage + i + 1;
            addText(page, 50 + 22 * i, QStringLiteral("%1/%2 Cognome%3 Nome%4 Via Giuseppe Garibaldi, %5")
                                           .arg(card).arg(card % 13 + 12).arg(card % 97).arg(card % 31).arg(card % 180));
        }
        addText(page, 1050, QStringLiteral("Pagina %1 di %2").arg(n).arg(count));
        pages.append(std::move(page));
    }
    return pages;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TqnReport report;
    report.preparedPages() = listPages(kPages);
    TStandardPreview preview(report, false);
    preview.resize(1280, 1000);
    preview.show();
    QCoreApplication::processEvents();
    PreviewView &view = *preview.view();

    const auto repaint = [&] { view.canvas()->repaint(); };
    preview.applyZoom(PreviewZoom::percent(100));
    view.goToPage(kPages / 2);
    const double atFull = bench::medianMs(31, [] {}, repaint);
    preview.applyZoom(PreviewZoom::fit(PreviewZoom::OnePage));
    view.goToPage(kPages / 2);
    const double onePage = bench::medianMs(31, [] {}, repaint);
    bench::report("preview_repaint_ms", std::max(atFull, onePage), "ms");
    bench::report("preview_repaint_100_ms", atFull, "ms");
    bench::report("preview_repaint_una_pagina_ms", onePage, "ms");

    // A turn: the next page, as Ctrl+PgDn does, painted on screen.
    preview.applyZoom(PreviewZoom::percent(100));
    view.goToPage(1);
    const double turn = bench::medianMs(101, [] {}, [&] {
        if (view.currentPage() == kPages)
            view.goToPage(1);
        view.nextPage();
        view.canvas()->repaint();
    });
    bench::report("preview_page_turn_ms", turn, "ms");
    return 0;
}
