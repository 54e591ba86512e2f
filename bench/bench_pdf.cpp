// The PDF writing half of printing: the densest supplied list, "Schede con nucleo familiare"
// over 5 000 cards (about 600 pages of some 250 text lines each), built once, then written
// as PDF three times, each time alongside the yardstick: the same pages on the same writer
// with every line set in its font and shaped where it is drawn. Processor time (all threads
// of the process), median of three:
// - pdf_supplied_5k_cpu_ms: writePdf; pdf_supplied_5k_plain_cpu_ms: the yardstick;
// - pdf_supplied_5k_vs_plain_ratio; pdf_supplied_5k_pages_per_s (of processor time);
// - pdf_supplied_5k_ms: writePdf's wall time.
// BENCH_PDF_RUNS=n runs n times instead of three (one, under a profiler).

#include "BenchSupport.h"

#include "output/report/TqnReport.h"
#include "output/report/pages/PageFonts.h"
#include "output/report/print/PaperLayout.h"
#include "output/report/print/PdfOutput.h"
#include "tools/print/ListSession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

// The yardstick: writePdf's writer, every line set in its font and shaped where it is drawn
// with QPainter::drawText, the rules drawn as lines.
void writePlain(const PreparedPages &pages, const QString &path)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(pageLayoutOf(pages.front().Paper));
    QPainter painter(&writer);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(pageLayoutOf(pages[i].Paper));
            writer.newPage();
        }
        const PreparedPage &page = pages[i];
        painter.save();
        painter.scale(writer.resolution() / 96.0, writer.resolution() / 96.0);
        std::vector<QFont> fonts;
        for (const PreparedFont &face : page.Fonts)
            fonts.push_back(PageFonts::font(face, &writer));
        for (const DrawRecord &r : page.Records) {
            if (r.kind == DrawRecord::Line) {
                QPen pen(colorFromBgr(r.color));
                pen.setWidthF(r.penWidth);
                painter.setPen(pen);
                painter.drawLine(r.rect.topLeft(), r.rect.bottomRight());
            } else if (r.kind == DrawRecord::Text) {
                painter.setFont(fonts[size_t(r.font)]);
                painter.setPen(colorFromBgr(r.color));
                painter.drawText(QPointF(r.rect.left(), r.rect.top() + r.baseline), r.text);
            }
        }
        painter.restore();
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString archive = bench::cachedArchive(5000);
    bench::supplyLayouts(QFileInfo(archive).absolutePath());
    QString errors;
    QTextStream err(&errors);
    cli::ListSession session(err, [] { return QDateTime(QDate(2026, 3, 1), QTime(9, 0)); });
    session.open(archive, QString(), cli::ListSession::Members::Open);
    PreparedPages pages;
    session.runList(QStringLiteral("Schede con nucleo familiare"), CardCriteria(), [&](TqnReport &report) {
        report.BuildPages();
        pages = report.preparedPages();
    });
    if (pages.size() < 100)
        qFatal("the list has %d pages", int(pages.size()));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("schede.pdf"));
    std::vector<double> cpu, plainCpu, wall;
    // Taken in turn, so that a machine busy with other work slows both alike.
    const int runs = std::max(1, qEnvironmentVariableIntValue("BENCH_PDF_RUNS") ?: 3);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        double before = bench::processorMs();
        if (!writePdf(pages, file, QStringLiteral("Schede")))
            qFatal("the PDF could not be written");
        cpu.push_back(bench::processorMs() - before);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        before = bench::processorMs();
        writePlain(pages, file);
        plainCpu.push_back(bench::processorMs() - before);
    }
    bench::report("pdf_supplied_5k_cpu_ms", bench::median(cpu), "ms");
    bench::report("pdf_supplied_5k_plain_cpu_ms", bench::median(plainCpu), "ms");
    bench::report("pdf_supplied_5k_vs_plain_ratio", bench::median(cpu) / bench::median(plainCpu), "x");
    bench::report("pdf_supplied_5k_pages_per_s", double(pages.size()) * 1000.0 / bench::median(cpu), "pages/s");
    bench::report("pdf_supplied_5k_ms", bench::median(wall), "ms");
    return 0;
}
