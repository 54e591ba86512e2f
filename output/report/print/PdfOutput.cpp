#include "output/report/print/PdfOutput.h"

#include "output/report/pages/PagePainter.h"
#include "output/report/pages/TextShapes.h"
#include "output/report/print/PaperLayout.h"
#include "output/report/print/PdfJoin.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Below this many pages a run costs more in its own fonts and the joining than it saves.
constexpr qsizetype kPagesPerPart = 40;

// Pages [first, last) on `writer`, which has not begun.
bool paint(QPdfWriter &writer, const PreparedPages &pages, qsizetype first, qsizetype last, const QString &title)
{
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tavorio"));
    writer.setResolution(600);
    if (first < last)
        writer.setPageLayout(pageLayoutOf(pages[first].Paper));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double scale = writer.resolution() / 96.0;
    // A list repeats most of its texts from page to page: each is shaped once for the file.
    // The shapes belong to one writer, so every run has its own.
    TextShapes shapes;
    for (qsizetype i = first; i < last; ++i) {
        if (i > first) {
            writer.setPageLayout(pageLayoutOf(pages[i].Paper));
            writer.newPage();
        }
        PagePainter::paint(painter, pages[i], scale, shapes);
    }
    return painter.end();
}

bool writeWhole(const PreparedPages &pages, const QString &path, const QString &title)
{
    QPdfWriter writer(path);
    return paint(writer, pages, 0, pages.size(), title);
}

// One run written in memory: the cards never pass through a temporary file.
QByteArray writeRun(const PreparedPages &pages, qsizetype first, qsizetype last, const QString &title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        if (!paint(writer, pages, first, last, title))
            return {};
    }
    return buffer.data();
}

} // namespace

int pdfParts(qsizetype pageCount)
{
    return int(std::clamp<qsizetype>(pageCount / kPagesPerPart, 1, std::max(1, QThread::idealThreadCount())));
}

bool writePdf(const PreparedPages &pages, const QString &path, const QString &title)
{
    return writePdf(pages, path, title, pdfParts(pages.size()));
}

bool writePdf(const PreparedPages &pages, const QString &path, const QString &title, int parts)
{
    parts = int(std::min<qsizetype>(parts, pages.size()));
    if (parts <= 1)
        return writeWhole(pages, path, title);
    // Runs of consecutive pages, as even as the count allows; the calling thread writes the
    // first while the others are written alongside.
    std::vector<QByteArray> runs(static_cast<size_t>(parts));
    const auto bounds = [&](int part) { return pages.size() * part / parts; };
    std::vector<std::unique_ptr<QThread>> threads;
    for (int part = 1; part < parts; ++part) {
        threads.emplace_back(QThread::create([&, part] { runs[size_t(part)] = writeRun(pages, bounds(part), bounds(part + 1), title); }));
        threads.back()->start();
    }
    runs[0] = writeRun(pages, 0, bounds(1), title);
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
    const bool written = std::none_of(runs.begin(), runs.end(), [](const QByteArray &run) { return run.isEmpty(); });
    const QByteArray joined = written ? PdfJoin::join(QList<QByteArray>(runs.begin(), runs.end())) : QByteArray();
    if (joined.isEmpty())
        return writeWhole(pages, path, title);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(joined) == joined.size() && file.flush();
}
