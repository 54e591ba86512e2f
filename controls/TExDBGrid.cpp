#include "controls/TExDBGrid.h"

#include "controls/GridCellContent.h"
#include "controls/GridColumn.h"
#include "controls/GridFieldKind.h"
#include "controls/GridOptionsMenu.h"
#include "controls/GridOwnEditors.h"
#include "controls/GridViewerDialog.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QEnterEvent>
#include <QPainter>
#include <QScrollBar>
#include <QScopeGuard>
#include <QToolTip>

namespace {

constexpr int kFormRowHeight = 17;
constexpr int kMemoEditorLines = 4;

bool isMemo(const TField *field) { return gridFieldKind(field) == GridFieldKind::Memo; }

} // namespace

TExDBGrid::TExDBGrid(QWidget *parent) : TCoreDBGrid(parent), m_drag(*this)
{
    m_rowColor1 = gridcolor::fromBgr(12255087);
    m_rowColor2 = gridcolor::window();
    m_highlightColor = gridcolor::navy();
    m_highlightFontColor = gridcolor::white();
    m_imageHighlightColor = gridcolor::window();
    m_hotTrackColor = gridcolor::navy();
    m_editColor = gridcolor::window();
    m_lockedColor = gridcolor::gray();
    m_lockedFont = font();
    m_menu = std::make_unique<GridOptionsMenu>(*this);
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this] { showScrollHint(); });
}

TExDBGrid::~TExDBGrid() { m_drag.cancel(); }

// --- properties with side effects --------------------------------------------------------------

void TExDBGrid::setDisplayMemo(bool on)
{
    m_displayMemo = on;
    hideOwnEditors();
    viewport()->update();
}

void TExDBGrid::setDisplayDateTime(bool on)
{
    m_displayDateTime = on;
    hideOwnEditors();
    colEnter();
    viewport()->update();
}

void TExDBGrid::setDisplayBoolean(bool on) { setAndRepaint(m_displayBoolean, on); }

void TExDBGrid::setDisplayImages(bool on) { setAndRepaint(m_displayImages, on); }

void TExDBGrid::setFullSizeMemo(bool on)
{
    m_fullSizeMemo = on;
    if (m_gridAutoSize)
        applyAutoSize();
}

void TExDBGrid::setMultiLineTitles(bool on)
{
    m_multiLineTitles = on;
    if (!on && titleRowHeight() != kFormRowHeight)
        setTitleRowHeight(kFormRowHeight);
    updateLayout();
}

void TExDBGrid::setMultiLineRows(bool on)
{
    m_multiLineRows = on;
    setDefaultRowHeight(on ? kFormRowHeight * m_linesPerRow : kFormRowHeight);
}

void TExDBGrid::setLinesPerRow(int lines)
{
    m_linesPerRow = qMax(1, lines);
    if (m_multiLineRows)
        setDefaultRowHeight(kFormRowHeight * m_linesPerRow);
}

void TExDBGrid::setGridAutoSize(bool on)
{
    m_gridAutoSize = on;
    if (on)
        applyAutoSize();
}

void TExDBGrid::setGridAutoWidth(bool on)
{
    m_gridAutoWidth = on;
    if (on)
        applyAutoWidth();
}

void TExDBGrid::setGridAutoWidthDisplay(TGridAutoWidthDisplay d)
{
    m_autoWidthDisplay = d;
    if (m_gridAutoWidth)
        applyAutoWidth();
}

bool TExDBGrid::dragsColumns() const
{
    return !titleButtons() && !m_searchMode && hasOption(TDBGridOption::dgColumnResize);
}

// --- row heights -------------------------------------------------------------------------------

void TExDBGrid::layoutRowHeights()
{
    if (!hasOption(TDBGridOption::dgTitles))
        return;
    if (!m_multiLineTitles) {
        TCoreDBGrid::layoutRowHeights();
        return;
    }
    int tallest = 0;
    for (int i = 0; i < columns().count(); ++i) {
        const TColumn &column = *columns().at(i);
        if (!column.visible())
            continue;
        const QRect bounds(0, 0, qMax(1, column.width() - 4), 10000);
        tallest = qMax(tallest, QFontMetrics(column.title().font())
                                    .boundingRect(bounds, Qt::TextWordWrap, column.title().caption())
                                    .height());
    }
    const int lines = hasOption(TDBGridOption::dgRowLines) ? 3 : 2;
    setTitleRowHeight(qMax(kFormRowHeight, tallest + lines));
}

void TExDBGrid::changeEvent(QEvent *event)
{
    TCoreDBGrid::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        const int height = QFontMetrics(font()).height();
        if (height > kFormRowHeight)
            setDefaultRowHeight(height);
    }
}

// --- columns -----------------------------------------------------------------------------------

