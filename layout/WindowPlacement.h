#pragma once
// A window's placement in the platform's terms: flags, show command, minimized and
// maximized positions, and the normal (restored) rectangle in screen pixels with right and
// bottom one past the edge. WindowPlacer reads and applies it on a Qt window.

#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace showcmd {
constexpr int Hide = 0;
constexpr int ShowNormal = 1;
constexpr int ShowMinimized = 2;
constexpr int ShowMaximized = 3;
constexpr int ShowNoActivate = 4;
constexpr int Show = 5;
constexpr int Minimize = 6;
constexpr int ShowMinNoActive = 7;
constexpr int ShowNa = 8;
constexpr int Restore = 9;
} // namespace showcmd

namespace placementflag {
constexpr int SetMinPosition = 1;
constexpr int RestoreToMaximized = 2;
} // namespace placementflag

// The window states that replace the normal rectangle on screen.
inline constexpr Qt::WindowStates kSizedStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

struct WindowPlacement {
    int flags = 0;
    int showCmd = showcmd::ShowNormal;
    QPoint minPosition{-1, -1};
    QPoint maxPosition{-1, -1};
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const WindowPlacement &) const = default;
};

// The state a stored show command names; `fallback` for commands that name none.
Qt::WindowState windowStateForShowCommand(int showCmd, Qt::WindowState fallback);

// The rectangle's left and top are where the window's frame sits (as QWidget::move takes
// them), its width and height the client's (as QWidget::resize takes them), so a rectangle
// read back and applied again leaves the window where it was. Qt keeps no minimized or
// maximized positions; the placer keeps them for its window.
class WindowPlacer final {
public:
    explicit WindowPlacer(QWidget *window);

    WindowPlacement placement() const;
    // Positions and normal rectangle only: a maximized or minimized window keeps its state
    // and takes the rectangle as the one it restores to.
    void setPlacement(const WindowPlacement &placement);
    void setMaxPosition(QPoint position) { m_maxPosition = position; }

private:
    QPointer<QWidget> m_window;
    QPoint m_minPosition{-1, -1};
    QPoint m_maxPosition{-1, -1};
};
