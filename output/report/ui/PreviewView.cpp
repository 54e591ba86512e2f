#include "output/report/ui/PreviewView.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

QToolButton *pageButton(Qt::ArrowType arrow, const QString &hint, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    return button;
}

} // namespace

PreviewView::PreviewView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_canvas = new PreviewCanvas(m_scene, this);
    m_vbar = new QScrollBar(Qt::Vertical, this);
    m_hbar = new QScrollBar(Qt::Horizontal, this);
    m_prevBtn = pageButton(Qt::UpArrow, QStringLiteral("Pagina precedente"), this);
    m_nextBtn = pageButton(Qt::DownArrow, QStringLiteral("Pagina successiva"), this);
    m_pageLabel = new QLabel(this);
    m_pageLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Pagina 0000 di 0000")) + 8);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    for (QWidget *w : std::initializer_list<QWidget *>{m_vbar, m_hbar})
        w->setFocusPolicy(Qt::NoFocus);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(m_canvas, 0, 0);
    auto *side = new QVBoxLayout;
    side->setSpacing(0);
    side->addWidget(m_vbar, 1);
    side->addWidget(m_prevBtn);
    side->addWidget(m_nextBtn);
    grid->addLayout(side, 0, 1);
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(0);
    bottom->addWidget(m_pageLabel);
    bottom->addWidget(m_hbar, 1);
    grid->addLayout(bottom, 1, 0, 1, 2);
    m_prevBtn->setFixedWidth(m_vbar->sizeHint().width());
    m_nextBtn->setFixedWidth(m_vbar->sizeHint().width());

    connect(m_canvas, &PreviewCanvas::resized, this, &PreviewView::relayout);
    connect(m_vbar, &QScrollBar::valueChanged, this, &PreviewView::scrolled);
    connect(m_hbar, &QScrollBar::valueChanged, this, &PreviewView::scrolled);
    connect(m_prevBtn, &QToolButton::clicked, this, &PreviewView::previousPage);
    connect(m_nextBtn, &QToolButton::clicked, this, &PreviewView::nextPage);
    setCurrent(0);
}

void PreviewView::setPages(const PreparedPages *pages)
{
    m_scene.pages = pages;
    clearHit();
    m_current = 0;
    relayout();
    goToPage(1);
}

void PreviewView::setZoom(const PreviewZoom &zoom)
{
    m_zoom = zoom;
    relayout();
}

void PreviewView::relayout()
{
    // What the view shows now stays in view at the new scale or size: the point of the page
    // at its top-left corner stays there, and a found text in sight stays in sight.
    int anchorPage = -1;
    QPointF anchor;
    bool hitInSight = false;
    if (m_current > 0 && pageCount() > 0 && m_scene.scale > 0) {
        const QPointF corner(std::max(0.0, m_scene.offset.x()), m_scene.offset.y());
        anchorPage = std::clamp(m_scene.layout.pageAt(corner.y()), 0, pageCount() - 1);
        anchor = (corner - m_scene.layout.pageRect(anchorPage).topLeft()) / m_scene.scale;
        hitInSight = hitArea().intersects(QRectF(m_scene.offset, QSizeF(m_shownSize)));
    }

    std::vector<QSizeF> sizes;
    QSizeF largest;
    if (m_scene.pages) {
        sizes.reserve(size_t(m_scene.pages->size()));
        for (const PreparedPage &page : *m_scene.pages) {
            sizes.emplace_back(page.Paper.widthPx(), page.Paper.heightPx());
            largest = largest.expandedTo(sizes.back());
        }
    }
    m_scene.scale = m_zoom.scale(m_canvas->size(), largest, PreviewCanvas::kGap, logicalDpiX());
    m_scene.layout.arrange(sizes, m_scene.scale, m_zoom.columns(), PreviewCanvas::kGap);
    m_shownSize = m_canvas->size();
    updateRanges();

    if (anchorPage >= 0 && anchorPage < pageCount()) {
        const QRectF sheet = m_scene.layout.pageRect(anchorPage);
        // Above or left of the sheet (in the gap) the view starts one gap before it.
        const double x = anchor.x() < 0 ? sheet.left() - PreviewCanvas::kGap : sheet.left() + anchor.x() * m_scene.scale;
        const double y = anchor.y() < 0 ? sheet.top() - PreviewCanvas::kGap : sheet.top() + anchor.y() * m_scene.scale;
        {
            const QScopedValueRollback<bool> moving(m_moving, true);
            m_hbar->setValue(int(std::lround(x)));
            m_vbar->setValue(int(std::lround(y)));
        }
        if (hitInSight)
            scrollIntoView(hitArea());
        updateRanges();
        setCurrent(normalised(m_scene.layout.pageAt(m_vbar->value() + m_canvas->height() / 4.0) + 1));
    } else if (m_current > 0) {
        goToPage(normalised(m_current));
    }
    m_canvas->update();
}

void PreviewView::updateRanges()
{
    const QSizeF canvas = m_scene.layout.canvasSize();
    const QSize view = m_canvas->size();
    {
        const QScopedValueRollback<bool> moving(m_moving, true);
        m_vbar->setRange(0, std::max(0, int(canvas.height()) - view.height()));
        m_vbar->setPageStep(std::max(1, view.height()));
        m_vbar->setSingleStep(std::max(1, view.height() / 20));
        m_hbar->setRange(0, std::max(0, int(canvas.width()) - view.width()));
        m_hbar->setPageStep(std::max(1, view.width()));
        m_hbar->setSingleStep(std::max(1, view.width() / 20));
    }
    // A canvas narrower than the view is centred in it.
    const double x = canvas.width() < view.width() ? -(view.width() - canvas.width()) / 2 : m_hbar->value();
    m_scene.offset = QPointF(x, m_vbar->value());
}

