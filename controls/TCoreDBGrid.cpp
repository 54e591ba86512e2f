#include "controls/TCoreDBGrid.h"

#include "controls/GridColumn.h"
#include "controls/GridLayoutIO.h"
#include "controls/TMessageBox.h"
#include "db/TDataSet.h"
#include "db/TDataSource.h"
#include "db/TField.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

class ActiveRowGuard final {
public:
    ActiveRowGuard(TDataLink &link, int row) : m_link(link), m_saved(link.activeRecord()) { link.setActiveRecord(row); }
    ~ActiveRowGuard() { m_link.setActiveRecord(m_saved); }
    ActiveRowGuard(const ActiveRowGuard &) = delete;
    ActiveRowGuard &operator=(const ActiveRowGuard &) = delete;

private:
    TDataLink &m_link;
    int m_saved;
};

void drawSortMarker(QPainter &painter, const QPoint &at, TSortMarker marker)
{
    QPainterPath arrow;
    if (marker == TSortMarker::Up) {
        arrow.moveTo(at.x(), at.y() + 3);
        arrow.lineTo(at.x() + 3, at.y() - 2);
        arrow.lineTo(at.x() + 6, at.y() + 3);
    } else {
        arrow.moveTo(at.x(), at.y() - 2);
        arrow.lineTo(at.x() + 3, at.y() + 3);
        arrow.lineTo(at.x() + 6, at.y() - 2);
    }
    arrow.closeSubpath();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(gridcolor::btnShadow());
    painter.drawPath(arrow);
    painter.restore();
}

constexpr int kMarkerSpace = 10;

} // namespace

TCoreDBGrid::TCoreDBGrid(QWidget *parent) : TCustomDBGrid(parent) {}

TCoreDBGrid::~TCoreDBGrid()
{
    if (m_storage)
        m_storage->unlinkClient(this);
}

// --- title buttons -----------------------------------------------------------------------------

void TCoreDBGrid::setTitleButtons(bool on)
{
    m_titleButtons = on;
    m_btnPressed = false;
    viewport()->update();
}

TCoreDBGrid::ButtonParams TCoreDBGrid::buttonParams(int aCol, bool isDown)
{
    TColumn *column = columns().at(aCol);
    ButtonParams params{column->title().color(), column->title().font(), TSortMarker::None};
    if (OnGetBtnParams)
        OnGetBtnParams(*this, aCol, column->field(), params, isDown);
    else if (aCol == m_sortCol)
        params.marker = m_sortDescending ? TSortMarker::Down : TSortMarker::Up;
    return params;
}

void TCoreDBGrid::drawTitleCell(QPainter &painter, const QRect &rect, TColumn &column, TGridDrawState state)
{
    if (!m_titleButtons) {
        TCustomDBGrid::drawTitleCell(painter, rect, column, state);
        return;
    }
    const int aCol = column.index();
    const bool down = m_btnPressed && m_btnShownDown && m_btnCol == aCol;
    const ButtonParams params = buttonParams(aCol, down);
    drawFixedCellFace(painter, rect, params.background, down);
    QRect textRect = down ? rect.translated(1, 1) : rect;
    if (params.marker != TSortMarker::None) {
        textRect.setRight(textRect.right() - kMarkerSpace);
        const int textWidth = QFontMetrics(params.font).horizontalAdvance(column.title().caption());
        const int x = qMin(textRect.left() + 2 + textWidth + 2, textRect.right() + 2);
        drawSortMarker(painter, QPoint(x, textRect.center().y()), params.marker);
    }
    drawTitleText(painter, textRect, column);
}

bool TCoreDBGrid::titleButtonPress(QMouseEvent *event)
{
    if (!m_titleButtons || !dataLink().active())
        return false;
    const HitInfo hit = hitTest(event->position().toPoint());
    if (!hit.title || hit.dataCol < 0 || hit.border)
        return false;
    if (event->button() == Qt::RightButton) {
        // The right button drags titles as the left one does in a grid without buttons.
        if (!hasOption(TDBGridOption::dgColumnResize) || hit.gridCol < fixedColCount())
            return false;
        beginColumnMove(hit.gridCol, event->position().toPoint());
        return true;
    }
    if (event->button() != Qt::LeftButton)
        return false;
    bool enabled = true;
    if (OnCheckButton)
        OnCheckButton(*this, hit.dataCol, columns().at(hit.dataCol)->field(), enabled);
    if (!enabled) {
        beep();
        return true;
    }
    m_btnPressed = true;
    m_btnShownDown = true;
    m_btnCol = hit.dataCol;
    viewport()->update();
    return true;
}

void TCoreDBGrid::mousePressEvent(QMouseEvent *event)
{
    if (titleButtonPress(event))
        return;
    TCustomDBGrid::mousePressEvent(event);
    // Ctrl+click marks or unmarks a record in multi-selection.
    if (multiSelect() && event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
        const HitInfo hit = hitTest(event->position().toPoint());
        if (hit.dataRow >= 0 && hit.dataRow == row())
            markCurrentRow(!currentRowMarked());
    }
}

void TCoreDBGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_btnPressed) {
        TCustomDBGrid::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const HitInfo hit = hitTest(pos);
    const bool over = viewport()->rect().contains(pos) && hit.title && hit.dataCol == m_btnCol;
    if (over != m_btnShownDown) {
        m_btnShownDown = over;
        viewport()->update();
    }
}

void TCoreDBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_btnPressed) {
        TCustomDBGrid::mouseReleaseEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const HitInfo hit = hitTest(pos);
    const int aCol = m_btnCol;
    m_btnPressed = false;
    m_btnShownDown = false;
    viewport()->update();
    if (viewport()->rect().contains(pos) && hit.title && hit.dataCol == aCol)
        titleBtnClick(aCol);
}

void TCoreDBGrid::titleBtnClick(int aCol)
{
    TColumn *column = columns().at(aCol);
    if (!column)
        return;
    if (OnTitleBtnClick) {
        OnTitleBtnClick(*this, aCol, column->field());
        return;
    }
    // The grid's own sort only marks the column: a plain dataset has no order to change.
    m_sortDescending = aCol == m_sortCol ? !m_sortDescending : false;
    m_sortCol = aCol;
    viewport()->update();
}

// --- locked columns and marks ------------------------------------------------------------------

void TCoreDBGrid::setLockedCols(int count)
{
    const int before = selectedIndex();
    m_lockedCols = qMax(0, count);
    if (leftCol() < fixedColCount())
        setLeftCol(fixedColCount());
    columnsChanged();
    // A current column that became locked moves to the first scrollable one.
    if (selectedIndex() != before && selectedIndex() >= 0)
        colEnter();
}

void TCoreDBGrid::linkActiveChanged()
{
    TCustomDBGrid::linkActiveChanged();
    m_marked.clear();
    setLockedCols(m_lockedCols);
}

bool TCoreDBGrid::rowMarked(int dataRow) const
{
    if (m_marked.isEmpty() || !dataLink().active())
        return false;
    auto &link = const_cast<GridDataLink &>(dataLink());
    ActiveRowGuard guard(link, dataRow);
    return m_marked.contains(link.dataSet()->getBookmark());
}

bool TCoreDBGrid::currentRowMarked() const
{
    const TDataSet *ds = dataSet();
    return ds && m_marked.contains(ds->getBookmark());
}

void TCoreDBGrid::markCurrentRow(bool marked)
{
    TDataSet *ds = dataSet();
    if (!ds || ds->isEmpty())
        return;
    const TBookmark bookmark = ds->getBookmark();
    if (marked && !m_marked.contains(bookmark))
        m_marked.append(bookmark);
    else if (!marked)
        m_marked.removeAll(bookmark);
    viewport()->update();
}

void TCoreDBGrid::clearMarks()
{
    m_marked.clear();
    viewport()->update();
}

// --- keys --------------------------------------------------------------------------------------

void TCoreDBGrid::keyPressEvent(QKeyEvent *event)
{
    TDataSet *ds = dataSet();
    if (!ds) {
        TCustomDBGrid::keyPressEvent(event);
        return;
    }
    int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (OnKeyDown) {
        OnKeyDown(*this, key, mods);
        if (key == 0)
            return;
    }
    // Up and Down, with the append at the end of the data, are the standard grid's.
    const bool ctrl = mods & Qt::ControlModifier;
    if (key == Qt::Key_Delete && ctrl) {
        deleteFromKeyboard();
        return;
    }
    if (m_lockedCols > 0 && ((key == Qt::Key_Home && !ctrl) || (key == Qt::Key_Left && ctrl))) {
        firstColumn();
        return;
    }
    TCustomDBGrid::keyPressEvent(event);
}

void TCoreDBGrid::deleteFromKeyboard()
{
    TDataSet *ds = dataSet();
    if (readOnly() || dataLink().readOnly() || !ds || !ds->canModify() || ds->isEmpty())
        return;
    const bool several = multiSelect() && m_marked.size() > 1;
    if (hasOption(TDBGridOption::dgConfirmDelete)) {
        const QString question = several ? QStringLiteral("Delete all selected records?") : QStringLiteral("Delete record?");
        if (!TMessageBox(this).confirm(question))
            return;
    }
    if (!several) {
        ds->deleteRecord();
        m_marked.removeAll(ds->getBookmark());
        return;
    }
    const QList<TBookmark> marked = m_marked;
    m_marked.clear();
    ds->disableControls();
    try {
        for (const TBookmark &bookmark : marked) {
            if (ds->bookmarkValid(bookmark)) {
                ds->gotoBookmark(bookmark);
                ds->deleteRecord();
            }
        }
    } catch (...) {
        ds->enableControls();
        throw;
    }
    ds->enableControls();
}

// --- layout store --------------------------------------------------------------------------------

void TCoreDBGrid::setIniStorage(LayoutStorage *storage)
{
    if (storage == m_storage)
        return;
    if (m_storage)
        m_storage->unlinkClient(this);
    m_storage = storage;
    if (m_storage)
        m_storage->linkClient(this);
}

QString TCoreDBGrid::layoutSection() const
{
    return gridlayout::sectionName(m_storage ? m_storage->storageSection() : QString(),
                                   QString::fromLatin1(window()->metaObject()->className()), objectName());
}

bool TCoreDBGrid::hasLayoutTarget() const
{
    return !objectName().isEmpty() && dataSource() && dataSource()->dataSet();
}

void TCoreDBGrid::saveLayout(LayoutKeys &keys)
{
    if (hasLayoutTarget())
        gridlayout::save(columns(), objectName(), layoutSection(), keys);
}

void TCoreDBGrid::loadLayout(LayoutKeys &keys)
{
    if (hasLayoutTarget())
        gridlayout::load(columns(), objectName(), layoutSection(), keys);
}
