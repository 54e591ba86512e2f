#include "output/report/pages/TextShapes.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <memory>

namespace {

// Letters that need nothing beyond one left-to-right item of the Latin script.
bool plainLatin1(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0x24F && c != 0xAD);
}

bool plainChar(QChar c)
{
    if (plainLatin1(c.unicode()))
        return true;
    if (c.isSurrogate())
        return false;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:          // soft hyphen, joiners, direction marks: not printed
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        break;
    }
    switch (c.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirON:
    case QChar::DirWS:
    case QChar::DirNSM:
        break;
    default:
        return false;
    }
    // Common and inherited letters join the Latin item around them; any other script starts
    // an item of its own.
    const QChar::Script script = c.script();
    return script == QChar::Script_Latin || script == QChar::Script_Common || script == QChar::Script_Inherited;
}

} // namespace

TextShapes::TextShapes(int capacity) : m_shapes(std::max(1, capacity)), m_seenLimit(8 * qsizetype(std::max(1, capacity))) {}

int TextShapes::slot(const QPainter &painter)
{
    const QFont font = painter.font();
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].dpi == dpi && m_slots[i].font == font)
            return int(i);
    m_slots.push_back({font, dpi});
    return int(m_slots.size() - 1);
}

bool TextShapes::plainLine(const QString &text)
{
    for (QChar c : text)
        if (!plainChar(c))
            return false;
    return true;
}

const TextShapes::Shape *TextShapes::shape(int slot, const QString &text)
{
    Key key{slot, text};
    if (const Shape *known = m_shapes.object(key))
        return known;
    const size_t hash = qHash(key, 0);
    if (!m_seen.contains(hash)) {
        if (m_seen.size() >= m_seenLimit)
            m_seen.clear();
        m_seen.insert(hash);
        return nullptr;
    }
    m_seen.remove(hash);
    auto shape = std::make_unique<Shape>();
    const QFont &font = m_slots[size_t(slot)].font;
    shape->glyphs = !font.underline() && plainLine(text);
    if (shape->glyphs) {
        QTextLayout layout(text, font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const double baseline = line.y() + line.ascent();
        shape->runs = layout.glyphRuns();
        for (QGlyphRun &run : shape->runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF &p : positions)
                p.ry() -= baseline;
            run.setPositions(positions);
        }
    }
    Shape *made = shape.get();
    m_shapes.insert(std::move(key), shape.release());
    return made;
}

bool TextShapes::draw(QPainter &painter, int slot, const QPointF &origin, const QString &text)
{
    // Glyph positions are whole 64ths of a pixel, the fraction dropped: towards the left for
    // a run's glyphs, while drawText drops it from the text's start first, which rounds the
    // other way left of the origin.
    if (slot < 0 || size_t(slot) >= m_slots.size() || origin.x() < 0 || origin.y() < 0)
        return false;
    const Shape *known = shape(slot, text);
    if (!known || !known->glyphs)
        return false;
    for (const QGlyphRun &run : known->runs)
        painter.drawGlyphRun(origin, run);
    return true;
}
