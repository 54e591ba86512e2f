// Cell painting of the data grid: row colours by screen row, the highlight pair, each field
// kind drawn its own way, and the lines of title, indicator and data cells.

#include "controls/TExDBGrid.h"

#include "controls/GridCellContent.h"
#include "controls/GridColumn.h"
#include "controls/GridFieldKind.h"
#include "db/TField.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// The text area: 2 pixels in at the left and the top, and at the right where asked.
QRect textArea(const QRect &cell, bool rightInset) { return cell.adjusted(2, 2, rightInset ? -2 : 0, 0); }

// A grid line, from one pixel to another of the same row or column, both included: the pixels
// a one-pixel pen gives, filled at a fraction of a line's cost (a screen has a thousand).
void drawLine(QPainter &painter, QPoint from, QPoint to, const QColor &color)
{
    painter.fillRect(QRect(from, to), color);
}

} // namespace

void TExDBGrid::paintEvent(QPaintEvent *event)
{
    // A grid coloured like its fixed cells would hide them; it takes the window colour.
    if (!m_colorChecked) {
        m_colorChecked = true;
        if (color() == gridcolor::btnFace() || color() == gridcolor::silver())
            setColor(gridcolor::window());
    }
    TCoreDBGrid::paintEvent(event);
}

bool TExDBGrid::hasVisibleCells() const { return dataLink().active() || m_showTitlesWhenInactive; }

void TExDBGrid::drawDataCell(QPainter &painter, const QRect &rect, int dataCol, TColumn &column, TGridDrawState state)
{
    Q_UNUSED(dataCol);
    const bool selected = state.testFlag(TGridDrawStateFlag::gdSelected);
    const bool focused = state.testFlag(TGridDrawStateFlag::gdFocused);
    const bool fixed = state.testFlag(TGridDrawStateFlag::gdFixed);

    CellAttributes cell;
    cell.font = fixed ? m_lockedFont : column.font();
    cell.fontColor = m_hot && m_hotTrack ? m_hotTrackColor : fontColor();
    cell.background = fixed ? m_lockedColor : cellBrushColor(column, state);
    if (selected && !fixed)
        cell.fontColor = gridcolor::highlightText();
    painter.fillRect(rect, cell.background);
    if (column.fieldName().isEmpty())
        return;

    bool solid = true;   // the cell shows one colour, not a part of the background picture
    if (m_useRowColors && !selected && !fixed) {
        // Colours belong to screen positions: the title row is screen row 0.
        const int screenRow = dataLink().activeRecord() + 1;
        cell.background = screenRow % 2 == 1 ? m_rowColor1 : m_rowColor2;
        painter.fillRect(rect, cell.background);
    } else if (m_useBackground && !selected && !fixed && !m_background.isNull()) {
        // The picture lies behind the whole grid; each cell shows its own part of it.
        painter.drawImage(rect, m_background, rect);
        solid = false;
    }
    if ((focused || selected) && !fixed) {
        cell.background = m_highlightColor;
        cell.fontColor = m_highlightFontColor;
        painter.fillRect(rect, cell.background);
        solid = true;
    }
    if (!selected && !fixed && OnApplyCellAttribute) {
        const QColor before = cell.background;
        OnApplyCellAttribute(*this, column.field(), cell, state);
        if (cell.background != before) {
            painter.fillRect(rect, cell.background);
            solid = true;
        }
    }
    drawFieldContent(painter, rect, column, state, cell, solid);

    if (m_drawFocusRect && !m_cells3D && focused) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect;
        option.backgroundColor = cell.background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TExDBGrid::drawFieldContent(QPainter &painter, const QRect &rect, TColumn &column, TGridDrawState state,
                                 const CellAttributes &cell, bool solid)
{
    const TField *field = column.field();
    if (!field)
        return;
    const bool selected = state.testFlag(TGridDrawStateFlag::gdSelected);
    const bool focused = state.testFlag(TGridDrawStateFlag::gdFocused);
    painter.setFont(cell.font);
    painter.setPen(cell.fontColor);
    const bool ellipsis = m_showTextEllipsis;

    switch (gridFieldKind(field)) {
    case GridFieldKind::Memo:
        if (m_displayMemo)
            gridcell::drawText(painter, textArea(rect, false), field->asString(), Qt::AlignLeft, ellipsis);
        else
            gridcell::drawText(painter, textArea(rect, true), field->displayText(), Qt::AlignHCenter, ellipsis);
        return;
    case GridFieldKind::Boolean:
        if (m_displayBoolean) {
            gridcell::drawCheckBox(painter, rect, !field->isNull() && field->asBoolean(), m_flatCheckBox,
                                   m_flatCheckBoxType, this);
        } else {
            gridcell::drawText(painter, textArea(rect, true), field->displayText(),
                               field->alignment() & Qt::AlignHorizontal_Mask, ellipsis);
        }
        return;
    case GridFieldKind::Date:
        if (m_displayDateTime)
            drawShortText(painter, rect, cell, solid, field->text(), Qt::AlignLeft, false);
        else
            drawShortText(painter, rect, cell, solid, field->displayText(), Qt::AlignHCenter, true);
        return;
    case GridFieldKind::Picture:
        if (m_displayImages) {
            if (focused || selected) {
                painter.fillRect(rect, m_imageHighlightColor);
                painter.setPen(fontColor());
            }
            const QImage picture = gridcell::decodePicture(field->asVariant().toByteArray());
            if (!picture.isNull()) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(gridcell::fitPicture(picture.size(), rect), picture);
                return;
            }
            if (selected) {
                painter.fillRect(rect, m_highlightColor);
                painter.setPen(m_highlightFontColor);
            }
        }
        gridcell::drawText(painter, textArea(rect, true), field->displayText(), Qt::AlignHCenter, ellipsis);
        return;
    case GridFieldKind::Text:
    case GridFieldKind::Number:
        drawShortText(painter, rect, cell, solid, field->displayText(), column.alignment() & Qt::AlignHorizontal_Mask,
                      true);
        return;
    }
}

