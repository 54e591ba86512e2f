#include "controls/GridBase.h"

#include "controls/GridColumn.h"
#include "db/TDataSet.h"
#include "db/TDataSource.h"
#include "db/TField.h"

#include <QApplication>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

TCustomDBGrid::TCustomDBGrid(QWidget *parent)
    : QAbstractScrollArea(parent), m_link(std::make_unique<GridDataLink>(*this)), m_columns(*this)
{
    m_color = gridcolor::window();
    m_fixedColor = gridcolor::btnFace();
    m_fontColor = gridcolor::windowText();
    m_titleFont = font();
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setScrollBars(TScrollStyle::ssBoth);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) { setLeftCol(value); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) { onVerticalAction(action); });
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        if (TDataSet *ds = dataSet())
            ds->setRecNo(verticalScrollBar()->sliderPosition() + 1);
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) { onFocusChanged(old, now); });
    layoutRowHeights();
}

TCustomDBGrid::~TCustomDBGrid()
{
    // Neither the link nor the focus tracking may call back into a half-destroyed grid:
    // destroying the child widgets below moves the focus.
    disconnect(qApp, nullptr, this, nullptr);
    m_link->setDataSource(nullptr);
}

// --- binding ---------------------------------------------------------------------------------

TDataSource *TCustomDBGrid::dataSource() const { return m_link->dataSource(); }

void TCustomDBGrid::setDataSource(TDataSource *source)
{
    if (source == m_link->dataSource())
        return;
    hideEditor();
    m_link->setDataSource(source);
    linkActiveChanged();
}

TDataSet *TCustomDBGrid::dataSet() const { return m_link->active() ? m_link->dataSet() : nullptr; }

// --- properties -------------------------------------------------------------------------------

void TCustomDBGrid::setOptions(TDBGridOptions options)
{
    if (options == m_options)
        return;
    const bool indicatorChanged = (options ^ m_options).testFlag(TDBGridOption::dgIndicator);
    m_options = options;
    if (indicatorChanged)
        m_leftCol = fixedColCount();
    if (hasOption(TDBGridOption::dgRowSelect) || !hasOption(TDBGridOption::dgEditing))
        hideEditor();
    updateLayout();
    if (hasOption(TDBGridOption::dgAlwaysShowEditor) && gridHasFocus())
        showEditor();
}

void TCustomDBGrid::setOption(TDBGridOption option, bool on)
{
    TDBGridOptions options = m_options;
    options.setFlag(option, on);
    setOptions(options);
}

void TCustomDBGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (readOnly)
        hideEditor();
    viewport()->update();
}

void TCustomDBGrid::setScrollBars(TScrollStyle style)
{
    m_scrollBars = style;
    const bool horizontal = style == TScrollStyle::ssHorizontal || style == TScrollStyle::ssBoth;
    const bool vertical = style == TScrollStyle::ssVertical || style == TScrollStyle::ssBoth;
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    updateScrollBars();
}

void TCustomDBGrid::setColor(const QColor &color)
{
    m_color = color;
    viewport()->update();
}

void TCustomDBGrid::setFixedColor(const QColor &color)
{
    m_fixedColor = color;
    viewport()->update();
}

void TCustomDBGrid::setTitleFont(const QFont &font)
{
    m_titleFont = font;
    for (int i = 0; i < m_columns.count(); ++i)
        m_columns.at(i)->forgetDefaultWidth();
    updateLayout();
}

void TCustomDBGrid::setFontColor(const QColor &color)
{
    m_fontColor = color;
    viewport()->update();
}

void TCustomDBGrid::setDefaultRowHeight(int height)
{
    m_rowHeight = qMax(1, height);
    updateLayout();
}

void TCustomDBGrid::setTitleRowHeight(int height)
{
    if (m_titleHeight == height)
        return;
    m_titleHeight = qMax(1, height);
    updateLayout();
}

void TCustomDBGrid::adoptSizedRowHeight()
{
    const auto sized = std::find_if(m_sizedRows.begin(), m_sizedRows.end(), [](int h) { return h > 0; });
    if (sized == m_sizedRows.end())
        return;
    const int height = *sized;
    m_sizedRows.clear();
    setDefaultRowHeight(height);
}

void TCustomDBGrid::layoutRowHeights()
{
    if (hasOption(TDBGridOption::dgTitles))
        m_titleHeight = QFontMetrics(m_titleFont).height() + 4;
}

// --- position --------------------------------------------------------------------------------

