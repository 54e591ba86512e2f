#include "output/report/ui/PreviewCanvas.h"

#include "output/report/pages/PagePainter.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
const QColor kDesk(128, 128, 128);
const QColor kShadowColor(64, 64, 64);
const QColor kHighlight(255, 200, 0, 110);
}

PreviewCanvas::PreviewCanvas(const PreviewScene &scene, QWidget *parent) : QWidget(parent), m_scene(scene)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PreviewCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

void PreviewCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), kDesk);
    m_lastPainted = {0, -1};
    const PreviewScene &scene = m_scene;
    if (!scene.pages || scene.layout.pageCount() == 0) {
        // An empty report says so, rather than look like a view still waiting for its pages.
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Nessuna pagina"));
        return;
    }
    const QRectF exposed = QRectF(event->rect()).translated(scene.offset);
    const auto [first, last] = scene.layout.pagesBetween(exposed.top(), exposed.bottom());
    for (int page = first; page <= last; ++page) {
        const QRectF sheet = scene.layout.pageRect(page).translated(-scene.offset);
        if (!sheet.adjusted(0, 0, kShadow, kShadow).intersects(event->rect()))
            continue;
        if (m_lastPainted.first > m_lastPainted.second)
            m_lastPainted.first = page;
        m_lastPainted.second = page;
        paintPage(painter, page, sheet);
    }
}

void PreviewCanvas::paintPage(QPainter &painter, int page, const QRectF &sheet) const
{
    painter.fillRect(sheet.translated(kShadow, kShadow), kShadowColor);
    painter.fillRect(sheet, Qt::white);
    painter.save();
    painter.setClipRect(sheet);
    painter.translate(sheet.topLeft());
    PagePainter::paint(painter, (*m_scene.pages)[page], m_scene.scale);
    if (page == m_scene.hitPage) {
        painter.scale(m_scene.scale, m_scene.scale);
        for (const QRectF &box : m_scene.hitBoxes)
            painter.fillRect(box, kHighlight);
    }
    painter.restore();
}