void PreviewView::scrolled()
{
    updateRanges();
    if (!m_moving && pageCount() > 0) {
        // The page occupying the upper part of the view becomes the current one.
        const double y = m_vbar->value() + m_canvas->height() / 4.0;
        setCurrent(normalised(m_scene.layout.pageAt(y) + 1));
    }
    m_canvas->update();
}

int PreviewView::normalised(int page) const
{
    page = std::clamp(page, pageCount() > 0 ? 1 : 0, pageCount());
    if (page > 0 && m_zoom.columns() == 2)
        page = (page - 1) / 2 * 2 + 1;
    return page;
}

void PreviewView::setCurrent(int page)
{
    const bool changed = page != m_current;
    m_current = page;
    m_pageLabel->setText(pageCount() > 0 ? QStringLiteral("Pagina %1 di %2").arg(page).arg(pageCount())
                                         : QStringLiteral("Nessuna pagina"));
    if (changed)
        emit currentPageChanged(page);
}

void PreviewView::goToPage(int page)
{
    if (pageCount() == 0) {
        setCurrent(0);
        return;
    }
    page = normalised(page);
    {
        const QScopedValueRollback<bool> moving(m_moving, true);
        m_vbar->setValue(int(m_scene.layout.rowTop(page - 1)));
    }
    updateRanges();
    setCurrent(page);
    m_canvas->update();
}

void PreviewView::nextPage()
{
    const int target = m_current + m_zoom.columns();
    if (m_current > 0 && target <= pageCount())
        goToPage(target);
}

void PreviewView::previousPage()
{
    const int target = m_current - m_zoom.columns();
    if (target >= 1)
        goToPage(target);
}

void PreviewView::scrollByScreen(int screens)
{
    m_vbar->setValue(m_vbar->value() + screens * m_vbar->pageStep());
}

void PreviewView::scrollBySteps(int dx, int dy)
{
    m_hbar->setValue(m_hbar->value() + dx * m_hbar->singleStep());
    m_vbar->setValue(m_vbar->value() + dy * m_vbar->singleStep());
}

QRectF PreviewView::hitArea() const
{
    if (m_scene.hitBoxes.empty() || m_scene.hitPage < 0 || m_scene.hitPage >= pageCount())
        return {};
    QRectF area;
    for (const QRectF &box : m_scene.hitBoxes)
        area |= box;
    const QRectF sheet = m_scene.layout.pageRect(m_scene.hitPage);
    return QRectF(sheet.topLeft() + area.topLeft() * m_scene.scale, area.size() * m_scene.scale);
}

void PreviewView::scrollIntoView(const QRectF &target)
{
    const QSize view = m_canvas->size();
    const QScopedValueRollback<bool> moving(m_moving, true);
    const double margin = std::min(view.height() / 4.0, 60.0);
    if (target.top() < m_vbar->value() || target.bottom() > m_vbar->value() + view.height())
        m_vbar->setValue(int(target.top() - margin));
    if (target.left() < m_hbar->value() || target.right() > m_hbar->value() + view.width())
        m_hbar->setValue(int(target.left() - margin));
}

void PreviewView::showHit(int page, const std::vector<QRectF> &boxes)
{
    m_scene.hitPage = page;
    m_scene.hitBoxes = boxes;
    if (boxes.empty() || page < 0 || page >= pageCount())
        return;
    scrollIntoView(hitArea());
    updateRanges();
    setCurrent(normalised(page + 1));
    m_canvas->update();
}

void PreviewView::clearHit()
{
    m_scene.hitPage = -1;
    m_scene.hitBoxes.clear();
    m_canvas->update();
}

void PreviewView::setBarsVisible(bool visible)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_vbar, m_hbar, m_prevBtn, m_nextBtn, m_pageLabel})
        w->setVisible(visible);
}

void PreviewView::keyPressEvent(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp: ctrl ? previousPage() : scrollByScreen(-1); break;
    case Qt::Key_PageDown: ctrl ? nextPage() : scrollByScreen(1); break;
    case Qt::Key_Minus: previousPage(); break;
    case Qt::Key_Plus: nextPage(); break;
    case Qt::Key_Home: goToPage(1); break;
    case Qt::Key_End: goToPage(pageCount()); break;
    case Qt::Key_Up: scrollBySteps(0, -1); break;
    case Qt::Key_Down: scrollBySteps(0, 1); break;
    case Qt::Key_Left: scrollBySteps(-1, 0); break;
    case Qt::Key_Right: scrollBySteps(1, 0); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: break;
    default: event->ignore(); return;
    }
    event->accept();
}

void PreviewView::wheelEvent(QWheelEvent *event)
{
    // One notch moves three steps, as list views do.
    const QPoint notches = event->angleDelta() / 40;
    const bool sideways = event->modifiers() & Qt::ShiftModifier;
    const int dx = sideways ? -notches.y() : -notches.x();
    const int dy = sideways ? 0 : -notches.y();
    scrollBySteps(dx, dy);
    event->accept();
}