TColumn *TCustomDBGrid::selectedColumn() const { return m_columns.at(m_selectedIndex); }

TField *TCustomDBGrid::selectedField() const
{
    const TColumn *column = selectedColumn();
    return column ? column->field() : nullptr;
}

int TCustomDBGrid::row() const
{
    if (m_paintingRow >= 0)
        return m_paintingRow;
    return m_link->active() ? m_link->activeRecord() : -1;
}

int TCustomDBGrid::fixedColCount() const
{
    return indicatorOffset() + qBound(0, lockedColumnCount(), qMax(0, m_columns.count() - 1));
}

GridGeometry TCustomDBGrid::cellGeometry() const
{
    GridMetrics m;
    if (hasOption(TDBGridOption::dgIndicator))
        m.colWidths.push_back(kIndicatorWidth);
    for (int i = 0; i < m_columns.count(); ++i) {
        const TColumn *column = m_columns.at(i);
        m.colWidths.push_back(column->visible() ? qMax(0, column->width()) : 0);
    }
    m.fixedCols = fixedColCount();
    m.leftCol = qMax(m_leftCol, m.fixedCols);
    m.colLine = hasOption(TDBGridOption::dgColLines) ? 1 : 0;
    m.rowLine = hasOption(TDBGridOption::dgRowLines) ? 1 : 0;
    m.titleRows = titleOffset();
    m.titleHeight = m_titleHeight;
    m.rowHeight = m_rowHeight;
    m.dataRows = m_visibleRows;
    m.sizedRows = m_sizedRows;
    return GridGeometry(std::move(m));
}

QRect TCustomDBGrid::cellRect(int gridCol, int screenRow) const { return cellGeometry().cellRect(gridCol, screenRow); }

void TCustomDBGrid::setSelectedIndex(int index)
{
    const TColumn *column = m_columns.at(index);
    if (!column || index == m_selectedIndex || !column->visible())
        return;
    commitEditor();
    if (OnColExit && m_selectedIndex >= 0)
        OnColExit(*this);
    m_selectedIndex = index;
    normaliseSelectedIndex();
    scrollColumnIntoView(gridColOf(m_selectedIndex));
    colEnter();
    updateEditor();
    viewport()->update();
}

void TCustomDBGrid::normaliseSelectedIndex()
{
    // The current column is never a locked one, and never a hidden one.
    const int firstScrollable = fixedColCount() - indicatorOffset();
    if (m_columns.count() == 0) {
        m_selectedIndex = -1;
        return;
    }
    if (m_selectedIndex < firstScrollable)
        m_selectedIndex = firstScrollable;
    m_selectedIndex = qMin(m_selectedIndex, m_columns.count() - 1);
    int index = m_selectedIndex;
    while (index < m_columns.count() && !m_columns.at(index)->visible())
        ++index;
    if (index >= m_columns.count()) {
        index = m_selectedIndex;
        while (index > firstScrollable && !m_columns.at(index)->visible())
            --index;
    }
    m_selectedIndex = index;
}

void TCustomDBGrid::setLeftCol(int gridCol)
{
    const GridGeometry g = cellGeometry();
    const int lowest = fixedColCount();
    const int highest = qMax(lowest, g.maxLeftCol(viewport()->width()));
    int col = qBound(lowest, gridCol, highest);
    while (col < g.colCount() - 1 && g.metrics().colWidths[size_t(col)] <= 0)
        ++col;
    if (col == m_leftCol)
        return;
    m_leftCol = col;
    updateScrollBars();
    updateEditor();
    viewport()->update();
}

void TCustomDBGrid::scrollColumnIntoView(int gridCol)
{
    if (gridCol < fixedColCount())
        return;
    if (gridCol < m_leftCol) {
        setLeftCol(gridCol);
        return;
    }
    const int width = viewport()->width();
    while (m_leftCol < gridCol) {
        const GridGeometry g = cellGeometry();
        const QRect cell = g.cellRect(gridCol, 0);
        if (!cell.isEmpty() && cell.right() < width)
            break;
        const int before = m_leftCol;
        setLeftCol(m_leftCol + 1);
        if (m_leftCol == before)
            break;
    }
}

void TCustomDBGrid::invalidateGrid() { viewport()->update(); }

void TCustomDBGrid::invalidateCurrentRow()
{
    const int r = row();
    if (r < 0)
        return;
    const GridGeometry g = cellGeometry();
    const int top = g.rowTop(r + titleOffset());
    viewport()->update(QRect(0, top, viewport()->width(), g.rowHeight(r + titleOffset()) + 1));
}

