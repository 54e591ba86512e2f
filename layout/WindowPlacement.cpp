#include "layout/WindowPlacement.h"

namespace {

bool isNormal(const QWidget &window) { return !(window.windowState() & kSizedStates); }

} // namespace

Qt::WindowState windowStateForShowCommand(int showCmd, Qt::WindowState fallback)
{
    switch (showCmd) {
    case showcmd::ShowNormal:
    case showcmd::Show:
    case showcmd::Restore:
        return Qt::WindowNoState;
    case showcmd::ShowMinimized:
    case showcmd::Minimize:
    case showcmd::ShowMinNoActive:
        return Qt::WindowMinimized;
    case showcmd::ShowMaximized:
        return Qt::WindowMaximized;
    default:
        return fallback;
    }
}

WindowPlacer::WindowPlacer(QWidget *window) : m_window(window) {}

WindowPlacement WindowPlacer::placement() const
{
    WindowPlacement placement;
    placement.minPosition = m_minPosition;
    placement.maxPosition = m_maxPosition;
    if (!m_window)
        return placement;

    const Qt::WindowStates state = m_window->windowState();
    if (state & Qt::WindowMinimized) {
        placement.showCmd = showcmd::ShowMinimized;
        if (state & Qt::WindowMaximized)
            placement.flags |= placementflag::RestoreToMaximized;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        placement.showCmd = showcmd::ShowMaximized;
    }

    QRect client = m_window->normalGeometry();
    if (!client.isValid())
        client = m_window->geometry();
    // Qt keeps the restore rectangle as client geometry; the frame around it is taken to be
    // the one the window has now.
    const QPoint origin = client.topLeft() - (m_window->geometry().topLeft() - m_window->pos());
    placement.left = origin.x();
    placement.top = origin.y();
    placement.right = origin.x() + client.width();
    placement.bottom = origin.y() + client.height();
    return placement;
}

void WindowPlacer::setPlacement(const WindowPlacement &placement)
{
    m_minPosition = placement.minPosition;
    m_maxPosition = placement.maxPosition;
    if (!m_window)
        return;

    // Qt takes a window's restore rectangle from its geometry at the moment it leaves the
    // normal state, so the rectangle is set in that state.
    const Qt::WindowStates state = m_window->windowState();
    if (!isNormal(*m_window))
        m_window->setWindowState(state & ~kSizedStates);
    m_window->move(placement.left, placement.top);
    m_window->resize(placement.right - placement.left, placement.bottom - placement.top);
    if (m_window->windowState() != state)
        m_window->setWindowState(state);
}
