#include "controls/TDBEdit.h"

#include "controls/TDBDeferredError.h"
#include "db/DatabaseError.h"
#include "db/TField.h"

#include <QKeyEvent>
#include <QTimer>

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent)
{
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.field()->setText(text()); };
    connect(this, &QLineEdit::textEdited, this, [this] { userEdited(); });
}

TDBEdit::~TDBEdit()
{
    m_link.OnDataChange = nullptr;
    m_link.setDataSource(nullptr);
}

void TDBEdit::dataChange()
{
    const TField *field = m_link.field();
    const QString shown = field ? field->text() : QString();
    setReadOnly(!m_link.canModify());
    // Setting the length sets the text again, which empties the edit's undo: only on a change.
    const int length = field && field->dataType() == TFieldType::ftString && field->size() > 0 ? field->size() : 32767;
    if (maxLength() != length)
        setMaxLength(length);
    if (shown == text())
        return;   // keeps the caret where the user left it
    m_loading = true;
    setText(shown);
    m_loading = false;
}

bool TDBEdit::enterAsTyped(const QString &text)
{
    m_loading = true;
    setText(text);
    m_loading = false;
    return userEdited();
}

bool TDBEdit::userEdited()
{
    if (m_loading)
        return false;
    bool pending = false;
    try {
        pending = m_link.userChanged();
    } catch (const ERecordChanged &) {
        // The edit is in the middle of the user's key: the stored text comes after it.
        QTimer::singleShot(0, this, [this] { showStoredKeepingTyped(); });
        throw;
    } catch (...) {
        m_link.reset();
        throw;
    }
    if (!pending)
        m_link.reset();
    return pending;
}

// The stored text replaces what was typed as one more change of the edit's own, so Ctrl+Z
// brings the typed text back.
void TDBEdit::showStoredKeepingTyped()
{
    const TField *field = m_link.field();
    m_loading = true;
    selectAll();
    insert(field ? field->text() : QString());
    m_loading = false;
    m_link.reset();
}

void TDBEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link.isModified()) {
        m_link.reset();
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    try {
        m_link.updateRecord();
    } catch (...) {
        setFocus();
        raiseFromEventLoop(this, std::current_exception());
    }
}
