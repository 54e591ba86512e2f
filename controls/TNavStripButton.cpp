#include "controls/TNavStripButton.h"

#include "controls/NavRepeatTimer.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

TNavStripButton::TNavStripButton(TNavStripBtn kind, QWidget *parent)
    : QWidget(parent), m_kind(kind)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setRepeatTimer(makeNavRepeatTimer());
}

TNavStripButton::~TNavStripButton() = default;

void TNavStripButton::setRepeatTimer(std::unique_ptr<NavRepeatTimer> timer)
{
    m_repeatTimer = std::move(timer);
    m_repeatTimer->onTimeout = [this] { repeatTick(); };
}

void TNavStripButton::setPictures(const NavStripPictureSet &pictures)
{
    m_pictures = pictures;
    update();
}

void TNavStripButton::setColors(const TNavStripColors &colors)
{
    m_colors = colors;
    update();
}

void TNavStripButton::setFlat(bool flat)
{
    m_flat = flat;
    update();
}

void TNavStripButton::setShaded(bool shaded)
{
    m_shaded = shaded;
    update();
}

void TNavStripButton::setFocusFramed(bool framed)
{
    if (m_focusFramed == framed)
        return;
    m_focusFramed = framed;
    update();
}

void TNavStripButton::click()
{
    if (onClick)
        onClick();
}

void TNavStripButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_held = true;
    m_over = rect().contains(event->position().toPoint());
    update();
    if (onPress)
        onPress();
    if (m_repeating && m_held)
        m_repeatTimer->start(kRepeatPause);
}

void TNavStripButton::mouseMoveEvent(QMouseEvent *event)
{
    setOver(rect().contains(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TNavStripButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_held) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool over = rect().contains(event->position().toPoint());
    letGo();
    m_over = over;
    update();
    if (over)
        click();
}

void TNavStripButton::repeatTick()
{
    m_repeatTimer->start(kRepeatInterval);
    if (!isDown())
        return;
    try {
        click();
    } catch (...) {
        // One failure is reported once, not ten times a second.
        m_repeatTimer->stop();
        throw;
    }
}

void TNavStripButton::letGo()
{
    m_held = false;
    m_repeatTimer->stop();
}

void TNavStripButton::setOver(bool over)
{
    if (m_over == over)
        return;
    m_over = over;
    update();
}

void TNavStripButton::enterEvent(QEnterEvent *event)
{
    setOver(true);
    QWidget::enterEvent(event);
}

void TNavStripButton::leaveEvent(QEvent *event)
{
    // While held the pointer is followed by the move events, which know where it is.
    if (!m_held)
        setOver(false);
    QWidget::leaveEvent(event);
}

void TNavStripButton::changeEvent(QEvent *event)
{
    // A button that stops taking input loses the mouse it held.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        letGo();
        m_over = false;
        update();
    }
    QWidget::changeEvent(event);
}

void TNavStripButton::hideEvent(QHideEvent *event)
{
    letGo();
    m_over = false;
    QWidget::hideEvent(event);
}

const QPixmap &TNavStripButton::currentPicture() const
{
    if (!isEnabled())
        return m_pictures.disabled;
    return m_over ? m_pictures.hot : m_pictures.normal;
}

void TNavStripButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect();
    const bool down = isDown();
    const bool hot = isHot();

    const NavFaceLook look = down ? NavFaceLook::Down : hot ? NavFaceLook::Hot : NavFaceLook::Normal;
    if (m_flat) {
        paintNavFace(painter, area, navFace(m_colors, look));
    } else {
        NavFace face = navFace(m_colors, look);
        face.border = QColor();
        paintNavFace(painter, area, face);
        qDrawShadePanel(&painter, area, palette(), down, 1);
    }

    const QPixmap &picture = currentPicture();
    if (!picture.isNull()) {
        const QSize side = picture.deviceIndependentSize().toSize();
        QPoint at((area.width() - side.width()) / 2, (area.height() - side.height()) / 2);
        if (m_shaded && hot && !down)
            at -= QPoint(1, 1);
        painter.drawPixmap(at, picture);
    }

    if (m_focusFramed) {
        QRect frame = area.adjusted(3, 3, -4, -4);
        if (down)
            frame.translate(1, 1);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
    }
}
