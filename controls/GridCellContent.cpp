#include "controls/GridCellContent.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace gridcell {

namespace {
constexpr int kObjectHeaderSize = 78;

// Long memo texts would be laid out in full for the few words a cell shows: keep only
// what the visible lines could hold at two pixels a character.
QString visiblePart(const QString &text, const QRect &area, int lineSpacing)
{
    const int lines = qMax(1, area.height() / qMax(1, lineSpacing)) + 1;
    const qsizetype limit = qsizetype(lines) * (area.width() / 2 + 2);
    return text.size() > limit ? text.left(limit) : text;
}
} // namespace

QString normaliseLineBreaks(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

void drawText(QPainter &painter, const QRect &area, const QString &text, Qt::Alignment alignment, bool ellipsis)
{
    if (text.isEmpty() || area.width() <= 0)
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (ellipsis) {
        QString line = normaliseLineBreaks(visiblePart(text, area, metrics.lineSpacing()));
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        painter.drawText(area, int(horizontal | Qt::AlignTop | Qt::TextSingleLine),
                         metrics.elidedText(line, Qt::ElideRight, area.width()));
        return;
    }
    const QString shown = normaliseLineBreaks(visiblePart(text, area, metrics.lineSpacing()));
    // Short texts surely fit one line: the cheaper single-line layout draws them.
    if (!shown.contains(QLatin1Char('\n')) && shown.size() * metrics.maxWidth() <= area.width()) {
        painter.drawText(area, int(horizontal | Qt::AlignTop | Qt::TextSingleLine), shown);
        return;
    }
    painter.drawText(area, int(horizontal | Qt::AlignTop | Qt::TextWordWrap), shown);
}

QSize checkBoxSize(const QWidget *widget)
{
    const QStyle *style = widget ? widget->style() : nullptr;
    if (!style)
        return {13, 13};
    return {style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget),
            style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, widget)};
}

void drawCheckBox(QPainter &painter, const QRect &cell, bool checked, bool flat, TFlatCheckBoxType type,
                  const QWidget *widget)
{
    const QSize size = checkBoxSize(widget);
    QRect box(QPoint(0, 0), size);
    box.moveCenter(cell.center());
    if (!flat && widget) {
        QStyleOptionButton option;
        option.initFrom(widget);
        option.rect = box;
        option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
        widget->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, widget);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const bool bold = type == TFlatCheckBoxType::Bold;
    // The normal flat box sits one pixel inside the picture's cell, framed in grey.
    const QRect frame = bold ? box : box.adjusted(1, 1, -1, -1);
    painter.fillRect(frame, gridcolor::window());
    painter.setPen(QPen(bold ? gridcolor::black() : gridcolor::gray(), bold ? 2 : 1));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    if (checked) {
        painter.setPen(QPen(gridcolor::black(), 2));
        const QRect inner = frame.adjusted(3, 3, -3, -3);
        const QPoint a(inner.left(), inner.center().y());
        const QPoint b(inner.left() + inner.width() / 3, inner.bottom());
        const QPoint c(inner.right(), inner.top());
        painter.drawLine(a, b);
        painter.drawLine(b, c);
    }
    painter.restore();
}

QImage decodePicture(const QByteArray &data)
{
    QImage image;
    if (data.isEmpty())
        return image;
    if (image.loadFromData(data))
        return image;
    if (data.size() > kObjectHeaderSize && image.loadFromData(data.mid(kObjectHeaderSize), "BMP"))
        return image;
    image.loadFromData(data, "JPG");
    return image;
}

QRect fitPicture(const QSize &image, const QRect &cell)
{
    if (image.isEmpty() || cell.isEmpty())
        return {};
    const QSize scaled = image.scaled(cell.size(), Qt::KeepAspectRatio);
    QRect fitted(QPoint(0, 0), scaled);
    fitted.moveCenter(cell.center());
    return fitted;
}

} // namespace gridcell
