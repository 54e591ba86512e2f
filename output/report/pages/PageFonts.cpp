#include "output/report/pages/PageFonts.h"

#include <QImage>
#include <QPaintDevice>

QPaintDevice *PageFonts::measuringDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3780);   // 96 per inch
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &device;
}

QFont PageFonts::font(const PreparedFont &face, const QPaintDevice *device)
{
    QFont f(face.Family);
    if (face.Family.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0)
        f.setFamily(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    // The floor is the face's, before the correction: a corrected size is well under a point
    // on a fine device (8 points are 0.64 at 1200 dots per inch), and flooring that would
    // print every small face at the same large size.
    const int dpi = device ? device->logicalDpiY() : 96;
    f.setPointSizeF(std::max(1.0, double(face.PointSize)) * 96.0 / std::max(1, dpi));
    f.setItalic(face.Style & 1);
    f.setBold(face.Style & 2);
    f.setUnderline(face.Style & 4);
    return f;
}

QFontMetricsF PageFonts::metrics(const QFont &font)
{
    return QFontMetricsF(font, measuringDevice());
}

QColor colorFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
