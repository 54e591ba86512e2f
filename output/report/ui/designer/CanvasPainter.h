#pragma once
// Drawing of a layout page in the designer, in layout pixels: the sheet with its margins and
// grid, then bands, text boxes, pictures and sub-reports as they stand (expressions as written),
// then the selection's handles.

#include "output/report/ui/designer/SelectionEdits.h"

#include <QColor>

class QPainter;

namespace canvaspainter {

// A layout colour (blue-green-red integer) as a Qt colour; kColorNone is transparent.
QColor color(quint32 bgr);
quint32 fromColor(const QColor &color);

void paintSheet(QPainter &painter, const TqnPage &page, int grid);
void paintObjects(QPainter &painter, const TqnPage &page);
void paintSelection(QPainter &painter, const ViewList &selection);
void paintRubber(QPainter &painter, const QRect &box);

} // namespace canvaspainter
