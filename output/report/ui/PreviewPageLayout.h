#pragma once
// Where each page lies on the preview's canvas at a given scale: pages one under another,
// or in pairs side by side, each row centred, a gap around every page. Rows are found by
// binary search, so paging and painting cost the same on two pages or two thousand.

#include <QRectF>
#include <QSizeF>
#include <vector>

class PreviewPageLayout final {
public:
    // `pages` in layout pixels; `scale` device pixels per layout pixel; `gap` in device pixels.
    void arrange(const std::vector<QSizeF> &pages, double scale, int columns, double gap);

    int pageCount() const { return int(m_pageRects.size()); }
    int columns() const { return m_columns; }
    QSizeF canvasSize() const { return m_canvas; }
    // The page (from 0) on the canvas, in device pixels.
    QRectF pageRect(int page) const { return m_pageRects[size_t(page)]; }
    // The first page of the row at canvas height y (the nearest row in a gap or beyond).
    int pageAt(double y) const;
    // Pages [first, last] whose rows cross the band y0..y1; first > last when none.
    std::pair<int, int> pagesBetween(double y0, double y1) const;
    // The top of the page's row, less the gap: where a view starts to show the page.
    double rowTop(int page) const;

private:
    int rowAt(double y) const;

    std::vector<QRectF> m_pageRects;
    std::vector<double> m_rowTops;     // top of each row's tallest page
    std::vector<double> m_rowBottoms;
    QSizeF m_canvas;
    int m_columns = 1;
    double m_gap = 0;
};
