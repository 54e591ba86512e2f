#pragma once
// The preview's page area with its scroll bars: the canvas, the vertical bar with the two
// small page buttons under it, the horizontal bar with the page number at its left. Knows
// the current page and the zoom, and moves through the pages by page, screen and step.

#include "output/report/ui/PreviewCanvas.h"
#include "output/report/ui/PreviewZoom.h"

#include <QWidget>

class QLabel;
class QScrollBar;
class QToolButton;

class PreviewView final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewView(QWidget *parent = nullptr);

    // The pages shown; they must outlive the view or be replaced first. Shows page 1.
    void setPages(const PreparedPages *pages);
    void setZoom(const PreviewZoom &zoom);
    const PreviewZoom &zoom() const { return m_zoom; }
    double scale() const { return m_scene.scale; }

    int pageCount() const { return m_scene.layout.pageCount(); }
    int currentPage() const { return m_current; }        // from 1; 0 with no pages
    void goToPage(int page);
    // A page on (two in two-page view); nothing when that would pass the last page.
    void nextPage();
    void previousPage();
    void scrollByScreen(int screens);
    void scrollBySteps(int dx, int dy);

    // Marks found text (layout pixels on page `page`, from 0) and scrolls it into view.
    void showHit(int page, const std::vector<QRectF> &boxes);
    void clearHit();

    // Full screen hides the bars, the page buttons and the page number.
    void setBarsVisible(bool visible);

    PreviewCanvas *canvas() const { return m_canvas; }
    QScrollBar *verticalBar() const { return m_vbar; }
    QScrollBar *horizontalBar() const { return m_hbar; }
    QToolButton *previousButton() const { return m_prevBtn; }
    QToolButton *nextButton() const { return m_nextBtn; }
    QLabel *pageLabel() const { return m_pageLabel; }

signals:
    void currentPageChanged(int page);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void relayout();
    // The found text on the canvas, in device pixels; empty when none is marked.
    QRectF hitArea() const;
    // Scrolls only as far as needed to show `target` (canvas pixels), with some room around it.
    void scrollIntoView(const QRectF &target);
    void updateRanges();
    void scrolled();
    void setCurrent(int page);
    int normalised(int page) const;

    PreviewScene m_scene;
    PreviewZoom m_zoom;
    int m_current = 0;
    bool m_moving = false;       // a command is scrolling: the bars do not pick the page
    QSize m_shownSize;           // the canvas size the scene was last arranged for
    PreviewCanvas *m_canvas;
    QScrollBar *m_vbar;
    QScrollBar *m_hbar;
    QToolButton *m_prevBtn;
    QToolButton *m_nextBtn;
    QLabel *m_pageLabel;
};