bool TExDBGrid::hasOwnEditor(const TField *field) const
{
    switch (gridFieldKind(field)) {
    case GridFieldKind::Boolean:
    case GridFieldKind::Picture:
    case GridFieldKind::Memo:
        return true;
    case GridFieldKind::Date:
        return m_displayDateTime;
    case GridFieldKind::Text:
    case GridFieldKind::Number:
        break;
    }
    return false;
}

bool TExDBGrid::opensOwnEditorByKey(const TField *field) const
{
    const GridFieldKind kind = gridFieldKind(field);
    return field && (kind == GridFieldKind::Memo || (kind == GridFieldKind::Date && m_displayDateTime));
}

bool TExDBGrid::columnAllowsTextEdit(const TColumn &column) const
{
    return TCoreDBGrid::columnAllowsTextEdit(column) && !hasOwnEditor(column.field());
}

void TExDBGrid::colEnter()
{
    hideOwnEditors();
    const TColumn *column = selectedColumn();
    if (column && !columnAllowsTextEdit(*column))
        hideEditor();
    TCoreDBGrid::colEnter();
}

void TExDBGrid::columnMovedByUser(int fromIndex, int toIndex)
{
    TCoreDBGrid::columnMovedByUser(fromIndex, toIndex);
    // As a click on the horizontal bar's left arrow does.
    dragScrollBy(-1);
}

void TExDBGrid::linkActiveChanged()
{
    hideOwnEditors();
    TCoreDBGrid::linkActiveChanged();
    adoptSizedRowHeight();
    if (dataLink().active()) {
        if (m_gridAutoSize)
            applyAutoSize();
        if (m_gridAutoWidth)
            applyAutoWidth();
    }
}

void TExDBGrid::linkDataSetScrolled(int distance)
{
    hideOwnEditors();
    TCoreDBGrid::linkDataSetScrolled(distance);
}

void TExDBGrid::gridExit()
{
    m_drag.cancel();
    TCoreDBGrid::gridExit();
}

void TExDBGrid::resizeEvent(QResizeEvent *event)
{
    TCoreDBGrid::resizeEvent(event);
    if (m_gridAutoSize)
        applyAutoSize();
    if (m_gridAutoWidth)
        applyAutoWidth();
    viewport()->update();
}

void TExDBGrid::applyAutoSize()
{
    TDataSet *ds = dataSet();
    if (!ds || columns().count() == 0)
        return;
    std::vector<int> widest(size_t(columns().count()), 0);
    for (int i = 0; i < columns().count(); ++i) {
        const TColumn &column = *columns().at(i);
        widest[size_t(i)] = QFontMetrics(column.title().font()).horizontalAdvance(column.title().caption()) + 4;
    }
    const TBookmark bookmark = ds->getBookmark();
    ds->disableControls();
    try {
        for (ds->first(); !ds->eof(); ds->next()) {
            for (int i = 0; i < columns().count(); ++i) {
                const TColumn &column = *columns().at(i);
                const TField *field = column.field();
                if (!field)
                    continue;
                QString text = isMemo(field) && m_displayMemo
                    ? gridcell::normaliseLineBreaks(field->asString()).section(QLatin1Char('\n'), 0, m_fullSizeMemo ? -1 : 0)
                    : field->displayText();
                text.replace(QLatin1Char('\n'), QLatin1Char(' '));
                widest[size_t(i)] = qMax(widest[size_t(i)], QFontMetrics(column.font()).horizontalAdvance(text) + 4);
            }
        }
        if (!bookmark.isEmpty() && ds->bookmarkValid(bookmark))
            ds->gotoBookmark(bookmark);
    } catch (...) {
        ds->enableControls();
        throw;
    }
    ds->enableControls();
    columns().beginUpdate();
    for (int i = 0; i < columns().count(); ++i)
        columns().at(i)->setWidth(widest[size_t(i)]);
    columns().endUpdate();
}

void TExDBGrid::applyAutoWidth()
{
    std::vector<TColumn *> shown;
    int total = 0;
    for (int i = lockedCols(); i < columns().count(); ++i) {
        if (columns().at(i)->visible()) {
            shown.push_back(columns().at(i));
            total += columns().at(i)->width();
        }
    }
    if (shown.empty())
        return;
    const int line = hasOption(TDBGridOption::dgColLines) ? 1 : 0;
    const int space = viewport()->width() - cellGeometry().fixedWidth() - int(shown.size()) * line;
    if (space <= int(shown.size()))
        return;
    columns().beginUpdate();
    int used = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        int width;
        if (i + 1 == shown.size())
            width = space - used;   // the last column takes the remainder
        else if (m_autoWidthDisplay == TGridAutoWidthDisplay::Uniform || total <= 0)
            width = space / int(shown.size());
        else
            width = int(qint64(shown[i]->width()) * space / total);
        shown[i]->setWidth(qMax(1, width));
        used += width;
    }
    columns().endUpdate();
}

