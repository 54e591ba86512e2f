#pragma once
// The faces of the navigator's buttons: the colour set a strip hands to its buttons and
// the painting of one face (plain or in 16 gradient bands, optionally framed).

#include <QColor>

class QPainter;
class QPalette;
class QRect;

// An invalid QColor stands for "none": no gradient, or no frame.
struct TNavStripColors {
    QColor color;
    QColor colorTo;
    QColor colorHot{199, 199, 202};
    QColor colorHotTo;
    QColor colorDown{210, 211, 216};
    QColor colorDownTo;
    QColor borderColor;
    QColor borderHotColor{Qt::black};
    QColor borderDownColor{Qt::black};

    bool operator==(const TNavStripColors &) const = default;
};

// The colours taken from the desktop theme instead of the strip's own.
TNavStripColors themeNavStripColors(const QPalette &palette);

enum class NavFaceLook { Normal, Hot, Down };

struct NavFace {
    QColor from;
    QColor to;       // none: plain face
    QColor border;   // none: no frame
};

NavFace navFace(const TNavStripColors &colors, NavFaceLook look);

inline constexpr int kNavFaceBands = 16;

// Band `band` (0 at the top) of a gradient: `from` plus band/16 of the way to `to`.
QColor navFaceBand(const QColor &from, const QColor &to, int band);

void paintNavFace(QPainter &painter, const QRect &rect, const NavFace &face);
