#pragma once
// The windows are drawn in the system's sans-serif face at fixed pixel heights, so that
// their hand-placed controls keep their proportions whatever the desktop's font is.

#include <QFont>

QFont sansSerifFont(int pixelSize);
