// A copied cell picture is pixel for pixel what drawing the cell's text gives, wherever the
// cell stands, on the image formats a screen's backing store has; and what cannot be copied
// faithfully is drawn.

#include "TExDBGridTestSupport.h"

#include "controls/CellPictureCache.h"
#include "controls/GridCellContent.h"
#include "controls/SansFont.h"

#include <QPainter>

using namespace gridtest;

namespace {

struct Cell {
    QString text;
    Qt::Alignment alignment;
    QColor background;
    QColor pen;
};

// Repeated texts among one-off ones; long ones wrap or run out of the cell, one has a line
// break, one a letter that reaches below the line.
std::vector<Cell> cells()
{
    const QStringList texts{"ROMA", "Via Garibaldi 12, scala B", "Proprietà", "Constantinescu", "A",
                            "Riga uno\nRiga due", "gjpqy", "12/05/2024"};
    std::vector<Cell> all;
    for (int i = 0; i < 48; ++i) {
        const Qt::Alignment alignment = i % 3 == 0 ? Qt::AlignLeft : i % 3 == 1 ? Qt::AlignRight : Qt::AlignHCenter;
        all.push_back({i % 5 == 4 ? QStringLiteral("Unico %1").arg(i) : texts.at(i % texts.size()), alignment,
                       i % 2 ? QColor(Qt::white) : QColor(240, 240, 240), i % 7 == 6 ? QColor(Qt::white) : QColor(Qt::black)});
    }
    return all;
}

// Every cell twice over, in other places: first met, met again (a picture is made) and copied.
QImage paint(QImage::Format format, CellPictureCache *pictures, qreal opacity = 1.0)
{
    QImage image(640, 400, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setOpacity(opacity);
    painter.setFont(sansSerifFont(11));
    const std::vector<Cell> all = cells();
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t i = 0; i < all.size(); ++i) {
            const QRect cell(int(i % 8) * 78 + pass * 3, int(i / 8) * 19 + pass * 130, 74 - int(i % 4) * 12, 17);
            painter.save();
            painter.setClipRect(cell);
            painter.fillRect(cell, all[i].background);
            painter.setPen(all[i].pen);
            const auto draw = [&](QPainter &on, const QRect &inCell) {
                gridcell::drawText(on, inCell.adjusted(2, 2, -2, 0), all[i].text, all[i].alignment, false);
            };
            if (pictures)
                pictures->draw(painter, cell, all[i].background, all[i].text, int(all[i].alignment), draw);
            else
                draw(painter, cell);
            painter.restore();
        }
    }
    return image;
}

} // namespace

TEST(CellPictureCache, CopiedCellsLookExactlyLikeDrawnOnes)
{
    ensureApplication();
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        CellPictureCache pictures;
        const QImage drawn = paint(format, nullptr);
        const QImage copied = paint(format, &pictures);
        EXPECT_GT(pictures.pictureCount(), 5) << "the texts met again were not kept";
        EXPECT_LT(pictures.pictureCount(), 48) << "texts met once were kept";
        EXPECT_TRUE(copied == drawn) << "format " << format;
    }
}

TEST(CellPictureCache, WhatACopyCouldNotShowFaithfullyIsDrawn)
{
    ensureApplication();
    // Half-transparent drawing blends with what lies below: no picture stands for it.
    CellPictureCache pictures;
    EXPECT_TRUE(paint(QImage::Format_RGB32, &pictures, 0.5) == paint(QImage::Format_RGB32, nullptr, 0.5));
    EXPECT_EQ(pictures.pictureCount(), 0);

    // A picture larger than the whole cache is drawn and not kept.
    CellPictureCache tiny(1024);
    EXPECT_TRUE(paint(QImage::Format_RGB32, &tiny) == paint(QImage::Format_RGB32, nullptr));
    EXPECT_EQ(tiny.pictureCount(), 0);
}
