#include "layout/DisplayMetrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

DisplayMetrics currentDisplayMetrics()
{
    DisplayMetrics metrics;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        metrics.screenSize = screen->geometry().size();
        metrics.pixelsPerInch = int(std::lround(screen->logicalDotsPerInchY()));
    }
    return metrics;
}
