#pragma once
// The desktop colours the main window's panels name. Qt's palette has no role for the
// background behind document windows, so it is the classic mid grey here.

#include <QColor>

namespace syscolors {

inline QColor appWorkspace() { return QColor(0x80, 0x80, 0x80); }
inline QColor silver() { return QColor(192, 192, 192); }

} // namespace syscolors
