#include "controls/GridPickList.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>

namespace {
constexpr int kFrameExtra = 4;
constexpr int kTextMargin = 8;
} // namespace

GridPickList::GridPickList(QWidget *owner) : QListWidget(owner)
{
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void GridPickList::popUp(const QStringList &entries, int current, int maxRows, const QRect &anchor)
{
    clear();
    addItems(entries);
    setCurrentRow(current);
    if (current < 0)
        clearSelection();

    const int rows = qBound(1, int(entries.size()), qMax(1, maxRows));
    const int rowHeight = qMax(sizeHintForRow(0), fontMetrics().height());
    int widest = 0;
    for (const QString &entry : entries)
        widest = qMax(widest, fontMetrics().horizontalAdvance(entry) + kTextMargin);
    if (int(entries.size()) > rows)
        widest += verticalScrollBar()->sizeHint().width();
    const QSize size(qMax(anchor.width(), widest), rows * rowHeight + kFrameExtra);

    QPoint at = anchor.bottomLeft() + QPoint(0, 1);
    if (const QScreen *screen = QGuiApplication::screenAt(anchor.center())) {
        const QRect area = screen->availableGeometry();
        if (at.y() + size.height() > area.bottom())
            at.setY(anchor.top() - size.height());
    }
    setGeometry(QRect(at, size));
    show();
    setFocus(Qt::PopupFocusReason);
    if (current >= 0)
        scrollToItem(item(current));
}

void GridPickList::closeUp(bool accept)
{
    if (!isVisible() || m_closing)
        return;
    m_closing = true;
    const QListWidgetItem *chosen = currentRow() >= 0 && currentItem() && currentItem()->isSelected() ? currentItem() : nullptr;
    hide();
    m_closing = false;
    if (accept && chosen && onAccepted)
        onAccepted(chosen->text());
    if (onClosed)
        onClosed();
}

void GridPickList::keyPressEvent(QKeyEvent *event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        closeUp(true);
        return;
    case Qt::Key_Escape:
        closeUp(false);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (alt) {
            closeUp(true);
            return;
        }
        if (currentRow() < 0 || !currentItem()->isSelected()) {
            setCurrentRow(0);
            return;
        }
        break;
    default:
        break;
    }
    QListWidget::keyPressEvent(event);
}

void GridPickList::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()) && itemAt(event->position().toPoint()))
        closeUp(true);
}

void GridPickList::hideEvent(QHideEvent *event)
{
    QListWidget::hideEvent(event);
    // A click outside closes a pop-up without a choice.
    if (!m_closing && onClosed)
        onClosed();
}
