#pragma once
// Dragging a column by its title: a press arms the drag, moving past the system threshold
// starts it; a picture of the title follows the pointer along the title row while the
// pointer itself is hidden; near the edges a 500 ms timer scrolls one column per tick; the
// drop moves the column. The grid supplies geometry and carries out scroll and move.

#include "controls/GridGeometry.h"

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QTimer>

class GridColumnDragHost {
public:
    virtual ~GridColumnDragHost() = default;
    virtual GridGeometry dragGeometry() const = 0;
    virtual QRect dragClientRect() const = 0;
    virtual QPixmap dragPicture(int gridCol) const = 0;
    virtual void dragScrollBy(int step) = 0;
    virtual void dragDrop(int fromGridCol, int toGridCol) = 0;
    virtual void dragShowPointer(bool shown) = 0;
    virtual void dragRepaint() = 0;
};

class GridColumnDrag final : public QObject {
    Q_OBJECT
public:
    static constexpr int kScrollInterval = 500;
    static constexpr int kScrollMargin = 5;

    explicit GridColumnDrag(GridColumnDragHost &host, QObject *parent = nullptr);

    void press(int gridCol, const QPoint &pos);
    // False when no drag is armed or running (the grid handles the move itself then).
    bool move(const QPoint &pos);
    // Drops or, outside the client area, abandons the drag; false when none was running.
    bool release(const QPoint &pos);
    void cancel();

    bool armed() const { return m_armed; }
    bool dragging() const { return m_dragging; }
    int draggedColumn() const { return m_col; }
    bool pictureShown() const { return m_dragging && m_pictureShown; }
    QPoint picturePos() const { return m_picturePos; }
    const QPixmap &picture() const { return m_picture; }
    void paint(class QPainter &painter) const;

    // The scroll timer, exposed so that its ticks can be driven without waiting.
    const QTimer &scrollTimer() const { return m_timer; }
    int scrollDirection() const { return m_direction; }
    void scrollTick();

    // The grid column a drop at x lands on.
    static int dropTarget(const GridGeometry &geometry, int x);

private:
    void updateScrolling(const QPoint &pos);

    GridColumnDragHost &m_host;
    QTimer m_timer;
    bool m_armed = false;
    bool m_dragging = false;
    bool m_pictureShown = false;
    int m_col = -1;
    int m_grabOffset = 0;
    int m_direction = 0;
    QPoint m_pressPos;
    QPoint m_picturePos;
    QPixmap m_picture;
};
