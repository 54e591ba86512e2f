#pragma once
// Texts shaped once and drawn many times. A printed list repeats most of its texts from page
// to page (headings, roles, occupations, towns, dates, "Pagina"), and shaping a string costs
// more than writing its glyphs, so the glyphs of each text met a second time are kept per font
// in a bounded cache and drawn as glyph runs; a text met once (a name, an address) is drawn
// plainly, since keeping it costs more than shaping it. A run lands exactly where the
// painter's own drawText puts the same text, in the same text items, so a PDF keeps the same
// words at the same places.

#include <QCache>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QSet>
#include <QString>
#include <vector>

class QPainter;

class TextShapes final {
public:
    // At most `capacity` texts are kept; the least recently drawn go first.
    explicit TextShapes(int capacity = 8192);

    // The slot of the painter's current font on its device, to be passed to draw().
    int slot(const QPainter &painter);

    // Draws `text` on `painter` with its baseline starting at `origin`, as drawText would
    // draw it with the slot's font. False, with nothing drawn, when the text must be drawn
    // with drawText after all: a text the painter would split in more than one item (other
    // scripts, right-to-left, tabs, controls), an underlined font (drawText measures its line
    // from the items), or an origin left of or above the painter's origin.
    bool draw(QPainter &painter, int slot, const QPointF &origin, const QString &text);

    // Whether draw() can draw `text` with glyph runs, whatever its font.
    static bool plainLine(const QString &text);

private:
    struct Key {
        int slot;
        QString text;
        bool operator==(const Key &) const = default;
    };
    friend size_t qHash(const Key &key, size_t seed) { return qHashMulti(seed, key.slot, key.text); }

    struct Shape {
        bool glyphs = false;       // false: drawn with drawText
        QList<QGlyphRun> runs;     // baseline at y 0
    };
    // The text's shape, or null when it is met for the first time.
    const Shape *shape(int slot, const QString &text);

    struct Slot {
        QFont font;                // resolved for the device
        int dpi;                   // which the font's equality leaves out
    };
    std::vector<Slot> m_slots;
    QCache<Key, Shape> m_shapes;
    // Hashes of the texts met once; a collision only shapes a text a little early.
    QSet<size_t> m_seen;
    qsizetype m_seenLimit;
};
