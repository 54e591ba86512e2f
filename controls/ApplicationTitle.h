#pragma once
// The program's own application title, the caption of its message and error boxes. It is
// kept apart from Qt's application display name, which some window managers would see
// appended to every window title.

#include <QString>

QString applicationTitle();
void setApplicationTitle(const QString &title);
