#include "controls/CellPictureCache.h"

#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <memory>

namespace {

constexpr int kMaxFonts = 8;
constexpr qsizetype kMaxSeen = 50000;
constexpr double kInchesPerMetre = 39.37007874;

bool isWhole(qreal value) { return value == std::floor(value); }

} // namespace

// Costs are counted in kilobytes: the cache's own count is an int.
CellPictureCache::CellPictureCache(qsizetype maxBytes) : m_pictures(qMax<qsizetype>(1, maxBytes / 1024)) {}

// The format of the image the painter really draws on (a widget's backing store is one), or
// an invalid format when a copied picture could differ from drawing there: another kind of
// device, a fractional scale or offset, transparency or a blending mode of its own.
QImage::Format CellPictureCache::targetFormat(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    const QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image || !painter.device())
        return QImage::Format_Invalid;
    const QImage &target = *static_cast<const QImage *>(device);
    const QTransform transform = painter.deviceTransform();
    const qreal scale = transform.m11();
    const bool plain = transform.type() <= QTransform::TxScale && transform.m22() == scale && isWhole(scale)
                       && isWhole(transform.dx()) && isWhole(transform.dy());
    const bool opaque = painter.opacity() == 1.0 && painter.compositionMode() == QPainter::CompositionMode_SourceOver
                        && painter.pen().brush().style() == Qt::SolidPattern;
    if (!plain || !opaque || target.devicePixelRatio() != scale)
        return QImage::Format_Invalid;
    return target.format();
}

int CellPictureCache::fontIndex(const QFont &font)
{
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i] == font)
            return int(i);
    }
    if (m_fonts.size() >= size_t(kMaxFonts)) {
        m_pictures.clear();
        m_fonts.clear();
    }
    m_fonts.push_back(font);
    return int(m_fonts.size()) - 1;
}

void CellPictureCache::draw(QPainter &painter, const QRect &cell, const QColor &background, const QString &text,
                            int style, const Paint &paint)
{
    const QImage::Format format = background.alpha() == 255 && !cell.isEmpty() ? targetFormat(painter)
                                                                                : QImage::Format_Invalid;
    if (format == QImage::Format_Invalid) {
        paint(painter, cell);
        return;
    }
    const Key key{text, style, fontIndex(painter.font()), painter.pen().color().rgba(), background.rgba(), cell.size()};
    const QImage *picture = m_pictures.object(key);
    if (!picture) {
        // A text met for the first time is drawn: most texts of a list are one record's own,
        // and only a text that comes again earns a picture.
        const size_t seen = qHash(key);
        if (!m_seenOnce.contains(seen)) {
            if (m_seenOnce.size() >= kMaxSeen)
                m_seenOnce.clear();
            m_seenOnce.insert(seen);
            paint(painter, cell);
            return;
        }
        const QPaintDevice &device = *painter.device();
        const qreal ratio = painter.deviceTransform().m11();
        auto image = std::make_unique<QImage>(cell.size() * ratio, format);
        image->setDevicePixelRatio(ratio);
        // The same resolution, so that a font sized in points gets the same pixels.
        image->setDotsPerMeterX(qRound(device.logicalDpiX() * kInchesPerMetre));
        image->setDotsPerMeterY(qRound(device.logicalDpiY() * kInchesPerMetre));
        if (image->logicalDpiX() != device.logicalDpiX() || image->logicalDpiY() != device.logicalDpiY()) {
            paint(painter, cell);
            return;
        }
        QPainter on(image.get());
        on.setRenderHints(painter.renderHints());
        on.setLayoutDirection(painter.layoutDirection());
        on.fillRect(QRect(QPoint(0, 0), cell.size()), background);
        on.setFont(painter.font());
        on.setPen(painter.pen());
        paint(on, QRect(QPoint(0, 0), cell.size()));
        on.end();
        const int cost = int(qMax<qsizetype>(1, image->sizeInBytes() / 1024));
        picture = image.get();
        if (!m_pictures.insert(key, image.release(), cost)) {
            // Larger than the whole cache: drawn this once and not kept.
            paint(painter, cell);
            return;
        }
    }
    painter.drawImage(cell.topLeft(), *picture);
}
