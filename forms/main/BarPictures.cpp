#include "forms/main/BarPictures.h"

#include "controls/SansFont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

constexpr qreal kDensity = 2.0;

QPixmap drawn(const QSize &size, const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(size * kDensity);
    pixmap.setDevicePixelRatio(kDensity);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

QPen outline(const QColor &color, qreal width = 1.0)
{
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void drawCard(QPainter &p)
{
    p.setPen(outline(QColor(0x8a, 0x6d, 0x3b)));
    p.setBrush(QColor(0xfd, 0xf3, 0xc8));
    p.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 1.5, 1.5);
    p.setPen(outline(QColor(0xc0, 0x39, 0x2b), 1.2));
    p.drawLine(QPointF(3.5, 8), QPointF(20.5, 8));
    // The household's head: a head and shoulders.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x5e, 0x8e));
    p.drawEllipse(QPointF(7.5, 11.2), 1.9, 1.9);
    QPainterPath shoulders;
    shoulders.moveTo(4.2, 17.5);
    shoulders.cubicTo(4.2, 13.2, 10.8, 13.2, 10.8, 17.5);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setPen(outline(QColor(0x7f, 0x6a, 0x45)));
    for (qreal y : {11.0, 13.5, 16.0})
        p.drawLine(QPointF(12.5, y), QPointF(19.0, y));
}

void drawList(QPainter &p)
{
    p.setPen(outline(QColor(0x60, 0x6a, 0x78)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 15, 21));
    for (int row = 0; row < 5; ++row) {
        const qreal y = 5.0 + row * 3.6;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2e, 0x7d, 0xc0));
        p.drawRect(QRectF(6.5, y - 1.0, 2.0, 2.0));
        p.setPen(outline(QColor(0x55, 0x5f, 0x6b)));
        p.drawLine(QPointF(10.0, y), QPointF(17.5, y));
    }
}

void drawPrinter(QPainter &p)
{
    p.setPen(outline(QColor(0x70, 0x70, 0x70)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));
    p.setPen(outline(QColor(0x3a, 0x44, 0x50)));
    QLinearGradient body(0, 9, 0, 18);
    body.setColorAt(0, QColor(0x9a, 0xa8, 0xb6));
    body.setColorAt(1, QColor(0x5a, 0x68, 0x76));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xd0, 0x5a));
    p.drawEllipse(QPointF(18.5, 12.0), 0.9, 0.9);
    p.setPen(outline(QColor(0x70, 0x70, 0x70)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    for (qreal y : {17.0, 19.0})
        p.drawLine(QPointF(8.0, y), QPointF(16.0, y));
}

void drawDocument(QPainter &p)
{
    QPainterPath page;
    page.moveTo(5.5, 1.5);
    page.lineTo(14.5, 1.5);
    page.lineTo(19.5, 6.5);
    page.lineTo(19.5, 22.5);
    page.lineTo(5.5, 22.5);
    page.closeSubpath();
    p.setPen(outline(QColor(0x60, 0x6a, 0x78)));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(0xdd, 0xe3, 0xea));
    p.drawPolygon(QPolygonF({QPointF(14.5, 1.5), QPointF(14.5, 6.5), QPointF(19.5, 6.5)}));
    p.setPen(outline(QColor(0x9a, 0xa4, 0xb0)));
    for (qreal y : {9.0, 11.5, 14.0})
        p.drawLine(QPointF(8.0, y), QPointF(17.0, y));
    // A letter to be filled in: the blue band with a capital.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x57, 0x9a));
    p.drawRoundedRect(QRectF(2.0, 15.0, 11.5, 7.5), 1.2, 1.2);
    QFont font = sansSerifFont(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2.0, 15.0, 11.5, 7.5), Qt::AlignCenter, QStringLiteral("W"));
}