void TCustomDBGrid::beep()
{
    QApplication::beep();
    emit beeped();
}

// --- layout ----------------------------------------------------------------------------------

int TCustomDBGrid::defaultColumnWidth(const TColumn &column) const
{
    const QFontMetrics metrics(column.font());
    int width = 64;
    if (const TField *field = column.field())
        width = field->displayWidth() * metrics.horizontalAdvance(QLatin1Char('0')) + 4;
    if (hasOption(TDBGridOption::dgTitles))
        width = qMax(width, QFontMetrics(column.title().font()).horizontalAdvance(column.title().caption()) + 4);
    return width;
}

void TCustomDBGrid::columnsChanged()
{
    normaliseSelectedIndex();
    updateLayout();
}

void TCustomDBGrid::columnMoved(int from, int to)
{
    if (m_selectedIndex == from)
        m_selectedIndex = to;
    else if (from < m_selectedIndex && to >= m_selectedIndex)
        --m_selectedIndex;
    else if (from > m_selectedIndex && to <= m_selectedIndex)
        ++m_selectedIndex;
}

void TCustomDBGrid::columnAppearanceChanged(TColumn &column)
{
    Q_UNUSED(column);
    viewport()->update();
}

void TCustomDBGrid::updateLayout()
{
    if (m_updatingLayout)
        return;
    m_updatingLayout = true;
    layoutRowHeights();
    updateRowCount();
    if (m_leftCol < fixedColCount())
        m_leftCol = fixedColCount();
    const GridGeometry g = cellGeometry();
    m_leftCol = qMin(m_leftCol, qMax(fixedColCount(), g.maxLeftCol(viewport()->width())));
    updateScrollBars();
    updateEditor();
    m_updatingLayout = false;
    viewport()->update();
}

void TCustomDBGrid::updateRowCount()
{
    const int rows = cellGeometry().fullyVisibleRows(viewport()->height());
    m_visibleRows = rows;
    if (m_link->bufferCount() != rows)
        m_link->setBufferCount(rows);
}

void TCustomDBGrid::updateScrollBars()
{
    const GridGeometry g = cellGeometry();
    QScrollBar *h = horizontalScrollBar();
    {
        const QSignalBlocker block(h);
        const int lowest = fixedColCount();
        const int highest = qMax(lowest, g.maxLeftCol(viewport()->width()));
        h->setRange(lowest, highest);
        h->setPageStep(1);
        h->setSingleStep(1);
        h->setValue(qMax(m_leftCol, lowest));
    }
    // The record position is asked only of a grid that shows it.
    QScrollBar *v = verticalScrollBar();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
        return;
    const QSignalBlocker block(v);
    TDataSet *ds = dataSet();
    if (!ds || ds->isEmpty()) {
        v->setRange(0, 0);
        return;
    }
    // Until a count on its way arrives, the bar spans the records seen so far.
    const int count = ds->recordCountComing() ? qMax(ds->recNo(), m_link->recordCount()) : ds->recordCount();
    v->setRange(0, qMax(0, count - 1));
    v->setPageStep(qMax(1, m_visibleRows));
    v->setValue(qMax(0, ds->recNo() - 1));
}

// --- the data link ---------------------------------------------------------------------------

void TCustomDBGrid::linkActiveChanged()
{
    if (!m_link->active())
        hideEditor();
    // A count that arrives after the move (a search's) sets the scroll bar when it comes.
    if (TDataSet *ds = dataSet())
        connect(ds, &TDataSet::recordCountKnown, this, &TCustomDBGrid::updateScrollBars, Qt::UniqueConnection);
    m_editModified = false;
    linkLayoutChanged();
}

void TCustomDBGrid::linkLayoutChanged()
{
    TDataSet *ds = dataSet();
    if (m_columns.state() == TColumns::State::Default)
        m_columns.rebuildDefault(ds);
    else
        m_columns.resolveFields(ds);
    if (m_selectedIndex < 0 && m_columns.count() > 0)
        m_selectedIndex = 0;
    normaliseSelectedIndex();
    if (m_leftCol < fixedColCount())
        m_leftCol = fixedColCount();
    updateLayout();
    layoutChangedHook();
}

void TCustomDBGrid::linkDataSetChanged()
{
    updateScrollBars();
    updateEditor();
    viewport()->update();
}

