#include "controls/NavStripFace.h"

#include <QPainter>
#include <QPalette>
#include <QRect>

namespace {

int bandChannel(int from, int to, int band)
{
    return from + qRound(double(band) * double(to - from) / kNavFaceBands);
}

} // namespace

TNavStripColors themeNavStripColors(const QPalette &palette)
{
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    TNavStripColors colors;
    colors.color = palette.color(QPalette::Active, QPalette::Button);
    colors.colorHot = highlight.lighter(170);
    colors.colorDown = highlight.lighter(130);
    colors.borderHotColor = highlight.darker(120);
    colors.borderDownColor = highlight.darker(140);
    return colors;
}

NavFace navFace(const TNavStripColors &colors, NavFaceLook look)
{
    switch (look) {
    case NavFaceLook::Hot:
        return {colors.colorHot, colors.colorHotTo, colors.borderHotColor};
    case NavFaceLook::Down:
        return {colors.colorDown, colors.colorDownTo, colors.borderDownColor};
    case NavFaceLook::Normal:
        break;
    }
    return {colors.color, colors.colorTo, colors.borderColor};
}

QColor navFaceBand(const QColor &from, const QColor &to, int band)
{
    return QColor(bandChannel(from.red(), to.red(), band), bandChannel(from.green(), to.green(), band),
                  bandChannel(from.blue(), to.blue(), band));
}

void paintNavFace(QPainter &painter, const QRect &rect, const NavFace &face)
{
    if (rect.isEmpty())
        return;
    if (!face.to.isValid()) {
        painter.fillRect(rect, face.from);
    } else {
        // Integer band edges so the bands tile the face without gaps at any height.
        const int height = rect.height();
        for (int band = 0; band < kNavFaceBands; ++band) {
            const int top = rect.top() + band * height / kNavFaceBands;
            const int bottom = rect.top() + (band + 1) * height / kNavFaceBands;
            if (bottom > top)
                painter.fillRect(QRect(rect.left(), top, rect.width(), bottom - top),
                                 navFaceBand(face.from, face.to, band));
        }
    }
    if (face.border.isValid()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(face.border);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
    }
}