// Short texts repeat from record to record: over a solid background their cells are copied
// from the picture of the same text drawn before. Memos, mostly each card's own, are drawn.
void TExDBGrid::drawShortText(QPainter &painter, const QRect &rect, const CellAttributes &cell, bool solid,
                              const QString &text, Qt::Alignment alignment, bool rightInset)
{
    if (text.isEmpty())
        return;
    const bool ellipsis = m_showTextEllipsis;
    const auto draw = [&](QPainter &on, const QRect &inCell) {
        gridcell::drawText(on, textArea(inCell, rightInset), text, alignment, ellipsis);
    };
    if (!solid) {
        draw(painter, rect);
        return;
    }
    const int style = int(alignment) | (rightInset ? 1 << 16 : 0) | (ellipsis ? 1 << 17 : 0);
    m_cellPictures.draw(painter, rect, cell.background, text, style, draw);
}

void TExDBGrid::drawTitleText(QPainter &painter, const QRect &rect, TColumn &column)
{
    QFont font = column.title().font();
    if (m_cells3D && m_boldTitles3D)
        font.setBold(true);
    painter.setFont(font);
    painter.setPen(gridcolor::windowText());
    const QRect area = rect.adjusted(2, 2, -2, 0);
    const Qt::Alignment alignment = column.title().alignment() & Qt::AlignHorizontal_Mask;
    const QString caption = column.title().caption();
    if (m_showTitleEllipsis || titleButtons()) {
        // Title buttons shorten their caption to fit, as an ellipsis does.
        painter.drawText(area, int(alignment | Qt::AlignTop | Qt::TextSingleLine),
                         painter.fontMetrics().elidedText(caption, Qt::ElideRight, area.width()));
        return;
    }
    const int flags = m_multiLineTitles ? Qt::TextWordWrap : Qt::TextSingleLine;
    painter.drawText(area, int(alignment | Qt::AlignTop) | flags, caption);
}

void TExDBGrid::drawTopLeftCell(QPainter &painter, const QRect &rect)
{
    TCoreDBGrid::drawTopLeftCell(painter, rect);
    if (!m_titleCheck)
        return;
    QPainterPath triangle;
    triangle.moveTo(rect.right() - 6, rect.bottom() - 1);
    triangle.lineTo(rect.right() - 1, rect.bottom() - 1);
    triangle.lineTo(rect.right() - 1, rect.bottom() - 6);
    triangle.closeSubpath();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(triangle);
    painter.restore();
}

void TExDBGrid::drawGridLines(QPainter &painter, const QRect &cell, bool fixed)
{
    if (m_cells3D) {
        TCoreDBGrid::drawGridLines(painter, cell, fixed);
        return;
    }
    const bool titleButton = fixed && titleButtons() && titleOffset() && cell.top() == 0;
    const bool vertical = hasOption(TDBGridOption::dgColLines) || titleButton;
    const bool horizontal = hasOption(TDBGridOption::dgRowLines) || titleButton;
    const int right = cell.right() + 1;
    const int bottom = cell.bottom() + 1;
    if (!fixed) {
        // Between data cells the lines take the fixed colour.
        if (vertical)
            drawLine(painter, {right, cell.top()}, {right, bottom}, fixedColor());
        if (horizontal)
            drawLine(painter, {cell.left(), bottom}, {right, bottom}, fixedColor());
        return;
    }
    if (vertical)
        drawLine(painter, {right - 1, cell.top()}, {right - 1, bottom - 1}, fixedColor());
    if (horizontal)
        drawLine(painter, {cell.left(), bottom - 1}, {right - 1, bottom - 1}, fixedColor());
    if (vertical)
        drawLine(painter, {right, cell.top()}, {right, bottom}, gridcolor::btnShadow());
    if (horizontal)
        drawLine(painter, {cell.left(), bottom}, {right, bottom}, gridcolor::btnShadow());
}

void TExDBGrid::paintOverlay(QPainter &painter)
{
    TCoreDBGrid::paintOverlay(painter);
    if (!m_drag.pictureShown())
        return;
    // The masked picture lets the titles under it show through, so the drop place stays visible.
    if (m_maskedColumnDrag) {
        painter.save();
        painter.setOpacity(0.85);
        m_drag.paint(painter);
        painter.restore();
    } else {
        m_drag.paint(painter);
    }
}
