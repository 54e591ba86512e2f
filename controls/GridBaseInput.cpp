// Keyboard and mouse of the standard grid.

#include "controls/GridBase.h"

#include "controls/GridColumn.h"
#include "controls/WindowWheelHandler.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace {
constexpr int kSizingTolerance = 2;
constexpr int kMinColumnWidth = 4;
constexpr int kWheelNotch = 120;

bool isAppendedRecord(const TDataSet &ds)
{
    return ds.state() == TDataSetState::dsInsert
        && (ds.eof() || ds.buffer(ds.activeRecord()).flag == TBookmarkFlag::bfEOF);
}
} // namespace

TCustomDBGrid::HitInfo TCustomDBGrid::hitTest(const QPoint &pos) const
{
    HitInfo hit;
    const GridGeometry g = cellGeometry();
    hit.gridCol = g.columnAt(pos.x());
    hit.screenRow = g.rowAt(pos.y());
    if (hit.screenRow < 0)
        return hit;
    hit.title = hit.screenRow < titleOffset();
    if (!hit.title)
        hit.dataRow = hit.screenRow - titleOffset();
    if (hit.title && hasOption(TDBGridOption::dgColumnResize)) {
        const int border = g.columnBorderAt(pos.x(), kSizingTolerance);
        if (border >= indicatorOffset()) {
            hit.border = true;
            hit.gridCol = border;
        }
    }
    if (hit.gridCol < 0)
        return hit;
    hit.indicator = hit.gridCol < indicatorOffset();
    if (hit.indicator && !hit.title && rowsSizable())
        hit.rowBorder = g.rowBorderAt(pos.y(), kSizingTolerance);
    if (!hit.indicator)
        hit.dataCol = dataColOf(hit.gridCol);
    return hit;
}

