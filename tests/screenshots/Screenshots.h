#pragma once
// The picture makers of scripts/screenshots: a program of their own, never a test. They run
// under a real display server and save PNG files for a person to look at.

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QThread>

namespace screenshots {

// The folder the pictures go to (TAVORIO_SCREENSHOT_DIR, as the script sets it; else the
// current folder).
inline QString folder()
{
    const QString chosen = qEnvironmentVariable("TAVORIO_SCREENSHOT_DIR");
    return chosen.isEmpty() ? QDir::currentPath() : chosen;
}

// Lets the windows lay out and paint before a picture is taken.
inline void settle()
{
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

} // namespace screenshots
