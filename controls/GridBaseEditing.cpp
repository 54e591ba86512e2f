// In-place text editing of the standard grid: when the editor may show, where it sits,
// and how its text reaches the field.

#include "controls/GridBase.h"

#include "controls/GridColumn.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QFocusEvent>
#include <QScopedValueRollback>

bool TCustomDBGrid::canEditGrid() const
{
    const TDataSet *ds = dataSet();
    return hasOption(TDBGridOption::dgEditing) && ds && !m_readOnly && !m_link->readOnly() && ds->canModify();
}

bool TCustomDBGrid::columnAllowsTextEdit(const TColumn &column) const
{
    return column.field() && !column.readOnly();
}

bool TCustomDBGrid::canEditModify()
{
    if (!canEditGrid())
        return false;
    const TColumn *column = selectedColumn();
    TField *field = selectedField();
    if (!column || !field || column->readOnly() || !field->canModify())
        return false;
    m_link->edit();
    return m_link->editing();
}

bool TCustomDBGrid::editorMode() const { return m_editor && !m_editor->isHidden(); }

void TCustomDBGrid::showEditor()
{
    const TColumn *column = selectedColumn();
    if (!canEditGrid() || hasOption(TDBGridOption::dgRowSelect) || !column || !columnAllowsTextEdit(*column))
        return;
    if (!m_editor)
        m_editor = new GridInplaceEdit(*this, viewport());
    const bool wasShown = editorMode();
    m_editor->show();
    updateEditor();
    if (!wasShown)
        m_editor->selectAll();
    if (isVisible())
        m_editor->setFocus(Qt::OtherFocusReason);
}

void TCustomDBGrid::hideEditor()
{
    if (!editorMode())
        return;
    const bool hadFocus = m_editor->hasFocus();
    m_editor->closeUp(false);
    // The grid takes the focus before its editor goes: hiding a focused widget hands the
    // focus to the window's next control, and the grid would be left and entered again.
    if (hadFocus) {
        const QScopedValueRollback closing(m_closingEditor, true);
        setFocus(Qt::OtherFocusReason);
    }
    m_editor->hide();
    viewport()->update();
}

// An open editor keeps the focus: the keys typed next belong to the cell it shows. Focus that
// reaches the grid itself (a click beside the editor, which Qt hands to the grid before the
// grid sees the press) goes on to the editor.
void TCustomDBGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (editorMode() && !m_closingEditor)
        m_editor->setFocus(event->reason());
}

void TCustomDBGrid::updateEditor()
{
    if (!editorMode())
        return;
    const TColumn *column = selectedColumn();
    TField *field = selectedField();
    const QRect cell = cellRect(gridColOf(m_selectedIndex), row() + titleOffset());
    if (!column || !field || cell.isEmpty() || !columnAllowsTextEdit(*column)) {
        hideEditor();
        return;
    }
    m_editor->setGeometry(cell);
    m_editor->setFont(column->font());
    m_editor->setAlignment(column->alignment() | Qt::AlignVCenter);
    m_editor->setPickListStyle(!column->pickList().isEmpty());
    if (!m_editModified) {
        const QString text = field->text();
        if (m_editor->text() != text) {
            m_settingEditorText = true;
            m_editor->setText(text);
            m_settingEditorText = false;
        }
    }
}

void TCustomDBGrid::commitEditor()
{
    if (!m_editModified || !m_editor)
        return;
    TField *field = selectedField();
    if (!field)
        return;
    // Cleared first: writing the field notifies the link, which must not reload the editor.
    m_editModified = false;
    try {
        field->setText(m_editor->text());
    } catch (...) {
        m_editModified = true;
        throw;
    }
}

void TCustomDBGrid::cancelEditing()
{
    TDataSet *ds = dataSet();
    if (m_editModified) {
        m_editModified = false;
        updateEditor();
    } else if (ds && (ds->state() == TDataSetState::dsEdit || ds->state() == TDataSetState::dsInsert)) {
        ds->cancel();
    }
    if (!hasOption(TDBGridOption::dgAlwaysShowEditor))
        hideEditor();
}

void TCustomDBGrid::editorTextEdited()
{
    if (!m_settingEditorText)
        m_editModified = true;
}

void TCustomDBGrid::editorPickAccepted(const QString &entry)
{
    Q_UNUSED(entry);
    m_editModified = true;
    commitEditor();
}

QStringList TCustomDBGrid::editorPickList() const
{
    const TColumn *column = selectedColumn();
    return column ? column->pickList() : QStringList();
}

int TCustomDBGrid::editorDropDownRows() const
{
    const TColumn *column = selectedColumn();
    return column ? column->dropDownRows() : 7;
}

int TCustomDBGrid::editorPickPreselect() const
{
    const TField *field = selectedField();
    if (!field || field->isNull())
        return -1;
    return int(editorPickList().indexOf(field->text()));
}
