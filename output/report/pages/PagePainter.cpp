#include "output/report/pages/PagePainter.h"

#include "output/report/pages/PageFonts.h"

#include <QPainter>
#include <QPen>
#include <vector>

namespace {

void drawText(QPainter &painter, const DrawRecord &r, const QFont &font)
{
    painter.setFont(font);
    painter.setPen(colorFromBgr(r.color));
    if (r.clipped) {
        painter.save();
        // Cut across the line only: a slanted letter may overhang its advance a little.
        painter.setClipRect(r.rotated ? r.rect.adjusted(0, -4, 0, 4) : r.rect.adjusted(-4, 0, 4, 0),
                            Qt::IntersectClip);
        DrawRecord whole = r;
        whole.clipped = false;
        drawText(painter, whole, font);
        painter.restore();
        return;
    }
    if (!r.rotated) {
        painter.drawText(QPointF(r.rect.left(), r.rect.top() + r.baseline), r.text);
        return;
    }
    painter.save();
    painter.translate(r.rect.left() + r.baseline, r.rect.bottom());
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), r.text);
    painter.restore();
}

} // namespace

void PagePainter::paint(QPainter &painter, const PreparedPage &page, double scale)
{
    if (page.Records.empty())
        return;
    painter.save();
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Fonts are made once per page, for the device drawn on.
    std::vector<QFont> fonts;
    fonts.reserve(page.Fonts.size());
    for (const PreparedFont &face : page.Fonts)
        fonts.push_back(PageFonts::font(face, painter.device()));

    for (const DrawRecord &r : page.Records) {
        switch (r.kind) {
        case DrawRecord::Fill:
            painter.fillRect(r.rect, colorFromBgr(r.color));
            break;
        case DrawRecord::Line: {
            QPen pen(colorFromBgr(r.color));
            pen.setWidthF(r.penWidth);
            pen.setCapStyle(Qt::SquareCap);
            painter.setPen(pen);
            painter.drawLine(r.rect.topLeft(), r.rect.bottomRight());
            break;
        }
        case DrawRecord::Text:
            if (r.font >= 0 && size_t(r.font) < fonts.size())
                drawText(painter, r, fonts[size_t(r.font)]);
            break;
        case DrawRecord::Image:
            painter.drawImage(r.rect, r.image);
            break;
        }
    }
    painter.restore();
}
