// Keys and mouse of the data grid: clipboard keys, the own editors' keys, the auto-append
// rules at the end of the data, column dragging, Boolean toggles and double clicks.

#include "controls/TExDBGrid.h"

#include "controls/GridColumn.h"
#include "controls/GridFieldKind.h"
#include "controls/GridOptionsMenu.h"
#include "controls/GridOwnEditors.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <exception>

namespace {

bool isNavigationForAppend(int key)
{
    return key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
}

bool pendingChange(const TDataSet &ds)
{
    return ds.state() == TDataSetState::dsEdit || ds.state() == TDataSetState::dsInsert;
}

} // namespace

bool TExDBGrid::atEndOfData() const
{
    const TDataSet *ds = dataSet();
    if (!ds)
        return false;
    return ds->eof()
        || (ds->state() == TDataSetState::dsInsert && ds->buffer(ds->activeRecord()).flag == TBookmarkFlag::bfEOF);
}

void TExDBGrid::keyPressEvent(QKeyEvent *event)
{
    TDataSet *ds = dataSet();
    const bool editable = ds && !readOnly() && !dataLink().readOnly();
    if (!editable) {
        TCoreDBGrid::keyPressEvent(event);
        return;
    }
    if (handleClipboardKey(event))
        return;
    if (m_enterAsTab && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, event->modifiers() & ~Qt::KeypadModifier);
        keyPressEvent(&tab);
        return;
    }
    if (handleOwnEditorKey(event))
        return;

    const int key = event->key();
    const bool rowKey = isNavigationForAppend(key) && !(event->modifiers() & Qt::ShiftModifier);
    if (!m_allowAutoAppend && rowKey && atEndOfData()) {
        if (ds->state() == TDataSetState::dsInsert)
            ds->cancel();
        setOption(TDBGridOption::dgCancelOnExit, true);
        return;
    }
    TCoreDBGrid::keyPressEvent(event);
    // The handlers above may have closed the dataset.
    if (dataSet())
        afterNavigationKey(key);
}

void TExDBGrid::afterNavigationKey(int key)
{
    TDataSet *ds = dataSet();
    if (isNavigationForAppend(key)) {
        // A record appended at the end must survive leaving the grid.
        if (m_allowAutoAppend && atEndOfData() && hasOption(TDBGridOption::dgCancelOnExit))
            setOption(TDBGridOption::dgCancelOnExit, false);
    } else if (key == Qt::Key_Up && m_allowAutoAppend) {
        setOption(TDBGridOption::dgCancelOnExit, true);
        if (pendingChange(*ds))
            ds->cancel();
    }
    if (!m_useRowColors)
        return;
    const int lastRow = visibleRowCount() - (m_allowAutoAppend ? 1 : 2);
    if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && row() >= lastRow)
        invalidateGrid();
    else if ((key == Qt::Key_Up || key == Qt::Key_PageUp) && row() == 0)
        invalidateGrid();
}

bool TExDBGrid::handleClipboardKey(QKeyEvent *event)
{
    if (event->modifiers() != Qt::ControlModifier || (event->key() != Qt::Key_C && event->key() != Qt::Key_V))
        return false;
    TField *field = selectedField();
    TDataSet *ds = dataSet();
    if (event->key() == Qt::Key_C) {
        if (field)
            QApplication::clipboard()->setText(field->text());
        return true;
    }
    if (field && ds && pendingChange(*ds))
        field->setText(QApplication::clipboard()->text());
    else
        beep();
    return true;
}

bool TExDBGrid::handleOwnEditorKey(QKeyEvent *event)
{
    const int key = event->key();
    if (hasOption(TDBGridOption::dgRowSelect))
        return false;
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier));
    if (plain && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2)
        && opensOwnEditorByKey(selectedField())) {
        openOwnEditor(key == Qt::Key_F2);
        return true;
    }
    // Space reaching the grid never types a blank into the cell: a text cell keeps its value,
    // and the Enter that follows cannot store a blank the user never saw typed. Inside an
    // open editor Space is the editor's own and never gets here.
    return key == Qt::Key_Space && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// --- mouse ---------------------------------------------------------------------------------------

