#include "output/report/ui/PreviewFiles.h"

#include "output/report/pages/PagePainter.h"
#include "output/report/pages/PreparedFile.h"
#include "output/report/print/PdfOutput.h"

#include <QFile>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTemporaryFile>
#include <QFileInfo>
#include <filesystem>

namespace previewfiles {

namespace {
// Prepared reports of a few thousand pages stay far below this.
constexpr qint64 kMaxPreparedBytes = qint64(1) << 31;

bool replaceWith(const QString &temporary, const QString &path)
{
    // The SVG and PDF writers seek back while writing, which QSaveFile refuses: they write
    // beside the target and the finished file replaces it in one rename.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(), QFile::encodeName(path).toStdString(), error);
    if (error)
        QFile::remove(temporary);
    return !error;
}

QString temporaryBeside(const QString &path)
{
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return QString();
    return file.fileName();
}

} // namespace

QString withExtension(const QString &name, const QString &extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}

bool savePrepared(const PreparedPages &pages, const QString &path)
{
    QSaveFile file(path);
    const QByteArray bytes = writePreparedPages(pages);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool saveSvgPage(const PreparedPage &page, const QString &path, const QString &title)
{
    const QString temporary = temporaryBeside(path);
    if (temporary.isEmpty())
        return false;
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
        if (!painter.begin(&svg)) {
            QFile::remove(temporary);
            return false;
        }
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        PagePainter::paint(painter, page, 1.0);
        painter.end();
    }
    if (QFileInfo(temporary).size() == 0) {
        QFile::remove(temporary);
        return false;
    }
    return replaceWith(temporary, path);
}

bool savePdf(const PreparedPages &pages, const QString &path, const QString &title)
{
    const QString temporary = temporaryBeside(path);
    if (temporary.isEmpty())
        return false;
    if (!writePdf(pages, temporary, title)) {
        QFile::remove(temporary);
        return false;
    }
    return replaceWith(temporary, path);
}

std::optional<PreparedPages> openPrepared(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPreparedBytes)
        return std::nullopt;
    return readPreparedPages(file.readAll());
}

} // namespace previewfiles
