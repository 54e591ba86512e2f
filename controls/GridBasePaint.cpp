// Painting of the standard grid: background, titles, indicator, data cells and lines.
// Only the rows of the dataset's buffer window are read, one by one.

#include "controls/GridBase.h"

#include "controls/GridColumn.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScopeGuard>

bool TCustomDBGrid::hasVisibleCells() const { return true; }

TGridDrawState TCustomDBGrid::cellState(int gridCol, int dataRow) const
{
    TGridDrawState state;
    if (gridCol < fixedColCount())
        return TGridDrawStateFlag::gdFixed;
    const bool current = m_link->active() && dataRow == row();
    const bool currentCol = gridCol == gridColOf(m_selectedIndex);
    const bool focused = gridHasFocus();
    const bool inSelection = current && (hasOption(TDBGridOption::dgRowSelect) || currentCol);
    // Marked records show as selected even while the grid is not focused.
    if ((inSelection && (focused || hasOption(TDBGridOption::dgAlwaysShowSelection))) || rowMarked(dataRow))
        state |= TGridDrawStateFlag::gdSelected;
    if (current && currentCol && focused)
        state |= TGridDrawStateFlag::gdFocused;
    return state;
}

QColor TCustomDBGrid::cellBrushColor(const TColumn &column, TGridDrawState state) const
{
    return state.testFlag(TGridDrawStateFlag::gdSelected) ? gridcolor::highlight() : column.color();
}

void TCustomDBGrid::paintEvent(QPaintEvent *event)
{
    // The cells' values (memos read on demand among them) are one batch of reads.
    const TDataSet::ReadBatch reads(dataSet());
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, m_color);
    if (!hasVisibleCells())
        return;

    const GridGeometry g = cellGeometry();
    const int width = viewport()->width();
    std::vector<int> shown;
    for (int c = 0; c < g.colCount(); ++c) {
        const int left = g.columnLeft(c);
        if (left >= 0 && left < width)
            shown.push_back(c);
    }

    if (titleOffset()) {
        for (int c : shown) {
            const QRect cell = g.cellRect(c, 0);
            if (!cell.adjusted(0, 0, 1, 1).intersects(exposed))
                continue;
            painter.save();
            painter.setClipRect(cell.adjusted(0, 0, 1, 1));
            if (c < indicatorOffset())
                drawTopLeftCell(painter, cell);
            else
                drawTitleCell(painter, cell, *m_columns.at(dataColOf(c)), TGridDrawStateFlag::gdFixed);
            painter.restore();
            drawGridLines(painter, cell, true);
        }
    }

    if (m_link->active()) {
        m_paintingRow = m_link->activeRecord();
        const auto restoreRow = qScopeGuard([this] { m_paintingRow = -1; });
        ActiveRecordScope guard(*m_link);
        const int rows = qMin(m_link->recordCount(), m_visibleRows);
        for (int r = 0; r < rows; ++r) {
            const int screenRow = r + titleOffset();
            const QRect rowRect(0, g.rowTop(screenRow), width, g.rowHeight(screenRow) + 1);
            if (!rowRect.intersects(exposed))
                continue;
            m_link->setActiveRecord(r);
            for (int c : shown) {
                const QRect cell = g.cellRect(c, screenRow);
                if (!cell.adjusted(0, 0, 1, 1).intersects(exposed))
                    continue;
                painter.save();
                painter.setClipRect(cell);
                if (c < indicatorOffset()) {
                    drawIndicatorCell(painter, cell, r, TGridDrawStateFlag::gdFixed);
                } else {
                    const int dataCol = dataColOf(c);
                    TColumn &column = *m_columns.at(dataCol);
                    const TGridDrawState state = cellState(c, r);
                    // A record another user deleted cannot be read: its cell stays empty, and
                    // the error reaches the user through the next move or read, not every repaint.
                    try {
                        drawDataCell(painter, cell, dataCol, column, state);
                        if (OnDrawColumnCell)
                            OnDrawColumnCell(*this, cell, dataCol, column, state);
                    } catch (const std::exception &) {
                        painter.fillRect(cell, cellBrushColor(column, state));
                    }
                }
                painter.restore();
                drawGridLines(painter, cell, c < indicatorOffset());
            }
        }
    }
    paintOverlay(painter);
}