void TCustomDBGrid::linkDataSetScrolled(int distance)
{
    dataScrolledHook(distance);
    updateScrollBars();
    updateEditor();
    viewport()->update();
}

void TCustomDBGrid::linkRecordChanged(TField *field)
{
    if (!field || field == selectedField()) {
        if (!field)
            m_editModified = false;
        updateEditor();
    }
    invalidateCurrentRow();
}

void TCustomDBGrid::linkEditingChanged()
{
    if (!m_link->editing())
        m_editModified = false;
    updateEditor();
    viewport()->update();
}

void TCustomDBGrid::linkFocusControl(TField *field)
{
    for (int i = 0; i < m_columns.count(); ++i) {
        if (m_columns.at(i)->field() == field) {
            setSelectedIndex(i);
            setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TCustomDBGrid::linkUpdateData() { commitEditor(); }

// --- focus -----------------------------------------------------------------------------------

bool TCustomDBGrid::ownsWidget(const QWidget *widget) const
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == this)
            return true;
    }
    return false;
}

// Entered is not focused: an inactive window's grid stays entered but shows no focus.
bool TCustomDBGrid::gridHasFocus() const
{
    return ownsWidget(QApplication::focusWidget()) || (m_inGrid && window()->isActiveWindow());
}

// Only the grid's own window choosing another control enters or leaves the grid. A modal
// box, or another application taking the activation, leaves the window's focus widget where
// it was: an enter that opens an error box must not run again when the box closes.
void TCustomDBGrid::onFocusChanged(QWidget *, QWidget *)
{
    const bool isIn = ownsWidget(window()->focusWidget());
    if (isIn && !m_inGrid)
        gridEnter();
    else if (!isIn && m_inGrid)
        gridExit();
}

void TCustomDBGrid::gridEnter()
{
    m_inGrid = true;
    if (OnEnter)
        OnEnter(*this);
    if (hasOption(TDBGridOption::dgAlwaysShowEditor))
        showEditor();
    viewport()->update();
}

void TCustomDBGrid::gridExit()
{
    m_inGrid = false;
    TDataSet *ds = dataSet();
    try {
        if (ds && hasOption(TDBGridOption::dgCancelOnExit) && ds->state() == TDataSetState::dsInsert
            && !ds->modified() && !m_editModified)
            ds->cancel();
        else
            commitEditor();
    } catch (const std::exception &) {
        // The focus has already moved and cannot be refused: the error is raised again from
        // the event loop, where the application reports it, and the editor drops its text.
        m_editModified = false;
        QTimer::singleShot(0, this, [error = std::current_exception()] { std::rethrow_exception(error); });
    }
    if (!hasOption(TDBGridOption::dgAlwaysShowEditor))
        hideEditor();
    if (OnExit)
        OnExit(*this);
    viewport()->update();
}

void TCustomDBGrid::focusNeighbour(bool next)
{
    QWidget *w = this;
    for (;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == this)
            return;
        if (ownsWidget(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window()) && w->isEnabled() && w->window() == window()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

// --- columns by the user ---------------------------------------------------------------------

void TCustomDBGrid::moveColumn(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex || !m_columns.at(fromIndex))
        return;
    commitEditor();
    m_columns.move(fromIndex, toIndex);
    columnMovedByUser(fromIndex, qBound(0, toIndex, m_columns.count() - 1));
}

void TCustomDBGrid::columnMovedByUser(int fromIndex, int toIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(*this, fromIndex, toIndex);
}

void TCustomDBGrid::colEnter()
{
    if (OnColEnter)
        OnColEnter(*this);
}

// --- Qt --------------------------------------------------------------------------------------

void TCustomDBGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateLayout();
}

void TCustomDBGrid::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    updateLayout();
}

void TCustomDBGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (int i = 0; i < m_columns.count(); ++i)
            m_columns.at(i)->forgetDefaultWidth();
        updateLayout();
    }
}

void TCustomDBGrid::onVerticalAction(int action)
{
    TDataSet *ds = dataSet();
    if (!ds)
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        ds->next();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        ds->prior();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ds->moveBy(m_visibleRows);
        break;
    case QAbstractSlider::SliderPageStepSub:
        ds->moveBy(-m_visibleRows);
        break;
    case QAbstractSlider::SliderToMinimum:
        ds->first();
        break;
    case QAbstractSlider::SliderToMaximum:
        ds->last();
        break;
    default:
        return;   // a drag moves the record when released
    }
    verticalScrollBar()->setSliderPosition(qMax(0, ds->recNo() - 1));
}
