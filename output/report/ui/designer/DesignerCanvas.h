#pragma once
// The drawing surface of one layout page: the sheet at its paper size with margins and grid,
// bands across it, objects in their boxes. Objects are selected by click (Shift adds), by a
// rubber band, or all at once; they move and resize with the mouse and the arrow keys, on
// the grid when alignment is on. Every finished edit is announced once through edited().

#include "output/report/ui/designer/DesignerUnits.h"
#include "output/report/ui/designer/SelectionEdits.h"

#include <QWidget>

class DesignerCanvas final : public QWidget {
    Q_OBJECT
public:
    enum class Tool { Select, Memo, Picture, SubReport };

    explicit DesignerCanvas(QWidget *parent = nullptr);

    // The page drawn; null draws nothing. The selection is emptied.
    void setPage(TqnPage *page);
    TqnPage *page() const { return m_page; }
    const ViewList &selection() const { return m_selection; }
    void select(const ViewList &views);
    void selectAll();
    void setTool(Tool tool) { m_tool = tool; }
    Tool tool() const { return m_tool; }
    void setGrid(int size, bool align);
    int gridSize() const { return m_grid; }
    bool gridAlign() const { return m_align; }

    // Widget point of a layout point, and back.
    static QPoint toWidget(QPoint layout);
    static QPoint toLayout(QPoint widget);
    QSize sizeHint() const override;

signals:
    void edited();
    void selectionChanged();
    void mouseAt(QPoint layout);
    // The user drew a box (or clicked) with an insertion tool.
    void insertRequested(DesignerCanvas::Tool tool, QRect box);
    // A double click on an object: its editor.
    void editRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class Drag { None, Move, Resize, Rubber, Insert };
    TqnView *viewAt(QPoint layout) const;
    int handleAt(QPoint layout) const;
    void applyDrag(QPoint layout);
    void restoreBoxes();
    bool boxesChanged() const;
    int snapped(int value) const;

    TqnPage *m_page = nullptr;
    ViewList m_selection;
    Tool m_tool = Tool::Select;
    int m_grid = 8;
    bool m_align = true;
    Drag m_drag = Drag::None;
    int m_handle = -1;
    QPoint m_pressAt;
    bool m_dragged = false;      // the mouse went farther than a click since the press
    QRect m_rubber;
    std::vector<std::pair<TqnView *, QRect>> m_boxesAtPress;
};
