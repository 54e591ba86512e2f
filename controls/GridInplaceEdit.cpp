#include "controls/GridInplaceEdit.h"

#include "controls/GridPickList.h"
#include "controls/GridTypes.h"

#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>

namespace {
constexpr int kButtonWidth = 16;
} // namespace

GridInplaceEdit::GridInplaceEdit(GridEditorHost &host, QWidget *parent) : QLineEdit(parent), m_host(host)
{
    setFrame(false);
    setTextMargins(1, 0, 0, 0);
    m_button = new QToolButton(this);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setCursor(Qt::ArrowCursor);
    m_button->hide();
    connect(m_button, &QToolButton::clicked, this, [this] {
        if (listVisible())
            closeUp(true);
        else
            dropDown();
    });
    connect(this, &QLineEdit::textEdited, this, [this] { m_host.editorTextEdited(); });
}

GridInplaceEdit::~GridInplaceEdit() { delete m_list; }

void GridInplaceEdit::setPickListStyle(bool hasPickList)
{
    m_hasPickList = hasPickList;
    m_button->setVisible(hasPickList);
    setTextMargins(1, 0, hasPickList ? kButtonWidth : 0, 0);
    placeButton();
    if (!hasPickList)
        closeUp(false);
}

void GridInplaceEdit::dropDown()
{
    if (!m_hasPickList || listVisible())
        return;
    if (!m_list) {
        m_list = new GridPickList(this);
        m_list->onAccepted = [this](const QString &entry) {
            if (!m_host.editorCanModify())
                return;
            setText(entry);
            selectAll();
            m_host.editorPickAccepted(entry);
        };
        m_list->onClosed = [this] {
            if (isVisible())
                setFocus(Qt::PopupFocusReason);
        };
    }
    m_list->setFont(font());
    const QRect anchor(mapToGlobal(QPoint(0, 0)), size());
    m_list->popUp(m_host.editorPickList(), m_host.editorPickPreselect(), m_host.editorDropDownRows(), anchor);
}

void GridInplaceEdit::closeUp(bool accept)
{
    if (m_list)
        m_list->closeUp(accept);
}

bool GridInplaceEdit::listVisible() const { return m_list && m_list->isVisible(); }

bool GridInplaceEdit::isNavigationKey(const QKeyEvent *event) const
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Insert:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        return ctrl;
    case Qt::Key_Delete:
        return ctrl;
    // The caret leaves the cell only from its ends.
    case Qt::Key_Left:
        return !ctrl && !hasSelectedText() && cursorPosition() == 0;
    case Qt::Key_Right:
        return !ctrl && !hasSelectedText() && cursorPosition() == text().size();
    default:
        return false;
    }
}

bool GridInplaceEdit::changesText(const QKeyEvent *event) const
{
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut))
        return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier);
}

// Tab and Shift+Tab belong to the grid's rules, not to Qt's focus chain, where the editor
// comes last.
bool GridInplaceEdit::event(QEvent *event)
{
    if (QKeyEvent *tab = gridkeys::focusTabKey(event)) {
        m_host.editorKeyToGrid(tab);
        return true;
    }
    return QLineEdit::event(event);
}

void GridInplaceEdit::keyPressEvent(QKeyEvent *event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (m_hasPickList && alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        if (listVisible())
            closeUp(true);
        else
            dropDown();
        return;
    }
    if (isNavigationKey(event)) {
        m_host.editorKeyToGrid(event);
        return;
    }
    if (changesText(event) && !m_host.editorCanModify()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void GridInplaceEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

void GridInplaceEdit::placeButton()
{
    m_button->setGeometry(width() - kButtonWidth, 0, kButtonWidth, height());
}
