#include "controls/TDBMemo.h"

#include "controls/TDBDeferredError.h"
#include "db/DatabaseError.h"
#include "db/TField.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTimer>

TDBMemo::TDBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    m_link.OnDataChange = [this] { dataChange(); };
    m_link.OnUpdateData = [this] { m_link.field()->setAsString(storedText()); };
    connect(document(), &QTextDocument::contentsChanged, this, [this] { userEdited(); });
}

TDBMemo::~TDBMemo()
{
    m_link.OnDataChange = nullptr;
    m_link.setDataSource(nullptr);
}

QString TDBMemo::shownText(const QString &stored)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r"));
    QString shown = stored;
    return shown.replace(lineBreak, QStringLiteral("\n"));
}

QString TDBMemo::storedText() const
{
    return toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void TDBMemo::dataChange()
{
    const TField *field = m_link.field();
    setReadOnly(!m_link.canModify());
    const QString shown = field ? shownText(field->asString()) : QString();
    if (shown == toPlainText())
        return;
    m_loading = true;
    setPlainText(shown);
    m_loading = false;
}

void TDBMemo::userEdited()
{
    if (m_loading)
        return;
    bool pending = false;
    try {
        pending = m_link.userChanged();
    } catch (const ERecordChanged &) {
        QTimer::singleShot(0, this, [this] { showStoredKeepingTyped(); });
        throw;
    } catch (...) {
        refuseChange();
        throw;
    }
    if (!pending)
        refuseChange();
}

// The document is in the middle of the user's change: the field's text comes back after it.
void TDBMemo::refuseChange()
{
    QTimer::singleShot(0, this, [this] { m_link.reset(); });
}

// The stored text replaces what was typed in one undoable step, so Ctrl+Z brings the typed
// text back.
void TDBMemo::showStoredKeepingTyped()
{
    const TField *field = m_link.field();
    m_loading = true;
    QTextCursor all(document());
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.insertText(field ? shownText(field->asString()) : QString());
    all.endEditBlock();
    m_loading = false;
    m_link.reset();
}

void TDBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    try {
        m_link.updateRecord();
    } catch (...) {
        setFocus();
        raiseFromEventLoop(this, std::current_exception());
    }
}
