#include "output/report/ui/designer/CanvasPainter.h"

#include <QImage>
#include <QPainter>

namespace canvaspainter {

namespace {

void paintFrame(QPainter &painter, const TqnView &view, const QRect &box)
{
    const QColor fill = color(view.FillColor);
    if (fill.alpha())
        painter.fillRect(box, fill);
    if (!view.FrameLines)
        return;
    QPen pen(color(view.FrameColor), std::max(1, view.FrameWidth));
    painter.setPen(pen);
    if (view.FrameLines & flTop) painter.drawLine(box.topLeft(), box.topRight());
    if (view.FrameLines & flLeft) painter.drawLine(box.topLeft(), box.bottomLeft());
    if (view.FrameLines & flBottom) painter.drawLine(box.bottomLeft(), box.bottomRight());
    if (view.FrameLines & flRight) painter.drawLine(box.topRight(), box.bottomRight());
}

void paintBand(QPainter &painter, const TqnBandView &band, const QRect &box)
{
    painter.fillRect(box, QColor(236, 240, 248));
    painter.setPen(QPen(QColor(120, 130, 160), 1, Qt::DashLine));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    QFont small(QStringLiteral("Sans Serif"));
    small.setPixelSize(10);
    painter.setFont(small);
    painter.setPen(QColor(90, 100, 130));
    QString label = bandTypeName(int(band.BandType));
    if (!band.dataSetName().isEmpty())
        label += QStringLiteral(": ") + band.dataSetName();
    painter.drawText(box.adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignTop, label);
}

void paintMemo(QPainter &painter, const TqnMemoView &memo, const QRect &box)
{
    QFont font(memo.FontName);
    font.setPixelSize(std::max(1, int(memo.FontSize * 96.0 / 72.0 + 0.5)));
    font.setBold(memo.FontStyle & fsBold);
    font.setItalic(memo.FontStyle & fsItalic);
    font.setUnderline(memo.FontStyle & fsUnderline);
    painter.setFont(font);
    painter.setPen(color(memo.FontColor));
    int flags = Qt::TextWordWrap;
    switch (memo.Alignment & taHorizontalMask) {
    case taRight: flags |= Qt::AlignRight; break;
    case taCenter: flags |= Qt::AlignHCenter; break;
    case taJustify: flags |= Qt::AlignJustify; break;
    default: flags |= Qt::AlignLeft; break;
    }
    flags |= (memo.Alignment & taVCenter) ? Qt::AlignVCenter : (memo.Alignment & taBottom) ? Qt::AlignBottom : Qt::AlignTop;
    const QString text = memo.Memo.join(QLatin1Char('\n'));
    painter.save();
    painter.setClipRect(box);
    if (memo.Alignment & taRotate90) {
        painter.translate(box.bottomLeft());
        painter.rotate(-90);
        painter.drawText(QRect(0, 0, box.height(), box.width()).adjusted(2, 1, -2, -1), flags, text);
    } else {
        painter.drawText(box.adjusted(2, 1, -2, -1), flags, text);
    }
    painter.restore();
}

void paintPlaceholder(QPainter &painter, const QRect &box, const QString &label)
{
    painter.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomLeft());
    QFont small(QStringLiteral("Sans Serif"));
    small.setPixelSize(10);
    painter.setFont(small);
    painter.setPen(QColor(80, 80, 80));
    painter.drawText(box, Qt::AlignCenter, label);
}

} // namespace

QColor color(quint32 bgr)
{
    if (bgr == kColorNone)
        return QColor(0, 0, 0, 0);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 fromColor(const QColor &c)
{
    if (!c.isValid() || c.alpha() == 0)
        return kColorNone;
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

void paintSheet(QPainter &painter, const TqnPage &page, int grid)
{
    const QRect sheet(0, 0, int(page.widthPx()), int(page.heightPx()));
    painter.fillRect(sheet.translated(3, 3), QColor(70, 70, 70));
    painter.fillRect(sheet, Qt::white);
    const QRect inner = sheet.adjusted(int(page.marginPx(page.Paper.Left)), int(page.marginPx(page.Paper.Top)),
                                       -int(page.marginPx(page.Paper.Right)), -int(page.marginPx(page.Paper.Bottom)));
    painter.setPen(QColor(210, 210, 210));
    const QRect exposed = painter.clipBoundingRect().toAlignedRect().intersected(sheet);
    if (grid > 0 && !exposed.isEmpty())
        for (int y = (exposed.top() / grid) * grid; y <= exposed.bottom(); y += grid)
            for (int x = (exposed.left() / grid) * grid; x <= exposed.right(); x += grid)
                painter.drawPoint(x, y);
    painter.setPen(QPen(QColor(160, 160, 200), 1, Qt::DotLine));
    painter.drawRect(inner);
}

void paintObjects(QPainter &painter, const TqnPage &page)
{
    // Bands first, so that the objects they carry are drawn over them.
    for (int pass = 0; pass < 2; ++pass)
        for (const auto &object : page.Objects) {
            const bool band = object->kind() == TqnViewKind::vkBand;
            if (band != (pass == 0))
                continue;
            const QRect box = selectionedits::box(*object);
            painter.save();
            painter.setOpacity(object->Visible ? 1.0 : 0.4);
            switch (object->kind()) {
            case TqnViewKind::vkBand:
                paintBand(painter, static_cast<const TqnBandView &>(*object), box);
                break;
            case TqnViewKind::vkMemo:
                paintFrame(painter, *object, box);
                paintMemo(painter, static_cast<const TqnMemoView &>(*object), box);
                break;
            case TqnViewKind::vkPicture: {
                paintFrame(painter, *object, box);
                const QImage image = QImage::fromData(static_cast<const TqnPictureView &>(*object).Data);
                if (image.isNull())
                    paintPlaceholder(painter, box, QStringLiteral("Immagine"));
                else
                    painter.drawImage(box, image);
                break;
            }
            case TqnViewKind::vkSubReport:
                painter.fillRect(box, QBrush(QColor(200, 220, 200), Qt::BDiagPattern));
                paintPlaceholder(painter, box, QStringLiteral("Sottoreport: pagina %1")
                                                   .arg(static_cast<const TqnSubReportView &>(*object).SubPage + 1));
                break;
            default:
                paintPlaceholder(painter, box, object->Name);
            }
            painter.restore();
        }
}

void paintSelection(QPainter &painter, const ViewList &selection)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(selection.size() == 1 ? QColor(0, 0, 0) : QColor(128, 128, 128));
    for (const TqnView *view : selection) {
        const QRect box = selectionedits::box(*view);
        const int xs[] = {box.left(), box.center().x(), box.right() + 1};
        const int ys[] = {box.top(), box.center().y(), box.bottom() + 1};
        for (int x : xs)
            for (int y : ys)
                if (x != xs[1] || y != ys[1])
                    painter.drawRect(x - 3, y - 3, 6, 6);
    }
}

void paintRubber(QPainter &painter, const QRect &box)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(box);
}

} // namespace canvaspainter
