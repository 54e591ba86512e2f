#include "output/report/ui/designer/DesignerCanvas.h"

#include "output/report/ui/designer/CanvasPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBorder = 16;
constexpr int kGutter = 120;   // left of the sheet: the band names
constexpr int kHandle = 3;   // half the side of a resize handle
constexpr int kClickSlack = 1;   // pixels the mouse may move in a click

// Handle n (0..7) of `box`: corners and edge middles, clockwise from the top left.
QPoint handlePoint(const QRect &box, int n)
{
    const int xs[] = {box.left(), box.center().x(), box.right() + 1};
    const int ys[] = {box.top(), box.center().y(), box.bottom() + 1};
    static const int at[8][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
    return QPoint(xs[at[n][0]], ys[at[n][1]]);
}

} // namespace

DesignerCanvas::DesignerCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DesignerCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(shade);
}

QPoint DesignerCanvas::toWidget(QPoint layout)
{
    return layout + QPoint(kGutter, kBorder);
}

QPoint DesignerCanvas::toLayout(QPoint widget)
{
    return widget - QPoint(kGutter, kBorder);
}

QSize DesignerCanvas::sizeHint() const
{
    if (!m_page)
        return QSize(200, 200);
    return QSize(int(m_page->widthPx()) + kGutter + kBorder, int(m_page->heightPx()) + 2 * kBorder);
}

void DesignerCanvas::setPage(TqnPage *page)
{
    m_page = page;
    m_selection.clear();
    m_drag = Drag::None;
    resize(sizeHint());
    updateGeometry();
    update();
    emit selectionChanged();
}

void DesignerCanvas::select(const ViewList &views)
{
    m_selection = views;
    update();
    emit selectionChanged();
}

void DesignerCanvas::selectAll()
{
    ViewList all;
    if (m_page)
        for (const auto &object : m_page->Objects)
            all.push_back(object.get());
    select(all);
}

void DesignerCanvas::setGrid(int size, bool align)
{
    m_grid = designerunits::validGrid(size);
    m_align = align;
    update();
}

int DesignerCanvas::snapped(int value) const
{
    return m_align ? designerunits::snap(value, m_grid) : value;
}

void DesignerCanvas::paintEvent(QPaintEvent *event)
{
    if (!m_page)
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.translate(kGutter, kBorder);
    canvaspainter::paintSheet(painter, *m_page, m_grid);
    canvaspainter::paintBandNames(painter, *m_page, kGutter - 4);
    canvaspainter::paintObjects(painter, *m_page);
    canvaspainter::paintSelection(painter, m_selection);
    if (m_drag == Drag::Rubber || m_drag == Drag::Insert)
        canvaspainter::paintRubber(painter, m_rubber);
}

TqnView *DesignerCanvas::viewAt(QPoint layout) const
{
    // Objects above bands; among them the one drawn last wins.
    for (int pass = 0; pass < 2; ++pass)
        for (auto it = m_page->Objects.rbegin(); it != m_page->Objects.rend(); ++it) {
            const bool band = (*it)->kind() == TqnViewKind::vkBand;
            if (band == (pass == 1) && selectionedits::box(**it).contains(layout))
                return it->get();
        }
    return nullptr;
}

int DesignerCanvas::handleAt(QPoint layout) const
{
    if (m_selection.size() != 1)
        return -1;
    const QRect box = selectionedits::box(*m_selection.front());
    for (int n = 0; n < 8; ++n)
        if ((handlePoint(box, n) - layout).manhattanLength() <= 2 * kHandle)
            return n;
    return -1;
}

void DesignerCanvas::mousePressEvent(QMouseEvent *event)
{
    if (!m_page || event->button() != Qt::LeftButton)
        return;
    setFocus();
    const QPoint at = toLayout(event->position().toPoint());
    m_pressAt = at;
    m_dragged = false;
    m_boxesAtPress.clear();
    for (const auto &object : m_page->Objects)
        m_boxesAtPress.emplace_back(object.get(), selectionedits::box(*object));
    if (m_tool != Tool::Select) {
        m_drag = Drag::Insert;
        m_rubber = QRect(at, at);
        return;
    }
    m_handle = handleAt(at);
    if (m_handle >= 0) {
        m_drag = Drag::Resize;
        return;
    }
    TqnView *hit = viewAt(at);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (!hit) {
        if (!shift)
            m_selection.clear();
        m_drag = Drag::Rubber;
        m_rubber = QRect(at, at);
    } else if (shift) {
        auto found = std::find(m_selection.begin(), m_selection.end(), hit);
        if (found != m_selection.end())
            m_selection.erase(found);
        else
            m_selection.push_back(hit);
        m_drag = Drag::None;
    } else {
        if (std::find(m_selection.begin(), m_selection.end(), hit) == m_selection.end())
            m_selection = {hit};
        m_drag = Drag::Move;
    }
    update();
    emit selectionChanged();
}