void TCustomDBGrid::drawDataCell(QPainter &painter, const QRect &rect, int dataCol, TColumn &column,
                                 TGridDrawState state)
{
    Q_UNUSED(dataCol);
    painter.fillRect(rect, cellBrushColor(column, state));
    const TField *field = column.field();
    if (!field)
        return;
    painter.setFont(column.font());
    painter.setPen(state.testFlag(TGridDrawStateFlag::gdSelected) ? gridcolor::highlightText() : m_fontColor);
    painter.drawText(rect.adjusted(2, 2, -2, 0), int(column.alignment() | Qt::AlignTop | Qt::TextSingleLine),
                     field->displayText());
}

void TCustomDBGrid::drawFixedCellFace(QPainter &painter, const QRect &rect, const QColor &color, bool sunken) const
{
    painter.fillRect(rect, color);
    const QColor light = gridcolor::btnHighlight();
    const QColor dark = gridcolor::btnShadow();
    painter.setPen(sunken ? dark : light);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void TCustomDBGrid::drawTitleCell(QPainter &painter, const QRect &rect, TColumn &column, TGridDrawState state)
{
    Q_UNUSED(state);
    drawFixedCellFace(painter, rect, column.title().color(), false);
    drawTitleText(painter, rect, column);
}

void TCustomDBGrid::drawTitleText(QPainter &painter, const QRect &rect, TColumn &column)
{
    painter.setFont(column.title().font());
    painter.setPen(gridcolor::windowText());
    painter.drawText(rect.adjusted(2, 2, -2, 0), int(column.title().alignment() | Qt::AlignTop | Qt::TextSingleLine),
                     column.title().caption());
}

void TCustomDBGrid::drawTopLeftCell(QPainter &painter, const QRect &rect)
{
    drawFixedCellFace(painter, rect, m_fixedColor, false);
}

void TCustomDBGrid::drawIndicatorCell(QPainter &painter, const QRect &rect, int dataRow, TGridDrawState state)
{
    Q_UNUSED(state);
    drawFixedCellFace(painter, rect, m_fixedColor, false);
    drawIndicatorMark(painter, rect, dataRow);
}

void TCustomDBGrid::drawIndicatorMark(QPainter &painter, const QRect &rect, int dataRow) const
{
    const bool current = dataRow == row();
    const bool marked = rowMarked(dataRow);
    if (!current && !marked)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    const QPoint c = rect.center();
    const TDataSetState state = m_link->dataSet() ? m_link->dataSet()->state() : TDataSetState::dsInactive;
    if (current && state == TDataSetState::dsEdit) {
        // An I-beam: the record is being edited.
        painter.drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
        painter.drawLine(c.x() - 2, c.y() - 4, c.x() + 2, c.y() - 4);
        painter.drawLine(c.x() - 2, c.y() + 4, c.x() + 2, c.y() + 4);
    } else if (current && state == TDataSetState::dsInsert) {
        painter.drawLine(c.x() - 3, c.y(), c.x() + 3, c.y());
        painter.drawLine(c.x(), c.y() - 3, c.x(), c.y() + 3);
        painter.drawLine(c.x() - 2, c.y() - 2, c.x() + 2, c.y() + 2);
        painter.drawLine(c.x() - 2, c.y() + 2, c.x() + 2, c.y() - 2);
    } else if (current) {
        QPainterPath arrow;
        arrow.moveTo(c.x() - 2, c.y() - 4);
        arrow.lineTo(c.x() + 2, c.y());
        arrow.lineTo(c.x() - 2, c.y() + 4);
        arrow.closeSubpath();
        painter.drawPath(arrow);
    }
    if (marked && !(current && state != TDataSetState::dsBrowse))
        painter.drawEllipse(QPoint(current ? c.x() - 3 : c.x(), c.y()), 1, 1);
    painter.restore();
}

void TCustomDBGrid::drawGridLines(QPainter &painter, const QRect &cell, bool fixed)
{
    Q_UNUSED(fixed);
    painter.setPen(gridcolor::silver());
    if (hasOption(TDBGridOption::dgColLines))
        painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
    if (hasOption(TDBGridOption::dgRowLines))
        painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
}

void TCustomDBGrid::paintOverlay(QPainter &painter)
{
    if (m_state != State::Moving || m_moveTarget == m_moveFrom)
        return;
    // Where a standard column move would drop: a bar on the target's left edge.
    const GridGeometry g = cellGeometry();
    const QRect target = g.cellRect(m_moveTarget, 0);
    if (target.isEmpty())
        return;
    const int x = m_moveTarget > m_moveFrom ? target.right() : target.left();
    painter.fillRect(QRect(x - 1, 0, 3, viewport()->height()), Qt::black);
}
