#pragma once
// A built page as a device-independent drawing: its paper settings and a list of drawing
// records in layout pixels (96 per inch). Texts are kept one record per printed line with
// their position, so a preview can search them and point at what it found.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <vector>

struct PreparedPaper {
    qint32 Size = 9;
    qint32 Width = 2100;          // tenths of a millimetre, as the layout page
    qint32 Height = 2970;
    quint8 Orientation = 0;
    qint32 UsePhysicalOffset = 0;

    bool sameSheet(const PreparedPaper &o) const
    {
        return Size == o.Size && Width == o.Width && Height == o.Height && Orientation == o.Orientation;
    }
    bool operator==(const PreparedPaper &) const = default;
    double widthPx() const;       // orientation applied
    double heightPx() const;
};

struct PreparedFont {
    QString Family;
    float PointSize = 10;
    quint16 Style = 0;            // 1 italic, 2 bold, 4 underline
    bool operator==(const PreparedFont &) const = default;
};

struct DrawRecord {
    enum Kind : quint8 { Fill = 0, Line = 1, Text = 2, Image = 3 };
    Kind kind = Fill;
    QRectF rect;                  // Fill, Image: the area; Line: from top-left to bottom-right;
                                  // Text: the line's box, its baseline at rect.top() + ascent
    quint32 color = 0;            // blue-green-red; Fill: fill, Line: pen, Text: font colour
    float penWidth = 1;           // Line
    float baseline = 0;           // Text: distance of the baseline from rect.top()
    bool rotated = false;         // Text: turned 90 degrees, read upwards
    bool clipped = false;         // Text: only the part inside rect shows (a line cut at its box)
    qint32 font = -1;             // Text: index into the page's font table
    QString text;                 // Text
    QImage image;                 // Image

    bool operator==(const DrawRecord &o) const;
};

class PreparedPage final {
public:
    PreparedPaper Paper;
    int LayoutPage = 0;           // number (from 0) of the layout page that produced it
    std::vector<PreparedFont> Fonts;
    std::vector<DrawRecord> Records;

    int fontIndex(const PreparedFont &font);   // adds when new
    bool operator==(const PreparedPage &) const = default;
};

// The prepared report: the built pages in print order.
using PreparedPages = QList<PreparedPage>;
