#include "output/report/pages/PagePainter.h"

#include "output/report/pages/PageFonts.h"
#include "output/report/pages/TextShapes.h"

#include <QPainter>
#include <QPen>
#include <vector>

namespace {

// One page drawn on one painter. With shapes, lines met before are drawn from their glyph
// runs; the rest, and every line without shapes, with drawText.
class PageDrawing final {
public:
    PageDrawing(QPainter &painter, const PreparedPage &page, TextShapes *shapes) : m_painter(painter), m_shapes(shapes)
    {
        // Fonts are made once per page, for the device drawn on.
        m_faces.reserve(page.Fonts.size());
        for (const PreparedFont &prepared : page.Fonts) {
            Face face{PageFonts::font(prepared, painter.device())};
            if (shapes) {
                painter.setFont(face.font);
                face.slot = shapes->slot(painter);
            }
            m_faces.push_back(std::move(face));
        }
    }

    void draw(const DrawRecord &r)
    {
        switch (r.kind) {
        case DrawRecord::Fill:
            m_painter.fillRect(r.rect, colorFromBgr(r.color));
            break;
        case DrawRecord::Line: {
            QPen pen(colorFromBgr(r.color));
            pen.setWidthF(r.penWidth);
            pen.setCapStyle(Qt::SquareCap);
            m_painter.setPen(pen);
            m_painter.drawLine(r.rect.topLeft(), r.rect.bottomRight());
            break;
        }
        case DrawRecord::Text:
            if (r.font >= 0 && size_t(r.font) < m_faces.size())
                drawText(r);
            break;
        case DrawRecord::Image:
            m_painter.drawImage(r.rect, r.image);
            break;
        }
    }

private:
    struct Face {
        QFont font;
        int slot = -1;
    };

    void drawText(const DrawRecord &r)
    {
        m_painter.setPen(colorFromBgr(r.color));
        if (r.clipped) {
            const int fontSet = m_fontSet;   // what the restore gives back
            m_painter.save();
            // Cut across the line only: a slanted letter may overhang its advance a little.
            m_painter.setClipRect(r.rotated ? r.rect.adjusted(0, -4, 0, 4) : r.rect.adjusted(-4, 0, 4, 0),
                                  Qt::IntersectClip);
            DrawRecord whole = r;
            whole.clipped = false;
            drawText(whole);
            m_painter.restore();
            m_fontSet = fontSet;
            return;
        }
        if (!r.rotated) {
            drawLine(QPointF(r.rect.left(), r.rect.top() + r.baseline), r);
            return;
        }
        const int fontSet = m_fontSet;
        m_painter.save();
        m_painter.translate(r.rect.left() + r.baseline, r.rect.bottom());
        m_painter.rotate(-90);
        drawLine(QPointF(0, 0), r);
        m_painter.restore();
        m_fontSet = fontSet;
    }

    void drawLine(const QPointF &origin, const DrawRecord &r)
    {
        const Face &face = m_faces[size_t(r.font)];
        if (m_shapes && m_shapes->draw(m_painter, face.slot, origin, r.text))
            return;
        // Setting a font makes the painter resolve it anew, and drawText look its engines up
        // again: lines in a row mostly share their font.
        if (r.font != m_fontSet) {
            m_painter.setFont(face.font);
            m_fontSet = r.font;
        }
        m_painter.drawText(origin, r.text);
    }

    QPainter &m_painter;
    TextShapes *m_shapes;
    std::vector<Face> m_faces;
    int m_fontSet = -1;
};

void paintPage(QPainter &painter, const PreparedPage &page, double scale, TextShapes *shapes)
{
    if (page.Records.empty())
        return;
    painter.save();
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PageDrawing drawing(painter, page, shapes);
    for (const DrawRecord &r : page.Records)
        drawing.draw(r);
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
