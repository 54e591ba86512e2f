#include "controls/GridGeometry.h"

#include <algorithm>

int GridGeometry::columnLeft(int col) const
{
    if (col < 0 || col >= colCount() || m_m.colWidths[size_t(col)] <= 0)
        return -1;
    if (col >= m_m.fixedCols && col < m_m.leftCol)
        return -1;
    const bool fixed = col < m_m.fixedCols;
    int x = fixed ? 0 : fixedWidth();
    for (int c = fixed ? 0 : m_m.leftCol; c < col; ++c) {
        if (m_m.colWidths[size_t(c)] > 0)
            x += m_m.colWidths[size_t(c)] + m_m.colLine;
    }
    return x;
}

int GridGeometry::fixedWidth() const
{
    int x = 0;
    for (int c = 0; c < std::min(m_m.fixedCols, colCount()); ++c) {
        if (m_m.colWidths[size_t(c)] > 0)
            x += m_m.colWidths[size_t(c)] + m_m.colLine;
    }
    return x;
}

int GridGeometry::dataRowHeight(int dataRow) const
{
    const size_t i = size_t(dataRow);
    return i < m_m.sizedRows.size() && m_m.sizedRows[i] > 0 ? m_m.sizedRows[i] : m_m.rowHeight;
}

int GridGeometry::rowTop(int row) const
{
    if (row < m_m.titleRows)
        return 0;
    int top = titleAreaHeight();
    for (int r = 0; r < row - m_m.titleRows; ++r)
        top += dataRowHeight(r) + m_m.rowLine;
    return top;
}

int GridGeometry::rowHeight(int row) const
{
    return row < m_m.titleRows ? m_m.titleHeight : dataRowHeight(row - m_m.titleRows);
}

QRect GridGeometry::cellRect(int col, int row) const
{
    const int left = columnLeft(col);
    if (left < 0 || row < 0 || row >= m_m.titleRows + m_m.dataRows)
        return {};
    return QRect(left, rowTop(row), m_m.colWidths[size_t(col)], rowHeight(row));
}

int GridGeometry::columnAt(int x) const
{
    if (x < 0)
        return -1;
    for (int c = 0; c < colCount(); ++c) {
        const int left = columnLeft(c);
        if (left < 0)
            continue;
        if (x < left + m_m.colWidths[size_t(c)] + m_m.colLine)
            return x >= left ? c : -1;
    }
    return -1;
}

int GridGeometry::rowAt(int y) const
{
    if (y < 0)
        return -1;
    if (m_m.titleRows && y < titleAreaHeight())
        return 0;
    int bottom = titleAreaHeight();
    for (int r = 0; r < m_m.dataRows; ++r) {
        bottom += dataRowHeight(r) + m_m.rowLine;
        if (y < bottom)
            return r + m_m.titleRows;
    }
    return -1;
}

int GridGeometry::rowBorderAt(int y, int tolerance) const
{
    for (int r = m_m.titleRows; r < m_m.titleRows + m_m.dataRows; ++r) {
        const int bottom = rowTop(r) + rowHeight(r);
        if (y >= bottom - tolerance && y <= bottom + tolerance)
            return r;
    }
    return -1;
}

int GridGeometry::columnBorderAt(int x, int tolerance) const
{
    for (int c = 0; c < colCount(); ++c) {
        const int left = columnLeft(c);
        if (left < 0)
            continue;
        const int right = left + m_m.colWidths[size_t(c)];
        if (x >= right - tolerance && x <= right + tolerance)
            return c;
    }
    return -1;
}

int GridGeometry::fullyVisibleRows(int clientHeight) const
{
    const int space = clientHeight - titleAreaHeight();
    int used = dataRowHeight(0);
    int rows = 1;
    while (used + m_m.rowLine + dataRowHeight(rows) <= space) {
        used += m_m.rowLine + dataRowHeight(rows);
        ++rows;
    }
    return rows;
}

int GridGeometry::maxLeftCol(int clientWidth) const
{
    const int space = clientWidth - fixedWidth();
    int used = 0;
    int best = -1;
    for (int c = colCount() - 1; c >= m_m.fixedCols; --c) {
        const int w = m_m.colWidths[size_t(c)];
        if (w <= 0)
            continue;
        if (best >= 0 && used + w > space)
            break;
        used += w + m_m.colLine;
        best = c;
    }
    return best >= 0 ? best : m_m.fixedCols;
}

int GridGeometry::lastShownCol(int clientWidth) const
{
    int last = -1;
    for (int c = 0; c < colCount(); ++c) {
        const int left = columnLeft(c);
        if (left >= 0 && left < clientWidth)
            last = c;
    }
    return last;
}

int GridGeometry::lastFullyShownCol(int clientWidth) const
{
    int last = m_m.leftCol;
    for (int c = m_m.leftCol; c < colCount(); ++c) {
        const int left = columnLeft(c);
        if (left >= 0 && left + m_m.colWidths[size_t(c)] <= clientWidth)
            last = c;
    }
    return last;
}

int GridGeometry::contentRight() const
{
    int right = fixedWidth();
    for (int c = std::max(m_m.leftCol, m_m.fixedCols); c < colCount(); ++c) {
        if (m_m.colWidths[size_t(c)] > 0)
            right += m_m.colWidths[size_t(c)] + m_m.colLine;
    }
    return right;
}
