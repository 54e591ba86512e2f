#pragma once
// Fonts of prepared pages. Pages are measured at 96 pixels per inch; a device of another
// resolution draws them through a scaled painter, so its font sizes are corrected for the
// scale to keep every line exactly as long as when it was measured.

#include "output/report/pages/PreparedPage.h"

#include <QFont>
#include <QFontMetricsF>

class QPaintDevice;

class PageFonts final {
public:
    // "MS Sans Serif" and other names the system lacks fall back on the sans-serif family.
    static QFont font(const PreparedFont &face, const QPaintDevice *device = nullptr);
    // Metrics in layout pixels.
    static QFontMetricsF metrics(const QFont &font);
    // A paint device at 96 pixels per inch, for measuring.
    static QPaintDevice *measuringDevice();
};

// Blue-green-red integer to a colour.
QColor colorFromBgr(quint32 bgr);
