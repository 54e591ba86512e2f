#include "controls/GridOwnEditors.h"

#include <QKeyEvent>

GridDateEditor::GridDateEditor(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setFrame(false);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    hide();
}

bool GridDateEditor::event(QEvent *event)
{
    // Tab is the picker's own accept key, not a move to the next control.
    if (gridkeys::focusTabKey(event)) {
        finish(true);
        return true;
    }
    return QDateEdit::event(event);
}

void GridDateEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        finish(true);
        return;
    case Qt::Key_Escape:
        finish(false);
        return;
    default:
        QDateEdit::keyPressEvent(event);
    }
}

void GridDateEditor::focusOutEvent(QFocusEvent *event)
{
    QDateEdit::focusOutEvent(event);
    // The calendar pop-up takes the focus without leaving the picker.
    if (event->reason() != Qt::PopupFocusReason && isVisible())
        finish(false);
}

void GridDateEditor::finish(bool accept)
{
    if (m_finishing)
        return;
    m_finishing = true;
    const QDate picked = date();
    hide();
    if (accept && onAccept)
        onAccept(picked);
    else if (!accept && onCancel)
        onCancel();
    m_finishing = false;
}

GridMemoEditor::GridMemoEditor(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::Box);
    setTabChangesFocus(true);
    hide();
}

void GridMemoEditor::configure(TMemoInplaceEditor kind, TMemoViewType view)
{
    setAcceptRichText(kind == TMemoInplaceEditor::RichEdit);
    if (view == TMemoViewType::WordWrapOn) {
        setLineWrapMode(QTextEdit::WidgetWidth);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        setLineWrapMode(QTextEdit::NoWrap);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
}

void GridMemoEditor::open(const QString &text, bool selectAll)
{
    setPlainText(text);
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::End);
    if (selectAll)
        cursor.movePosition(QTextCursor::Start, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

// Tab and Shift+Tab are the grid's keys, as in the text editor.
bool GridMemoEditor::event(QEvent *event)
{
    if (QKeyEvent *tab = gridkeys::focusTabKey(event); tab && onKeyToGrid) {
        onKeyToGrid(tab);
        return true;
    }
    return QTextEdit::event(event);
}

void GridMemoEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        m_closing = true;
        hide();
        m_closing = false;
        if (onCancel)
            onCancel();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void GridMemoEditor::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    if (m_closing || !isVisible() || event->reason() == Qt::PopupFocusReason)
        return;
    hide();
    if (onLeave)
        onLeave(toPlainText());
}
