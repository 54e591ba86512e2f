#pragma once
// The pictures of a grid's text cells, kept to be copied into the next cell that shows the
// same text the same way. Laying out and drawing a text costs many times what copying its
// cell does, and the cells of a list repeat their texts (a town, a band, a surname, a date)
// from screen to screen as the user pages through the records. A picture is what drawing
// the text over the cell's solid background gives, pixel for pixel, on a device of the same
// kind, so a copied cell looks exactly like a drawn one. A text gets its picture when it is
// met a second time: most texts of a list (a card's number, a telephone) are met once.

#include <QCache>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSet>
#include <QSize>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QPainter;

class CellPictureCache {
public:
    // maxBytes bounds the pictures kept; the least recently used go first.
    explicit CellPictureCache(qsizetype maxBytes = 4 * 1024 * 1024);

    // Paints the cell, its background already filled with `background`: `paint` draws the
    // content into the cell it is given, with the painter's font and pen. `text` and `style`
    // (whatever else decides the drawing: alignment, insets) name the content; with the font,
    // colours and cell size they find the picture drawn before.
    using Paint = std::function<void(QPainter &, const QRect &)>;
    void draw(QPainter &painter, const QRect &cell, const QColor &background, const QString &text, int style,
              const Paint &paint);

    int pictureCount() const { return int(m_pictures.size()); }

private:
    struct Key {
        QString text;
        int style = 0;
        int font = 0;   // index into m_fonts
        QRgb pen = 0;
        QRgb background = 0;
        QSize size;
        bool operator==(const Key &other) const = default;
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.text, key.style, key.font, key.pen, key.background, key.size.width(),
                              key.size.height());
        }
    };

    static QImage::Format targetFormat(const QPainter &painter);
    int fontIndex(const QFont &font);

    QCache<Key, QImage> m_pictures;
    QSet<size_t> m_seenOnce;   // the hashes of the keys drawn once
    std::vector<QFont> m_fonts;
};
