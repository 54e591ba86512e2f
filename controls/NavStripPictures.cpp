#include "controls/NavStripPictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <QtMath>
#include <vector>

namespace {

// Artwork is laid out on a 16 x 16 grid and scaled to the picture side. Straight edges sit
// on half units so that the 1-unit outlines land on whole pixels at the small size.
constexpr double kGrid = 16.0;

struct Layer {
    QPainterPath path;
    QColor fill;
    QColor outline;
};
using Artwork = std::vector<Layer>;

const QColor kArrowFill(52, 104, 186);
const QColor kArrowLine(22, 48, 104);
const QColor kGreenFill(58, 160, 64);
const QColor kGreenLine(24, 84, 30);
const QColor kRedFill(214, 56, 44);
const QColor kRedLine(118, 24, 18);

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath rect(double left, double top, double right, double bottom)
{
    QPainterPath path;
    path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
    return path;
}

QPainterPath mirrored(const QPainterPath &path)
{
    return QTransform(-1, 0, 0, 1, kGrid, 0).map(path);
}

// A thick line turned into an area, so it can be filled and outlined like the rest.
QPainterPath stroke(const QPainterPath &line, double width, Qt::PenCapStyle cap = Qt::FlatCap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::MiterJoin);
    return stroker.createStroke(line).simplified();
}

QPainterPath leftTriangle(double tipX, double baseX)
{
    return polygon({{baseX, 2.5}, {baseX, 13.5}, {tipX, 8.0}});
}

Artwork first()
{
    QPainterPath path = rect(3.5, 2.5, 5.5, 13.5).united(leftTriangle(6.5, 12.5));
    return {{path, kArrowFill, kArrowLine}};
}

Artwork prior() { return {{leftTriangle(5.0, 10.5), kArrowFill, kArrowLine}}; }

Artwork mirroredArtwork(Artwork artwork)
{
    for (Layer &layer : artwork)
        layer.path = mirrored(layer.path);
    return artwork;
}

QPainterPath plusSign(QPointF centre, double arm, double half)
{
    const double x = centre.x();
    const double y = centre.y();
    return rect(x - arm, y - half, x + arm, y + half).united(rect(x - half, y - arm, x + half, y + arm));
}

Artwork insert() { return {{plusSign({8, 8}, 5, 1.5), kGreenFill, kGreenLine}}; }

Artwork remove() { return {{rect(3, 6.5, 13, 9.5), kRedFill, kRedLine}}; }

Artwork edit()
{
    // Drawn lying along x, point to the left, then turned so the point rests bottom left.
    const QTransform turn = QTransform().translate(8, 8).rotate(-45).translate(-8, -8);
    const QColor line(88, 64, 24);
    return {
        {turn.map(polygon({{0.6, 8}, {4.2, 5.6}, {4.2, 10.4}})), QColor(236, 206, 160), line},
        {turn.map(polygon({{0.6, 8}, {1.9, 7.13}, {1.9, 8.87}})), QColor(50, 50, 50), QColor(50, 50, 50)},
        {turn.map(rect(4.2, 5.6, 12.4, 10.4)), QColor(246, 192, 40), line},
        {turn.map(rect(12.4, 5.6, 15.2, 10.4)), QColor(228, 120, 134), line},
    };
}

Artwork post()
{
    QPainterPath tick;
    tick.moveTo(2.8, 8.2);
    tick.lineTo(6.3, 11.7);
    tick.lineTo(13.2, 4.3);
    return {{stroke(tick, 2.8, Qt::SquareCap), kGreenFill, kGreenLine}};
}

Artwork cancel()
{
    QPainterPath bars;
    bars.moveTo(4.2, 4.2);
    bars.lineTo(11.8, 11.8);
    bars.moveTo(11.8, 4.2);
    bars.lineTo(4.2, 11.8);
    return {{stroke(bars, 2.8, Qt::SquareCap), kRedFill, kRedLine}};
}

QPointF onCircle(QPointF centre, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return centre + QPointF(radius * qCos(a), -radius * qSin(a));
}

// An arc running anticlockwise from `from` to `to` degrees, ending in an arrowhead.
QPainterPath arrowArc(QPointF centre, double radius, double from, double to)
{
    QPainterPath arc;
    arc.arcMoveTo(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), from);
    arc.arcTo(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), from, to - from);
    const QPointF end = onCircle(centre, radius, to);
    const double a = qDegreesToRadians(to);
    const QPointF outward(qCos(a), -qSin(a));
    const QPointF ahead(-qSin(a), -qCos(a));
    const QPainterPath head = polygon({end + outward * 2.8, end + ahead * 3.0, end - outward * 2.8});
    return stroke(arc, 1.9).united(head);
}

Artwork refresh()
{
    const QPointF centre(8, 8);
    const QPainterPath arrows = arrowArc(centre, 4.6, 20, 150).united(arrowArc(centre, 4.6, 200, 330));
    return {{arrows, QColor(34, 128, 178), QColor(14, 62, 92)}};
}

