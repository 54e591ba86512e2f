#include "controls/GridColumnDrag.h"

#include <QApplication>
#include <QPainter>

GridColumnDrag::GridColumnDrag(GridColumnDragHost &host, QObject *parent) : QObject(parent), m_host(host)
{
    m_timer.setInterval(kScrollInterval);
    connect(&m_timer, &QTimer::timeout, this, &GridColumnDrag::scrollTick);
}

void GridColumnDrag::press(int gridCol, const QPoint &pos)
{
    cancel();
    m_armed = true;
    m_col = gridCol;
    m_pressPos = pos;
    const int left = m_host.dragGeometry().columnLeft(gridCol);
    m_grabOffset = left >= 0 ? pos.x() - left : 0;
}

bool GridColumnDrag::move(const QPoint &pos)
{
    if (!m_armed && !m_dragging)
        return false;
    if (m_armed) {
        if ((pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return true;
        m_armed = false;
        m_dragging = true;
        m_picture = m_host.dragPicture(m_col);
        m_host.dragShowPointer(false);
    }
    // The picture stays on the title row and shows only over this grid.
    m_pictureShown = m_host.dragClientRect().contains(pos);
    m_picturePos = QPoint(pos.x() - m_grabOffset, 0);
    updateScrolling(pos);
    m_host.dragRepaint();
    return true;
}

bool GridColumnDrag::release(const QPoint &pos)
{
    if (m_armed) {
        m_armed = false;
        return true;
    }
    if (!m_dragging)
        return false;
    const int from = m_col;
    const bool inside = m_host.dragClientRect().contains(pos);
    cancel();
    if (inside) {
        const int to = dropTarget(m_host.dragGeometry(), pos.x());
        if (to >= 0 && to != from)
            m_host.dragDrop(from, to);
    }
    return true;
}

void GridColumnDrag::cancel()
{
    m_timer.stop();
    m_direction = 0;
    m_armed = false;
    if (m_dragging) {
        m_dragging = false;
        m_picture = QPixmap();
        m_host.dragShowPointer(true);
        m_host.dragRepaint();
    }
}

void GridColumnDrag::paint(QPainter &painter) const
{
    if (pictureShown())
        painter.drawPixmap(m_picturePos, m_picture);
}

void GridColumnDrag::updateScrolling(const QPoint &pos)
{
    const GridGeometry geometry = m_host.dragGeometry();
    const QRect client = m_host.dragClientRect();
    int direction = 0;
    if (pos.x() < geometry.fixedWidth() - kScrollMargin)
        direction = -1;
    else if (pos.x() >= client.right() - kScrollMargin)
        direction = 1;
    m_direction = direction;
    if (direction == 0)
        m_timer.stop();
    else if (!m_timer.isActive())
        m_timer.start();
}

void GridColumnDrag::scrollTick()
{
    if (m_dragging && m_direction != 0)
        m_host.dragScrollBy(m_direction);
}

int GridColumnDrag::dropTarget(const GridGeometry &geometry, int x)
{
    const int fixed = geometry.metrics().fixedCols;
    if (x < geometry.fixedWidth()) {
        // The indicator (or a locked column) means the first column after the locked ones.
        for (int c = fixed; c < geometry.colCount(); ++c) {
            if (geometry.metrics().colWidths[size_t(c)] > 0)
                return c;
        }
        return -1;
    }
    const int col = geometry.columnAt(x);
    if (col >= fixed)
        return col;
    // Beyond the last column: the last one.
    for (int c = geometry.colCount() - 1; c >= fixed; --c) {
        if (geometry.metrics().colWidths[size_t(c)] > 0)
            return c;
    }
    return -1;
}
