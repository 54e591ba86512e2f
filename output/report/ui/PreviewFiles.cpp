#include "output/report/ui/PreviewFiles.h"

#include "output/report/pages/PagePainter.h"
#include "output/report/pages/PreparedFile.h"
#include "output/report/print/PdfOutput.h"
#include "platform/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace previewfiles {

namespace {
// Prepared reports of a few thousand pages stay far below this.
constexpr qint64 kMaxPreparedBytes = qint64(1) << 31;

} // namespace

QString withExtension(const QString &name, const QString &extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}

// Every file goes through the one writer of outputs: a temporary name beside the target,
// owner-only, renamed over it when whole.
bool savePrepared(const PreparedPages &pages, const QString &path)
{
    return platform::writeOutputBytes(path, writePreparedPages(pages));
}

bool saveSvgPage(const PreparedPage &page, const QString &path, const QString &title)
{
    return platform::writeThroughTemporary(path, [&](const QString &temporary) {
        {
            QSvgGenerator svg;
            svg.setFileName(temporary);
            svg.setTitle(title);
            // One unit a layout pixel, so the page keeps its measures.
            svg.setResolution(96);
            const QSize size(qRound(page.Paper.widthPx()), qRound(page.Paper.heightPx()));
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            QPainter painter;
            if (!painter.begin(&svg))
                return false;
            painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
            PagePainter::paint(painter, page, 1.0);
            painter.end();
        }
        // The generator writes its file when it goes.
        return QFileInfo(temporary).size() > 0;
    });
}

bool savePdf(const PreparedPages &pages, const QString &path, const QString &title)
{
    return platform::writeThroughTemporary(
        path, [&](const QString &temporary) { return writePdf(pages, temporary, title); });
}

std::optional<PreparedPages> openPrepared(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPreparedBytes)
        return std::nullopt;
    return readPreparedPages(file.readAll());
}

} // namespace previewfiles
