#pragma once
// The navigator's button pictures: drawn from vector artwork at the size a glyph size
// asks for, each in its normal, hot and disabled look.

#include "controls/NavStripKinds.h"

#include <QPixmap>
#include <QString>

struct NavStripPictureSet {
    QPixmap normal;
    QPixmap hot;
    QPixmap disabled;
};

// Side of the square pictures: 16 for small buttons, 24 for large ones, three quarters of
// the custom size otherwise.
int navStripPictureSide(TNavGlyphSize size, int customSize);

NavStripPictureSet drawNavStripPictures(TNavStripBtn kind, int side);

// Pictures supplied as image files or resources named <prefix><KIND>.png, with "_hot" and
// "_disabled" before the extension for the other looks. A missing look is drawn instead.
NavStripPictureSet loadNavStripPictures(const QString &prefix, TNavStripBtn kind, int side);