bool TCustomDBGrid::event(QEvent *event)
{
    // Tab belongs to the grid: without dgTabs it leaves the grid, but the derived grids
    // still see it first.
    if (QKeyEvent *tab = gridkeys::focusTabKey(event)) {
        keyPressEvent(tab);
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void TCustomDBGrid::editorKeyToGrid(QKeyEvent *event) { keyPressEvent(event); }

void TCustomDBGrid::keyPressEvent(QKeyEvent *event)
{
    if (!m_link->active()) {
        if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
            focusNeighbour(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    handleNavigationKey(event);
}

void TCustomDBGrid::handleNavigationKey(QKeyEvent *event)
{
    TDataSet *ds = dataSet();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool rowSelect = hasOption(TDBGridOption::dgRowSelect);
    switch (event->key()) {
    case Qt::Key_Up:
        keyUp();
        return;
    case Qt::Key_Down:
        keyDown();
        return;
    case Qt::Key_PageUp:
        commitEditor();
        ds->moveBy(-m_visibleRows);
        return;
    case Qt::Key_PageDown:
        commitEditor();
        ds->moveBy(m_visibleRows);
        return;
    case Qt::Key_Left:
        if (rowSelect)
            setLeftCol(m_leftCol - 1);
        else if (ctrl)
            firstColumn();
        else
            moveColumnBy(-1);
        return;
    case Qt::Key_Right:
        if (rowSelect)
            setLeftCol(m_leftCol + 1);
        else if (ctrl)
            lastColumn();
        else
            moveColumnBy(1);
        return;
    case Qt::Key_Home:
        if (ctrl) {
            commitEditor();
            ds->first();
        } else {
            firstColumn();
        }
        return;
    case Qt::Key_End:
        if (ctrl) {
            commitEditor();
            ds->last();
        } else {
            lastColumn();
        }
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool forward = event->key() == Qt::Key_Tab && !shift;
        if (!hasOption(TDBGridOption::dgTabs)) {
            focusNeighbour(forward);
            return;
        }
        const int before = m_selectedIndex;
        moveColumnBy(forward ? 1 : -1);
        if (m_selectedIndex == before) {
            // From the last column to the next record's first, and back.
            if (forward) {
                keyDown();
                firstColumn();
            } else {
                keyUp();
                lastColumn();
            }
        }
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (hasOption(TDBGridOption::dgAlwaysShowEditor)) {
            commitEditor();
        } else if (editorMode()) {
            commitEditor();
            hideEditor();
        } else {
            showEditor();
        }
        return;
    case Qt::Key_Escape:
        cancelEditing();
        return;
    case Qt::Key_F2:
        showEditor();
        if (editorMode())
            m_editor->end(false);
        return;
    case Qt::Key_Insert:
        if (!ctrl && !shift && canEditGrid()) {
            commitEditor();
            ds->insert();
        }
        return;
    default:
        break;
    }
    typeIntoCell(event);
}

void TCustomDBGrid::keyUp()
{
    TDataSet *ds = dataSet();
    if (ds->state() == TDataSetState::dsInsert && !ds->modified() && !m_editModified && isAppendedRecord(*ds)) {
        ds->cancel();
        return;
    }
    commitEditor();
    ds->prior();
}

void TCustomDBGrid::keyDown()
{
    TDataSet *ds = dataSet();
    if (ds->state() == TDataSetState::dsInsert && !ds->modified() && !m_editModified) {
        if (isAppendedRecord(*ds))
            return;
        ds->cancel();
        return;
    }
    commitEditor();
    ds->next();
    // The one place a record is appended from the keyboard.
    if (ds->eof() && canEditGrid() && autoAppends())
        ds->append();
}

void TCustomDBGrid::typeIntoCell(QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return;
    if (editorMode())
        return;
    const TColumn *column = selectedColumn();
    if (!column || !columnAllowsTextEdit(*column) || hasOption(TDBGridOption::dgRowSelect) || !canEditModify())
        return;
    showEditor();
    if (!editorMode())
        return;
    // The typed character replaces the selected cell text, as in a fresh edit.
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
    QApplication::sendEvent(m_editor, &copy);
}

void TCustomDBGrid::moveToDataRow(int dataRow)
{
    TDataSet *ds = dataSet();
    if (!ds || dataRow < 0 || dataRow >= m_link->recordCount() || dataRow == row())
        return;
    commitEditor();
    ds->moveBy(dataRow - row());
}

void TCustomDBGrid::moveColumnBy(int step)
{
    const int lowest = fixedColCount() - indicatorOffset();
    for (int index = m_selectedIndex + step; index >= lowest && index < m_columns.count(); index += step) {
        if (m_columns.at(index)->visible()) {
            setSelectedIndex(index);
            return;
        }
    }
}

void TCustomDBGrid::firstColumn()
{
    for (int index = fixedColCount() - indicatorOffset(); index < m_columns.count(); ++index) {
        if (m_columns.at(index)->visible()) {
            setSelectedIndex(index);
            return;
        }
    }
}

void TCustomDBGrid::lastColumn()
{
    for (int index = m_columns.count() - 1; index >= fixedColCount() - indicatorOffset(); --index) {
        if (m_columns.at(index)->visible()) {
            setSelectedIndex(index);
            return;
        }
    }
}

// --- mouse -----------------------------------------------------------------------------------

void TCustomDBGrid::beginColumnMove(int gridCol, const QPoint &pos)
{
    m_state = State::Moving;
    m_moveFrom = gridCol;
    m_moveTarget = gridCol;
    m_pressPos = pos;
}

void TCustomDBGrid::mousePressEvent(QMouseEvent *event)
{
    if (!hasFocus() && !ownsWidget(QApplication::focusWidget()))
        setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !m_link->active())
        return;
    const HitInfo hit = hitTest(event->position().toPoint());
    m_pressPos = event->position().toPoint();
    if (hit.title) {
        if (hit.border) {
            m_state = State::Sizing;
            m_sizingCol = hit.gridCol;
            m_sizingOrigin = event->position().toPoint().x();
            m_sizingStartWidth = m_columns.at(dataColOf(hit.gridCol))->width();
            return;
        }
        if (hit.dataCol >= 0) {
            m_titlePressed = true;
            m_titlePressCol = hit.dataCol;
            if (hasOption(TDBGridOption::dgColumnResize) && hit.gridCol >= fixedColCount())
                beginColumnMove(hit.gridCol, m_pressPos);
        }
        return;
    }
    if (hit.rowBorder >= 0) {
        m_state = State::RowSizing;
        m_sizingRow = hit.rowBorder - titleOffset();
        m_sizingOrigin = m_pressPos.y();
        m_sizingStartHeight = cellGeometry().rowHeight(hit.rowBorder);
        return;
    }
    if (hit.dataRow < 0 || hit.dataRow >= m_link->recordCount())
        return;
    const bool sameCell = hit.dataRow == row() && hit.dataCol == m_selectedIndex;
    if (sameCell && !hit.indicator && !hasOption(TDBGridOption::dgRowSelect)) {
        showEditor();
        return;
    }
    // A click on another cell shows it as any cell the grid moves to, without an editor: the
    // editor's text goes to its field first, and a second click or a typed key opens the
    // editor on the chosen cell.
    commitEditor();
    moveToDataRow(hit.dataRow);
    if (hit.dataCol >= 0 && gridColOf(hit.dataCol) >= fixedColCount())
        setSelectedIndex(hit.dataCol);
    if (!hasOption(TDBGridOption::dgAlwaysShowEditor))
        hideEditor();
}

void TCustomDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    switch (m_state) {
    case State::Sizing: {
        const int width = qMax(kMinColumnWidth, m_sizingStartWidth + pos.x() - m_sizingOrigin);
        m_columns.at(dataColOf(m_sizingCol))->setWidth(width);
        return;
    }
    case State::RowSizing: {
        if (m_sizedRows.size() <= size_t(m_sizingRow))
            m_sizedRows.resize(size_t(m_sizingRow) + 1, 0);
        m_sizedRows[size_t(m_sizingRow)] = qMax(1, m_sizingStartHeight + pos.y() - m_sizingOrigin);
        updateRowCount();
        viewport()->update();
        return;
    }
    case State::Moving: {
        const int col = cellGeometry().columnAt(pos.x());
        const int target = col < 0 ? m_moveTarget : qMax(col, fixedColCount());
        if (target != m_moveTarget) {
            m_moveTarget = target;
            viewport()->update();
        }
        return;
    }
    case State::Normal:
        break;
    }
    const HitInfo hit = hitTest(pos);
    viewport()->setCursor(hit.title && hit.border ? Qt::SplitHCursor
                          : hit.rowBorder >= 0        ? Qt::SplitVCursor
                                                      : Qt::ArrowCursor);
}

void TCustomDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const State state = m_state;
    m_state = State::Normal;
    if (state == State::Sizing || state == State::RowSizing) {
        viewport()->update();
        return;
    }
    const HitInfo hit = hitTest(pos);
    if (state == State::Moving) {
        const int from = dataColOf(m_moveFrom);
        const int to = dataColOf(m_moveTarget);
        viewport()->update();
        if (from != to && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            m_titlePressed = false;
            moveColumn(from, to);
            return;
        }
    }
    if (m_titlePressed && event->button() == Qt::LeftButton && hit.title && hit.dataCol == m_titlePressCol
        && OnTitleClick) {
        m_titlePressed = false;
        OnTitleClick(*this, *m_columns.at(hit.dataCol));
    }
    m_titlePressed = false;
}

void TCustomDBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    dblClick(hitTest(event->position().toPoint()));
}

void TCustomDBGrid::dblClick(const HitInfo &hit)
{
    Q_UNUSED(hit);
    if (OnDblClick)
        OnDblClick(*this);
}

void TCustomDBGrid::wheelEvent(QWheelEvent *event)
{
    auto *windowHandler = dynamic_cast<WindowWheelHandler *>(window());
    if (windowHandler && windowHandler->windowWheel(*event)) {
        event->accept();
        return;
    }
    TDataSet *ds = dataSet();
    if (!ds) {
        event->ignore();
        return;
    }
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0) {
        commitEditor();
        ds->moveBy(-notches);
    }
    event->accept();
}
