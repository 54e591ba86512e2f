#pragma once
// Where the cells of a grid lie: fixed columns (indicator, locked columns) at the left,
// then the scrolled columns from the left column on; the title row on top, then the data
// rows. Grid columns count the indicator; screen rows count the title row.

#include <QRect>
#include <vector>

struct GridMetrics {
    std::vector<int> colWidths;   // per grid column; 0 for a hidden column
    int fixedCols = 0;
    int leftCol = 0;
    int colLine = 1;              // width of the vertical grid lines
    int rowLine = 1;              // height of the horizontal grid lines
    int titleRows = 1;            // 0 or 1
    int titleHeight = 17;
    int rowHeight = 17;
    int dataRows = 0;
    std::vector<int> sizedRows;   // per data row on screen: a height set with the mouse, or 0
};

class GridGeometry final {
public:
    GridGeometry() = default;
    explicit GridGeometry(GridMetrics metrics) : m_m(std::move(metrics)) {}

    const GridMetrics &metrics() const { return m_m; }
    int colCount() const { return int(m_m.colWidths.size()); }

    // Left edge of a grid column; -1 when it is hidden or scrolled out at the left.
    int columnLeft(int col) const;
    int rowTop(int row) const;
    int rowHeight(int row) const;
    // An empty rectangle when the cell is not shown.
    QRect cellRect(int col, int row) const;
    // The grid column or screen row at a point; -1 when none.
    int columnAt(int x) const;
    int rowAt(int y) const;
    // The grid column whose right edge lies within `tolerance` of x, for sizing; -1 when none.
    int columnBorderAt(int x, int tolerance) const;
    // The screen data row whose bottom edge lies within `tolerance` of y; -1 when none.
    int rowBorderAt(int y, int tolerance) const;

    int fixedWidth() const;
    int titleAreaHeight() const { return m_m.titleRows ? m_m.titleHeight + m_m.rowLine : 0; }
    // Data rows that fit whole into a client height (at least one).
    int fullyVisibleRows(int clientHeight) const;
    // The last left column worth scrolling to: the one that shows the last column whole.
    int maxLeftCol(int clientWidth) const;
    // The last grid column that is at least partly shown in a client width.
    int lastShownCol(int clientWidth) const;
    // The last grid column shown whole; the left column when none is.
    int lastFullyShownCol(int clientWidth) const;
    // Total width of all columns laid out from the left column on.
    int contentRight() const;

private:
    int dataRowHeight(int dataRow) const;

    GridMetrics m_m;
};