// --- own editors -------------------------------------------------------------------------------

bool TExDBGrid::ownEditorOpen() const
{
    return (m_datePicker && m_datePicker->isVisible()) || (m_memoEditor && m_memoEditor->isVisible());
}

void TExDBGrid::hideOwnEditors()
{
    const bool hadFocus = (m_datePicker && m_datePicker->hasFocus()) || (m_memoEditor && m_memoEditor->hasFocus());
    if (m_datePicker)
        m_datePicker->hide();
    if (m_memoEditor)
        m_memoEditor->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

void TExDBGrid::placeOwnEditor(QWidget *editor, int minHeight) const
{
    QRect cell = cellRect(gridColOf(selectedIndex()), row() + titleOffset());
    cell.setHeight(qMax(cell.height(), minHeight));
    if (cell.bottom() > viewport()->height())
        cell.moveBottom(viewport()->height() - 1);
    editor->setGeometry(cell);
}

void TExDBGrid::openOwnEditor(bool caretAtEnd)
{
    TField *field = selectedField();
    if (!field || !canEditGrid() || hasOption(TDBGridOption::dgRowSelect))
        return;
    if (gridFieldKind(field) == GridFieldKind::Date && m_displayDateTime) {
        if (!m_datePicker) {
            m_datePicker = new GridDateEditor(viewport());
            m_datePicker->onAccept = [this](const QDate &date) { writePickedDate(date); };
            m_datePicker->onCancel = [this] { cancelOwnEdit(); };
        }
        const QDateTime value = field->isNull() ? QDateTime() : field->asDateTime();
        m_datePicker->setDate(value.isValid() ? value.date() : QDate::currentDate());
        m_datePicker->setStyleSheet(QStringLiteral("background-color: %1").arg(m_editColor.name()));
        placeOwnEditor(m_datePicker, defaultRowHeight());
        m_datePicker->show();
        m_datePicker->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (isMemo(field)) {
        if (!m_memoEditor) {
            m_memoEditor = new GridMemoEditor(viewport());
            m_memoEditor->onLeave = [this](const QString &text) { writeMemoText(text); };
            m_memoEditor->onCancel = [this] { cancelOwnEdit(); };
            m_memoEditor->onKeyToGrid = [this](QKeyEvent *key) {
                saveOpenMemoEditor();
                keyPressEvent(key);
            };
        }
        m_memoEditor->configure(m_memoEditorKind, m_memoViewType);
        placeOwnEditor(m_memoEditor, defaultRowHeight() * kMemoEditorLines);
        m_memoEditor->open(field->asString(), !caretAtEnd);
    }
}

void TExDBGrid::writeMemoText(const QString &text)
{
    TField *current = selectedField();
    if (current && isMemo(current) && text != current->asString() && canEditModify())
        current->setAsString(text);
}

// The wheel, a navigator or a post may act while the memo editor is still open: its text
// reaches the field before the record moves or is written, not at a focus-out that comes
// too late.
void TExDBGrid::saveOpenMemoEditor()
{
    if (!m_memoEditor || !m_memoEditor->isVisible() || m_savingMemo)
        return;
    m_savingMemo = true;
    const auto done = qScopeGuard([this] { m_savingMemo = false; });
    writeMemoText(m_memoEditor->toPlainText());
}

void TExDBGrid::linkCheckBrowseMode()
{
    saveOpenMemoEditor();
    TCoreDBGrid::linkCheckBrowseMode();
}

void TExDBGrid::linkUpdateData()
{
    saveOpenMemoEditor();
    TCoreDBGrid::linkUpdateData();
}

void TExDBGrid::writePickedDate(const QDate &date)
{
    setFocus(Qt::OtherFocusReason);
    TField *field = selectedField();
    if (!field || !canEditModify())
        return;
    field->setAsDateTime(QDateTime(date, QTime(0, 0)));
    if (TDataSet *ds = dataSet())
        ds->post();
}

void TExDBGrid::cancelOwnEdit()
{
    setFocus(Qt::OtherFocusReason);
    TDataSet *ds = dataSet();
    if (ds && (ds->state() == TDataSetState::dsEdit || ds->state() == TDataSetState::dsInsert))
        ds->cancel();
}

void TExDBGrid::toggleBoolean()
{
    TField *field = selectedField();
    if (gridFieldKind(field) != GridFieldKind::Boolean || !canEditModify())
        return;
    try {
        field->setAsBoolean(!field->asBoolean());
    } catch (const std::exception &) {
        field->clear();
    }
}

void TExDBGrid::showViewer()
{
    TField *field = selectedField();
    if (!field)
        return;
    if (isMemo(field)) {
        GridViewerDialog viewer(this, field->displayLabel(), field->asString(), canEditGrid());
        if (viewer.exec() == QDialog::Accepted && viewer.text() != field->asString() && canEditModify())
            field->setAsString(viewer.text());
        return;
    }
    if (gridFieldKind(field) == GridFieldKind::Picture) {
        const QImage picture = gridcell::decodePicture(field->asVariant().toByteArray());
        if (picture.isNull())
            return;
        GridViewerDialog viewer(this, field->displayLabel(), picture);
        viewer.exec();
    }
}

// --- the column drag's host ---------------------------------------------------------------------

QRect TExDBGrid::dragClientRect() const { return viewport()->rect(); }

QPixmap TExDBGrid::dragPicture(int gridCol) const
{
    const TColumn *column = columns().at(dataColOf(gridCol));
    if (!column)
        return {};
    const QSize size(qMax(1, column->width()), titleRowHeight());
    QPixmap picture(size);
    picture.fill(column->title().color());
    QPainter painter(&picture);
    const QRect frame(QPoint(0, 0), size - QSize(1, 1));
    painter.setPen(gridcolor::btnShadow());
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(gridcolor::btnHighlight());
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    painter.setFont(column->title().font());
    painter.setPen(gridcolor::windowText());
    const Qt::Alignment alignment = column->title().alignment() & Qt::AlignHorizontal_Mask;
    const QRect text = QRect(QPoint(0, 0), size).adjusted(alignment == Qt::AlignRight ? 0 : 3, 2, -2, 0);
    painter.drawText(text, int(alignment | Qt::AlignTop | Qt::TextSingleLine), column->title().caption());
    return picture;
}

void TExDBGrid::dragScrollBy(int step)
{
    const GridGeometry g = cellGeometry();
    for (int col = leftCol() + step; col >= fixedColCount() && col < g.colCount(); col += step) {
        if (g.metrics().colWidths[size_t(col)] > 0) {
            setLeftCol(col);
            return;
        }
    }
}

void TExDBGrid::dragDrop(int fromGridCol, int toGridCol)
{
    const int dragged = dataColOf(fromGridCol);
    const int current = selectedIndex();
    moveColumn(dragged, dataColOf(toGridCol));
    setLockedCols(lockedCols());
    if (dragged != current)
        setSelectedIndex(current);
}

void TExDBGrid::dragShowPointer(bool shown) { viewport()->setCursor(shown ? Qt::ArrowCursor : Qt::BlankCursor); }

// --- hints and hot tracking -----------------------------------------------------------------------

void TExDBGrid::enterEvent(QEnterEvent *event)
{
    TCoreDBGrid::enterEvent(event);
    if (m_hotTrack) {
        m_hot = true;
        viewport()->update();
    }
}

void TExDBGrid::leaveEvent(QEvent *event)
{
    TCoreDBGrid::leaveEvent(event);
    if (m_hot) {
        m_hot = false;
        viewport()->update();
    }
}

bool TExDBGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && m_cellHints) {
        showCellHint(static_cast<QHelpEvent *>(event)->pos());
        return true;
    }
    return TCoreDBGrid::viewportEvent(event);
}

