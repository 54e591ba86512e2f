#include "output/report/pages/PagePainter.h"

#include "output/report/pages/PageFonts.h"
#include "output/report/pages/TextShapes.h"

#include <QPainter>
#include <QPen>
#include <vector>

namespace {

// The page's fonts for the device drawn on, made once per page, with their slots among the
// shaped texts when there are any.
struct PageFace {
    QFont font;
    int slot = -1;
};

void drawLine(QPainter &painter, const QPointF &origin, const QString &text, const PageFace &face,
              TextShapes *shapes)
{
    if (shapes && shapes->draw(painter, face.slot, origin, text))
        return;
    painter.setFont(face.font);
    painter.drawText(origin, text);
}

void drawText(QPainter &painter, const DrawRecord &r, const PageFace &face, TextShapes *shapes)
{
    painter.setPen(colorFromBgr(r.color));
    if (r.clipped) {
        painter.save();
        // Cut across the line only: a slanted letter may overhang its advance a little.
        painter.setClipRect(r.rotated ? r.rect.adjusted(0, -4, 0, 4) : r.rect.adjusted(-4, 0, 4, 0),
                            Qt::IntersectClip);
        DrawRecord whole = r;
        whole.clipped = false;
        drawText(painter, whole, face, shapes);
        painter.restore();
        return;
    }
    if (!r.rotated) {
        drawLine(painter, QPointF(r.rect.left(), r.rect.top() + r.baseline), r.text, face, shapes);
        return;
    }
    painter.save();
    painter.translate(r.rect.left() + r.baseline, r.rect.bottom());
    painter.rotate(-90);
    drawLine(painter, QPointF(0, 0), r.text, face, shapes);
    painter.restore();
}

void paintPage(QPainter &painter, const PreparedPage &page, double scale, TextShapes *shapes)
{
    if (page.Records.empty())
        return;
    painter.save();
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing, false);
    std::vector<PageFace> faces;
    faces.reserve(page.Fonts.size());
    for (const PreparedFont &prepared : page.Fonts) {
        PageFace face{PageFonts::font(prepared, painter.device())};
        if (shapes) {
            painter.setFont(face.font);
            face.slot = shapes->slot(painter);
        }
        faces.push_back(std::move(face));
    }

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
            if (r.font >= 0 && size_t(r.font) < faces.size())
                drawText(painter, r, faces[size_t(r.font)], shapes);
            break;
        case DrawRecord::Image:
            painter.drawImage(r.rect, r.image);
            break;
        }
    }
    painter.restore();
}

} // namespace

void PagePainter::paint(QPainter &painter, const PreparedPage &page, double scale)
{
    paintPage(painter, page, scale, nullptr);
}

void PagePainter::paint(QPainter &painter, const PreparedPage &page, double scale, TextShapes &shapes)
{
    paintPage(painter, page, scale, &shapes);
}
