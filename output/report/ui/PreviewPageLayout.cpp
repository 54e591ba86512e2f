#include "output/report/ui/PreviewPageLayout.h"

#include <algorithm>

void PreviewPageLayout::arrange(const std::vector<QSizeF> &pages, double scale, int columns, double gap)
{
    m_columns = std::max(1, columns);
    m_gap = gap;
    m_pageRects.assign(pages.size(), QRectF());
    m_rowTops.clear();
    m_rowBottoms.clear();
    const size_t cols = size_t(m_columns);

    // Widths first: every row is centred on the widest.
    double widest = 0;
    for (size_t first = 0; first < pages.size(); first += cols) {
        double width = gap;
        for (size_t i = first; i < std::min(first + cols, pages.size()); ++i)
            width += pages[i].width() * scale + gap;
        widest = std::max(widest, width);
    }
    double top = gap;
    for (size_t first = 0; first < pages.size(); first += cols) {
        const size_t end = std::min(first + cols, pages.size());
        double width = gap, height = 0;
        for (size_t i = first; i < end; ++i) {
            width += pages[i].width() * scale + gap;
            height = std::max(height, pages[i].height() * scale);
        }
        double left = (widest - width) / 2 + gap;
        for (size_t i = first; i < end; ++i) {
            const QSizeF size = pages[i] * scale;
            m_pageRects[i] = QRectF(QPointF(left, top), size);
            left += size.width() + gap;
        }
        m_rowTops.push_back(top);
        m_rowBottoms.push_back(top + height);
        top += height + gap;
    }
    m_canvas = QSizeF(widest, pages.empty() ? 0 : top);
}

int PreviewPageLayout::rowAt(double y) const
{
    // The first row whose bottom (with its gap) lies below y.
    const auto it = std::lower_bound(m_rowBottoms.begin(), m_rowBottoms.end(), y - m_gap);
    const int row = int(it - m_rowBottoms.begin());
    return std::min(row, int(m_rowBottoms.size()) - 1);
}

int PreviewPageLayout::pageAt(double y) const
{
    if (m_pageRects.empty())
        return 0;
    return rowAt(y) * m_columns;
}

std::pair<int, int> PreviewPageLayout::pagesBetween(double y0, double y1) const
{
    if (m_pageRects.empty())
        return {0, -1};
    const auto first = std::upper_bound(m_rowBottoms.begin(), m_rowBottoms.end(), y0);
    const auto last = std::upper_bound(m_rowTops.begin(), m_rowTops.end(), y1);
    const int firstRow = int(first - m_rowBottoms.begin());
    const int lastRow = int(last - m_rowTops.begin()) - 1;
    if (firstRow > lastRow)
        return {0, -1};
    return {firstRow * m_columns, std::min(pageCount() - 1, (lastRow + 1) * m_columns - 1)};
}

double PreviewPageLayout::rowTop(int page) const
{
    if (m_pageRects.empty())
        return 0;
    return m_rowTops[size_t(std::clamp(page, 0, pageCount() - 1)) / size_t(m_columns)] - m_gap;
}