void TExDBGrid::showCellHint(const QPoint &pos)
{
    const HitInfo hit = hitTest(pos);
    if (hit.dataRow < 0 || hit.dataCol < 0 || hit.dataRow >= dataLink().recordCount()) {
        QToolTip::hideText();
        return;
    }
    const TColumn &column = *columns().at(hit.dataCol);
    const TField *field = column.field();
    if (!field)
        return;
    // The hovered row is read in place; the record the user edits stays current, and a row
    // that cannot be read has no hint.
    QString text;
    try {
        const ActiveRecordScope scope(dataLink());
        dataLink().setActiveRecord(hit.dataRow);
        text = isMemo(field) && m_displayMemo ? field->asString() : field->displayText();
    } catch (const std::exception &) {
        QToolTip::hideText();
        return;
    }
    const QRect cell = cellRect(hit.gridCol, hit.screenRow);
    if (QFontMetrics(column.font()).horizontalAdvance(text) + 4 > cell.width() || text.contains(QLatin1Char('\r')))
        QToolTip::showText(viewport()->mapToGlobal(pos), gridcell::normaliseLineBreaks(text), viewport(), cell);
    else
        QToolTip::hideText();
}

void TExDBGrid::showScrollHint()
{
    TDataSet *ds = dataSet();
    if (!m_scrollHints || !ds)
        return;
    const int number = verticalScrollBar()->sliderPosition() + 1;
    QToolTip::showText(QCursor::pos(), QStringLiteral("%1 of %2").arg(number).arg(ds->recordCount()), this);
}
