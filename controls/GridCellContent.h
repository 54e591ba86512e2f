#pragma once
// Drawing what a data cell holds: wrapped or shortened text, a check box, a picture.

#include "controls/GridTypes.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace gridcell {

// Memo texts end their lines with CR alone, CR LF or LF; all become LF.
QString normaliseLineBreaks(const QString &text);

// Word-wrapped inside `area` (only the lines that fit show); with `ellipsis` one line cut
// with an ellipsis instead.
void drawText(QPainter &painter, const QRect &area, const QString &text, Qt::Alignment alignment, bool ellipsis);

// The check box's size, one cell of the system's check-box picture.
QSize checkBoxSize(const QWidget *widget);
void drawCheckBox(QPainter &painter, const QRect &cell, bool checked, bool flat, TFlatCheckBoxType type,
                  const QWidget *widget);

// A picture field's data: an image file, a bitmap behind a 78-byte object header, or a
// JPEG stream; a null image when none of these reads.
QImage decodePicture(const QByteArray &data);
// The largest rectangle of the image's proportions that fits the cell, centred in it.
QRect fitPicture(const QSize &image, const QRect &cell);

} // namespace gridcell