QMenu *TExDBGrid::popupMenu() const { return m_popupMenu; }

void TExDBGrid::setPopupMenu(QMenu *menu) { m_popupMenu = menu; }

// A press that fails (a refused post, a date that does not read) is dropped: the record stays
// where it was, the editor keeps the user's text and the next press can try again.
void TExDBGrid::mousePressEvent(QMouseEvent *event)
{
    try {
        press(event);
    } catch (const std::exception &) {
    }
}

void TExDBGrid::press(QMouseEvent *event)
{
    // An open cell editor keeps the focus it has; the press itself decides whether it stays.
    const GridInplaceEdit *editor = inplaceEditor();
    if ((event->button() == Qt::LeftButton || event->button() == Qt::RightButton) && !(editor && editor->hasFocus()))
        setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const HitInfo hit = hitTest(pos);
    if (event->button() == Qt::RightButton) {
        if (OnRightClick)
            OnRightClick(*this);
        else if (m_popupMenu)
            m_popupMenu->popup(viewport()->mapToGlobal(pos));
        TCoreDBGrid::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (hit.title && hit.indicator && popupOptionsMenu(viewport()->mapToGlobal(pos)))
        return;
    if (dragsColumns() && dataLink().active() && hit.title && hit.dataCol >= 0 && !hit.border
        && hit.gridCol >= fixedColCount()) {
        m_drag.press(hit.gridCol, pos);
        return;
    }
    if (hit.title && hit.border) {
        m_sizingColumn = hit.dataCol;
        m_sizingWidthBefore = columns().at(hit.dataCol)->width();
    }
    const bool sameCell = hit.dataRow >= 0 && hit.dataRow == row() && hit.dataCol == selectedIndex();
    TCoreDBGrid::mousePressEvent(event);

    const bool onCurrent = hit.dataRow >= 0 && hit.dataRow == row() && hit.dataCol >= 0 && hit.dataCol == selectedIndex();
    if (!onCurrent || !canEditGrid() || hasOption(TDBGridOption::dgRowSelect))
        return;
    const TField *field = selectedField();
    if (!field)
        return;
    const GridFieldKind kind = gridFieldKind(field);
    if (kind == GridFieldKind::Boolean && m_displayBoolean)
        toggleBoolean();
    else if (sameCell && kind == GridFieldKind::Date && m_displayDateTime)
        openOwnEditor(false);
}

void TExDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag.move(event->position().toPoint()))
        return;
    TCoreDBGrid::mouseMoveEvent(event);
}

void TExDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_drag.release(event->position().toPoint()))
        return;
    TCoreDBGrid::mouseReleaseEvent(event);
    if (m_sizingColumn >= 0) {
        const int column = m_sizingColumn;
        m_sizingColumn = -1;
        if (columns().at(column) && columns().at(column)->width() != m_sizingWidthBefore && OnColumnWidthChanged)
            OnColumnWidthChanged(*this, column);
    }
}

void TExDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // In a grid that drags columns the second press on a title starts a drag again.
    const HitInfo hit = hitTest(event->position().toPoint());
    if (event->button() == Qt::LeftButton && dragsColumns() && hit.title) {
        mousePressEvent(event);
        return;
    }
    TCoreDBGrid::mouseDoubleClickEvent(event);
}

void TExDBGrid::dblClick(const HitInfo &hit)
{
    const TField *field = selectedField();
    const bool onCurrent = hit.dataRow >= 0 && hit.dataRow == row() && hit.dataCol == selectedIndex();
    const GridFieldKind kind = gridFieldKind(field);
    if (onCurrent && m_displayPopupEditors && canEditGrid() && (kind == GridFieldKind::Memo || kind == GridFieldKind::Picture))
        showViewer();
    TCoreDBGrid::dblClick(hit);
}

bool TExDBGrid::popupOptionsMenu(const QPoint &globalPos)
{
    if (!m_titleCheck || !hasOption(TDBGridOption::dgTitles) || !hasOption(TDBGridOption::dgIndicator)
        || !dataLink().active())
        return false;
    m_menu->popup(globalPos);
    return true;
}
