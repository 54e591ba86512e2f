#include "controls/TDBEdit.h"

#include "controls/TDBDeferredError.h"
#include "db/TField.h"

#include <QKeyEvent>

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
    setMaxLength(field && field->dataType() == TFieldType::ftString && field->size() > 0 ? field->size() : 32767);
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
    } catch (...) {
        m_link.reset();
        throw;
    }
    if (!pending)
        m_link.reset();
    return pending;
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