void drawGear(QPainter &p)
{
    constexpr int kTeeth = 8;
    constexpr qreal kOuter = 10.5;
    constexpr qreal kInner = 7.8;
    const QPointF centre(12, 12);
    QPainterPath gear;
    for (int i = 0; i < kTeeth * 4; ++i) {
        // Each tooth: rise, top, fall, gap, a quarter of its angle each.
        const qreal angle = (i - 0.5) * (2 * M_PI / (kTeeth * 4));
        const qreal radius = (i % 4 == 1 || i % 4 == 2) ? kOuter : kInner;
        const QPointF point = centre + QPointF(radius * qCos(angle), radius * qSin(angle));
        if (i == 0)
            gear.moveTo(point);
        else
            gear.lineTo(point);
    }
    gear.closeSubpath();
    gear.addEllipse(centre, 3.2, 3.2);
    QLinearGradient metal(0, 2, 0, 22);
    metal.setColorAt(0, QColor(0x9a, 0xa6, 0xb2));
    metal.setColorAt(1, QColor(0x4e, 0x5a, 0x66));
    p.setPen(outline(QColor(0x33, 0x3b, 0x44), 0.8));
    p.setBrush(metal);
    p.drawPath(gear);
}

void drawBook(QPainter &p)
{
    p.setPen(outline(QColor(0x70, 0x70, 0x70)));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6.5, 3.5, 14, 19), 1.0, 1.0);
    p.setPen(outline(QColor(0x5c, 0x12, 0x1c)));
    QLinearGradient cover(4, 0, 20, 0);
    cover.setColorAt(0, QColor(0x7a, 0x16, 0x24));
    cover.setColorAt(1, QColor(0xb0, 0x2a, 0x3a));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(3.5, 1.5, 15, 19), 1.5, 1.5);
    p.setPen(outline(QColor(0x4a, 0x0c, 0x14), 1.4));
    p.drawLine(QPointF(6.0, 2.5), QPointF(6.0, 19.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf6, 0xe7, 0xb0));
    p.drawRect(QRectF(8.5, 5.5, 8, 4));
    p.setBrush(QColor(0xf6, 0xe7, 0xb0, 150));
    p.drawRect(QRectF(8.5, 11.5, 8, 1.2));
}

} // namespace

QPixmap barPicture(BarPicture picture)
{
    switch (picture) {
    case BarPicture::Card: return drawn(kBarPictureSize, drawCard);
    case BarPicture::List: return drawn(kBarPictureSize, drawList);
    case BarPicture::Printer: return drawn(kBarPictureSize, drawPrinter);
    case BarPicture::Document: return drawn(kBarPictureSize, drawDocument);
    case BarPicture::Gear: return drawn(kBarPictureSize, drawGear);
    case BarPicture::Book: return drawn(kBarPictureSize, drawBook);
    }
    return {};
}

QPixmap bannerPicture(const QSize &size)
{
    return drawn(size, [&size](QPainter &p) {
        const QRectF area(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
        QLinearGradient ground(0, 0, size.width(), 0);
        ground.setColorAt(0, QColor(0x1d, 0x3f, 0x66));
        ground.setColorAt(1, QColor(0x2a, 0x80, 0x80));
        p.setPen(outline(QColor(0x14, 0x2c, 0x48)));
        p.setBrush(ground);
        p.drawRoundedRect(area, 4, 4);

        const qreal scale = (size.height() - 8.0) / kBarPictureSize.height();
        p.save();
        p.translate(5, 4);
        p.scale(scale, scale);
        drawCard(p);
        p.restore();

        const qreal textLeft = 10 + kBarPictureSize.width() * scale;
        QFont name = sansSerifFont(qMax(10, size.height() * 4 / 10));
        name.setBold(true);
        p.setFont(name);
        p.setPen(Qt::white);
        p.drawText(QRectF(textLeft, 1, size.width() - textLeft - 4, size.height() * 0.6),
                   Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Tavorio"));
        p.setFont(sansSerifFont(qMax(7, size.height() / 5)));
        p.setPen(QColor(0xd8, 0xee, 0xf0));
        p.drawText(QRectF(textLeft, size.height() * 0.6, size.width() - textLeft - 4, size.height() * 0.4 - 2),
                   Qt::AlignLeft | Qt::AlignTop, QStringLiteral("lo schedario delle famiglie assistite"));
    });
}