void DesignerCanvas::restoreBoxes()
{
    for (auto &[view, box] : m_boxesAtPress) {
        view->X = box.x(), view->Y = box.y(), view->Width = box.width(), view->Height = box.height();
    }
}

bool DesignerCanvas::boxesChanged() const
{
    for (const auto &[view, box] : m_boxesAtPress)
        if (selectionedits::box(*view) != box)
            return true;
    return false;
}

void DesignerCanvas::applyDrag(QPoint at)
{
    const QPoint delta = at - m_pressAt;
    // A click, even with the hand trembling by a pixel, moves nothing: an object that is not
    // on the grid stays where it is until it is really moved.
    if (!m_dragged && std::abs(delta.x()) <= kClickSlack && std::abs(delta.y()) <= kClickSlack) {
        if (m_drag == Drag::Move || m_drag == Drag::Resize)
            restoreBoxes();
        return;
    }
    m_dragged = true;
    if (m_drag == Drag::Move && !m_selection.empty()) {
        restoreBoxes();
        const TqnView &lead = *m_selection.front();
        const int dx = lead.kind() == TqnViewKind::vkBand ? 0 : snapped(lead.X + delta.x()) - lead.X;
        const int dy = snapped(lead.Y + delta.y()) - lead.Y;
        selectionedits::moveBy(*m_page, m_selection, dx, dy);
    } else if (m_drag == Drag::Resize) {
        restoreBoxes();
        TqnView &view = *m_selection.front();
        QRect box = selectionedits::box(view);
        const bool band = view.kind() == TqnViewKind::vkBand;
        if (!band && (m_handle == 0 || m_handle == 6 || m_handle == 7))
            box.setLeft(std::min(snapped(box.left() + delta.x()), box.right()));
        if (!band && (m_handle >= 2 && m_handle <= 4))
            box.setRight(std::max(snapped(box.right() + 1 + delta.x()) - 1, box.left()));
        if (m_handle <= 2)
            box.setTop(std::min(snapped(box.top() + delta.y()), box.bottom()));
        if (m_handle >= 4 && m_handle <= 6)
            box.setBottom(std::max(snapped(box.bottom() + 1 + delta.y()) - 1, box.top()));
        view.X = box.x(), view.Y = box.y(), view.Width = box.width(), view.Height = box.height();
    } else if (m_drag == Drag::Rubber || m_drag == Drag::Insert) {
        m_rubber = QRect(m_pressAt, at).normalized();
    }
    update();
}

void DesignerCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = toLayout(event->position().toPoint());
    emit mouseAt(at);
    if (m_drag != Drag::None && (event->buttons() & Qt::LeftButton))
        applyDrag(at);
}

void DesignerCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::None || event->button() != Qt::LeftButton)
        return;
    const Drag drag = m_drag;
    applyDrag(toLayout(event->position().toPoint()));
    m_drag = Drag::None;
    update();
    if (drag == Drag::Move || drag == Drag::Resize) {
        if (boxesChanged())
            emit edited();
        emit selectionChanged();
    } else if (drag == Drag::Rubber) {
        for (const auto &object : m_page->Objects)
            if (m_rubber.intersects(selectionedits::box(*object))
                && std::find(m_selection.begin(), m_selection.end(), object.get()) == m_selection.end())
                m_selection.push_back(object.get());
        emit selectionChanged();
    } else if (drag == Drag::Insert) {
        QRect box = m_rubber;
        box.moveTopLeft(QPoint(snapped(box.x()), snapped(box.y())));
        if (box.width() < 8 || box.height() < 8)
            box.setSize(QSize(96, 19));
        emit insertRequested(m_tool, box);
    }
}

void DesignerCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_page && viewAt(toLayout(event->position().toPoint())))
        emit editRequested();
}

void DesignerCanvas::keyPressEvent(QKeyEvent *event)
{
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (m_selection.empty())
        return;
    const int step = m_align ? m_grid : 1;
    if (event->modifiers() & Qt::ShiftModifier)
        selectionedits::resizeBy(m_selection, dx * step, dy * step);
    else
        selectionedits::moveBy(*m_page, m_selection, dx * step, dy * step);
    update();
    emit edited();
    emit selectionChanged();
}
