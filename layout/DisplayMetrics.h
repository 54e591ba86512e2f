#pragma once
// What a layout is tied to: the primary screen's size in pixels and its pixels per inch.

#include <QSize>

struct DisplayMetrics {
    QSize screenSize;
    int pixelsPerInch = 96;
};

DisplayMetrics currentDisplayMetrics();
