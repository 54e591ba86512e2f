#pragma once
// The area of the preview where pages are drawn: a grey desk with each page as a white
// sheet with a shadow, drawn by the printer's own page painter at the zoom's scale, and the
// text last found marked on it. Only the pages that cross the visible area are painted.

#include "output/report/pages/PreparedPage.h"
#include "output/report/ui/PreviewPageLayout.h"

#include <QWidget>
#include <vector>

// What the canvas shows; owned by the view that scrolls it.
struct PreviewScene {
    const PreparedPages *pages = nullptr;
    PreviewPageLayout layout;
    double scale = 1;
    QPointF offset;              // canvas point at the widget's top-left corner
    int hitPage = -1;            // page (from 0) of the found text
    std::vector<QRectF> hitBoxes;
};

class PreviewCanvas final : public QWidget {
    Q_OBJECT
public:
    PreviewCanvas(const PreviewScene &scene, QWidget *parent);
    // Pages [first, last] (from 0) painted by the last paint; first > last when none.
    std::pair<int, int> lastPainted() const { return m_lastPainted; }

    static constexpr double kGap = 16;
    static constexpr double kShadow = 4;

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintPage(QPainter &painter, int page, const QRectF &sheet) const;

    const PreviewScene &m_scene;
    std::pair<int, int> m_lastPainted{0, -1};
};
