#include "forms/main/GradientPanel.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

int mix(int from, int to, int band, int last)
{
    return last == 0 ? from : from + (to - from) * band / last;
}

} // namespace

GradientPanel::GradientPanel(const QColor &from, const QColor &to, int steps, QWidget *parent)
    : QWidget(parent), m_from(from), m_to(to), m_steps(std::max(1, steps))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor GradientPanel::bandColor(int band) const
{
    const int last = m_steps - 1;
    band = std::clamp(band, 0, last);
    return QColor(mix(m_from.red(), m_to.red(), band, last), mix(m_from.green(), m_to.green(), band, last),
                  mix(m_from.blue(), m_to.blue(), band, last));
}

void GradientPanel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    for (int band = 0; band < m_steps; ++band) {
        const int left = band * w / m_steps;
        const int right = (band + 1) * w / m_steps;
        if (right <= left)
            continue;
        const QRect strip(left, 0, right - left, h);
        if (strip.intersects(event->rect()))
            painter.fillRect(strip, bandColor(band));
    }
}