Artwork search()
{
    const QPointF centre(6.5, 6.5);
    QPainterPath lens;
    lens.addEllipse(centre, 3.4, 3.4);
    QPainterPath ring;
    ring.addEllipse(centre, 4.3, 4.3);
    ring = ring.subtracted(lens);
    QPainterPath handle;
    handle.moveTo(9.6, 9.6);
    handle.lineTo(13.8, 13.8);
    const QColor dark(64, 64, 72);
    return {
        {lens, QColor(196, 224, 248), QColor(196, 224, 248)},
        {ring, QColor(120, 124, 136), dark},
        {stroke(handle, 2.6, Qt::RoundCap), QColor(140, 92, 40), dark},
    };
}

Layer ribbon()
{
    return {polygon({{3.5, 1.5}, {9.5, 1.5}, {9.5, 13.5}, {6.5, 10.5}, {3.5, 13.5}}), QColor(232, 140, 36),
            QColor(120, 64, 10)};
}

Artwork setBookmark() { return {ribbon(), {plusSign({12, 11.5}, 3, 1), kGreenFill, kGreenLine}}; }

Artwork gotoBookmark()
{
    return {ribbon(), {polygon({{10.5, 8}, {10.5, 15}, {14.5, 11.5}}), kArrowFill, kArrowLine}};
}

Artwork artwork(TNavStripBtn kind)
{
    switch (kind) {
    case TNavStripBtn::nbFirst: return first();
    case TNavStripBtn::nbPrior: return prior();
    case TNavStripBtn::nbNext: return mirroredArtwork(prior());
    case TNavStripBtn::nbLast: return mirroredArtwork(first());
    case TNavStripBtn::nbInsert: return insert();
    case TNavStripBtn::nbDelete: return remove();
    case TNavStripBtn::nbEdit: return edit();
    case TNavStripBtn::nbPost: return post();
    case TNavStripBtn::nbCancel: return cancel();
    case TNavStripBtn::nbRefresh: return refresh();
    case TNavStripBtn::nbSearch: return search();
    case TNavStripBtn::nbSetBookmark: return setBookmark();
    case TNavStripBtn::nbGotoBookMark: return gotoBookmark();
    }
    return {};
}

enum class Look { Normal, Hot, Disabled };

// The whole picture's outline, for the shadow and the embossed disabled look.
QPainterPath silhouette(const Artwork &art)
{
    QPainterPath all;
    for (const Layer &layer : art)
        all = all.united(layer.path.united(stroke(layer.path, 1.0)));
    return all;
}

void drawLayers(QPainter &painter, const Artwork &art, int lighten)
{
    for (const Layer &layer : art) {
        const QRectF box = layer.path.boundingRect();
        QLinearGradient shading(box.topLeft(), box.bottomLeft());
        const QColor fill = layer.fill.lighter(lighten);
        shading.setColorAt(0, fill.lighter(135));
        shading.setColorAt(1, fill);
        painter.setBrush(shading);
        painter.setPen(QPen(layer.outline, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPath(layer.path);
    }
}

QPixmap render(const Artwork &art, int side, Look look)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = side / kGrid;
    painter.scale(scale, scale);
    const double onePixel = 1.0 / scale;

    switch (look) {
    case Look::Normal:
        drawLayers(painter, art, 100);
        break;
    case Look::Hot:
        // The shadow stays where the picture rests, as the hot picture is drawn raised.
        painter.fillPath(silhouette(art).translated(onePixel, onePixel), QColor(0, 0, 0, 70));
        drawLayers(painter, art, 112);
        break;
    case Look::Disabled: {
        const QPainterPath shape = silhouette(art);
        painter.fillPath(shape.translated(onePixel, onePixel), QColor(255, 255, 255, 220));
        painter.fillPath(shape, QColor(128, 128, 128));
        break;
    }
    }
    return pixmap;
}

const char *kindName(TNavStripBtn kind)
{
    static constexpr const char *names[kNavStripButtonCount] = {
        "FIRST", "PRIOR", "NEXT", "LAST", "INSERT", "DELETE", "EDIT",
        "POST", "CANCEL", "REFRESH", "SEARCH", "SETBOOKMARK", "GOTOBOOKMARK",
    };
    return names[navIndex(kind)];
}

} // namespace

int navStripPictureSide(TNavGlyphSize size, int customSize)
{
    switch (size) {
    case TNavGlyphSize::gsSmall: return 16;
    case TNavGlyphSize::gsLarge: return 24;
    case TNavGlyphSize::gsCustom: break;
    }
    return qMax(8, customSize * 3 / 4);
}

NavStripPictureSet drawNavStripPictures(TNavStripBtn kind, int side)
{
    const Artwork art = artwork(kind);
    return {render(art, side, Look::Normal), render(art, side, Look::Hot), render(art, side, Look::Disabled)};
}

NavStripPictureSet loadNavStripPictures(const QString &prefix, TNavStripBtn kind, int side)
{
    NavStripPictureSet pictures = drawNavStripPictures(kind, side);
    const QString stem = prefix + QLatin1String(kindName(kind));
    const auto take = [](QPixmap &slot, const QString &file) {
        QPixmap loaded(file);
        if (!loaded.isNull())
            slot = loaded;
    };
    take(pictures.normal, stem + QStringLiteral(".png"));
    take(pictures.hot, stem + QStringLiteral("_hot.png"));
    take(pictures.disabled, stem + QStringLiteral("_disabled.png"));
    return pictures;
}
