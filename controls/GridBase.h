#pragma once
// The standard data grid that the program's grids build on: bound to a data source through
// its data link, it shows the dataset's window of record buffers (never the whole table)
// under a title row, marks the current record in an indicator column, edits the current
// field in place (with a pick-list drop-down where the column has one), navigates with the
// keyboard and the mouse, and resizes and moves columns. Painting is split into virtual
// steps that the derived grids replace.

#include "controls/GridColumns.h"
#include "controls/GridDataLink.h"
#include "controls/GridGeometry.h"
#include "controls/GridInplaceEdit.h"
#include "controls/GridTypes.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>
#include <memory>

class TColumn;
class TDataSet;
class TDataSource;
class TField;

class TCustomDBGrid : public QAbstractScrollArea,
                      public GridColumnsOwner,
                      public GridDataLinkClient,
                      public GridEditorHost {
    Q_OBJECT
public:
    static constexpr int kIndicatorWidth = 11;

    explicit TCustomDBGrid(QWidget *parent = nullptr);
    ~TCustomDBGrid() override;

    // --- binding -------------------------------------------------------------------------
    TDataSource *dataSource() const;
    void setDataSource(TDataSource *source);
    GridDataLink &dataLink() { return *m_link; }
    const GridDataLink &dataLink() const { return *m_link; }
    TDataSet *dataSet() const;   // the bound dataset, when the link is active

    // --- appearance and behaviour ----------------------------------------------------------
    TColumns &columns() { return m_columns; }
    const TColumns &columns() const { return m_columns; }
    TDBGridOptions options() const { return m_options; }
    virtual void setOptions(TDBGridOptions options);
    bool hasOption(TDBGridOption option) const { return m_options.testFlag(option); }
    void setOption(TDBGridOption option, bool on);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    TScrollStyle scrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle style);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    QColor fixedColor() const { return m_fixedColor; }
    void setFixedColor(const QColor &color);
    QFont titleFont() const { return m_titleFont; }
    void setTitleFont(const QFont &font);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor &color);
    int defaultRowHeight() const { return m_rowHeight; }
    void setDefaultRowHeight(int height);
    int titleRowHeight() const { return m_titleHeight; }
    void setTitleRowHeight(int height);

    // --- position ------------------------------------------------------------------------
    int selectedIndex() const { return m_selectedIndex; }   // current column's Index; -1: none
    void setSelectedIndex(int index);
    TColumn *selectedColumn() const;
    TField *selectedField() const;
    int row() const;                  // current record's row in the window, from 0
    int leftCol() const { return m_leftCol; }
    void setLeftCol(int gridCol);
    int visibleRowCount() const { return m_visibleRows; }
    int indicatorOffset() const { return hasOption(TDBGridOption::dgIndicator) ? 1 : 0; }
    int titleOffset() const { return hasOption(TDBGridOption::dgTitles) ? 1 : 0; }
    int fixedColCount() const;
    GridGeometry cellGeometry() const;
    QRect cellRect(int gridCol, int screenRow) const;

    // --- editing -------------------------------------------------------------------------
    // dgEditing, an active link, neither the grid nor the link read-only, a modifiable dataset.
    bool canEditGrid() const;
    bool editorMode() const;
    void showEditor();
    void hideEditor();
    GridInplaceEdit *inplaceEditor() const { return m_editor; }
    // Writes the editor's text into the field when the user changed it.
    void commitEditor();

    void invalidateGrid();
    void invalidateCurrentRow();
    void beep();

    // --- events --------------------------------------------------------------------------
    using TNotifyEvent = std::function<void(TCustomDBGrid &)>;
    // The key may be changed or cleared (0) by the handler.
    std::function<void(TCustomDBGrid &, int &key, Qt::KeyboardModifiers)> OnKeyDown;
    TNotifyEvent OnColEnter, OnColExit, OnDblClick, OnEnter, OnExit;
    std::function<void(TCustomDBGrid &, int fromIndex, int toIndex)> OnColumnMoved;
    std::function<void(TCustomDBGrid &, TColumn &)> OnTitleClick;
    std::function<void(TCustomDBGrid &, const QRect &, int dataCol, TColumn &, TGridDrawState)> OnDrawColumnCell;

signals:
    void beeped();

protected:
    struct HitInfo {
        int gridCol = -1;
        int screenRow = -1;
        int dataCol = -1;      // Columns index; -1 on the indicator or outside
        int dataRow = -1;      // row in the buffer window; -1 on the title or outside
        bool title = false;
        bool indicator = false;
        bool border = false;   // on a title's right edge, where sizing starts
        int rowBorder = -1;    // the screen row whose bottom edge is under the indicator point
    };
    HitInfo hitTest(const QPoint &viewportPos) const;
    int gridColOf(int dataCol) const { return dataCol + indicatorOffset(); }
    int dataColOf(int gridCol) const { return gridCol - indicatorOffset(); }

    // --- painting steps --------------------------------------------------------------------
    // The grid background and the cells; false from hasVisibleCells leaves an empty grid.
    virtual bool hasVisibleCells() const;
    virtual void drawDataCell(QPainter &painter, const QRect &rect, int dataCol, TColumn &column, TGridDrawState state);
    virtual void drawTitleCell(QPainter &painter, const QRect &rect, TColumn &column, TGridDrawState state);
    // The caption inside a title cell's face.
    virtual void drawTitleText(QPainter &painter, const QRect &rect, TColumn &column);
    virtual void drawIndicatorCell(QPainter &painter, const QRect &rect, int dataRow, TGridDrawState state);
    virtual void drawTopLeftCell(QPainter &painter, const QRect &rect);
    virtual void drawGridLines(QPainter &painter, const QRect &cell, bool fixed);
    virtual void paintOverlay(QPainter &painter);
    // Selected, focused, fixed as the standard grid decides them.
    TGridDrawState cellState(int gridCol, int dataRow) const;
    void drawFixedCellFace(QPainter &painter, const QRect &rect, const QColor &color, bool sunken) const;
    void drawIndicatorMark(QPainter &painter, const QRect &rect, int dataRow) const;
    // The standard brush of a data cell: the column colour, or the system highlight.
    QColor cellBrushColor(const TColumn &column, TGridDrawState state) const;
    bool gridHasFocus() const;

    // --- hooks of the derived grids -------------------------------------------------------
    virtual int lockedColumnCount() const { return 0; }
    // Whether Down at the end of the data appends a record to an editable grid.
    virtual bool autoAppends() const { return true; }
    // Whether the rows' bottom edges in the indicator column size the rows with the mouse.
    virtual bool rowsSizable() const { return false; }
    // A row sized with the mouse gives its height to every row.
    void adoptSizedRowHeight();
    virtual void layoutRowHeights();
    virtual void colEnter();
    virtual bool columnAllowsTextEdit(const TColumn &column) const;
    virtual bool rowMarked(int dataRow) const { Q_UNUSED(dataRow); return false; }
    virtual void gridEnter();
    virtual void gridExit();
    virtual void dblClick(const HitInfo &hit);
    virtual void columnMovedByUser(int fromIndex, int toIndex);
    virtual void layoutChangedHook() {}
    virtual void dataScrolledHook(int distance) { Q_UNUSED(distance); }

    // --- navigation ------------------------------------------------------------------------
    void moveToDataRow(int dataRow);
    void moveColumnBy(int step);
    void firstColumn();
    void lastColumn();
    void scrollColumnIntoView(int gridCol);
    void focusNeighbour(bool next);
    void cancelEditing();
    // The standard column move of the title row, started by a press on a title.
    void beginColumnMove(int gridCol, const QPoint &pos);
    bool columnMoving() const { return m_state == State::Moving; }
    void moveColumn(int fromIndex, int toIndex);
    bool canEditModify();

    // --- Qt -------------------------------------------------------------------------------
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

    // --- the columns' owner ---------------------------------------------------------------
    QColor columnsGridColor() const override { return m_color; }
    QColor columnsFixedColor() const override { return m_fixedColor; }
    QFont columnsFont() const override { return font(); }
    QFont columnsTitleFont() const override { return m_titleFont; }
    int defaultColumnWidth(const TColumn &column) const override;
    void columnsChanged() override;
    void columnMoved(int from, int to) override;
    void columnAppearanceChanged(TColumn &column) override;

    // --- the data link's client ---------------------------------------------------------------
    void linkActiveChanged() override;
    void linkDataSetChanged() override;
    void linkDataSetScrolled(int distance) override;
    void linkRecordChanged(TField *field) override;
    void linkEditingChanged() override;
    void linkLayoutChanged() override;
    void linkFocusControl(TField *field) override;
    void linkUpdateData() override;

    // --- the editor's host ---------------------------------------------------------------
    bool editorCanModify() override { return canEditModify(); }
    void editorTextEdited() override;
    void editorPickAccepted(const QString &entry) override;
    void editorKeyToGrid(QKeyEvent *event) override;
    QStringList editorPickList() const override;
    int editorDropDownRows() const override;
    int editorPickPreselect() const override;

    // Re-reads the layout after columns, options, fonts or the dataset changed.
    void updateLayout();
    void updateRowCount();
    void updateScrollBars();
    void updateEditor();

private:
    enum class State { Normal, Sizing, RowSizing, Moving };

    void onFocusChanged(QWidget *old, QWidget *now);
    void onVerticalAction(int action);
    void handleNavigationKey(QKeyEvent *event);
    void keyUp();
    void keyDown();
    void typeIntoCell(QKeyEvent *event);
    void normaliseSelectedIndex();
    bool ownsWidget(const QWidget *widget) const;

    std::unique_ptr<GridDataLink> m_link;
    TColumns m_columns;
    TDBGridOptions m_options = defaultGridOptions();
    bool m_readOnly = false;
    TScrollStyle m_scrollBars = TScrollStyle::ssBoth;
    QColor m_color;
    QColor m_fixedColor;
    QColor m_fontColor;
    QFont m_titleFont;
    int m_rowHeight = 17;
    int m_titleHeight = 17;
    int m_selectedIndex = -1;
    int m_leftCol = 1;
    int m_visibleRows = 1;
    int m_wheelRemainder = 0;
    int m_paintingRow = -1;   // the current row while painting walks the window
    GridInplaceEdit *m_editor = nullptr;
    bool m_editModified = false;
    bool m_settingEditorText = false;
    bool m_closingEditor = false;   // the grid takes the focus back from its closing editor
    bool m_inGrid = false;
    bool m_updatingLayout = false;

    State m_state = State::Normal;
    int m_sizingCol = -1;
    int m_sizingOrigin = 0;
    int m_sizingStartWidth = 0;
    int m_sizingRow = -1;          // data row on screen
    int m_sizingStartHeight = 0;
    std::vector<int> m_sizedRows;  // heights set with the mouse, per data row on screen
    int m_moveFrom = -1;      // grid column being moved
    int m_moveTarget = -1;
    QPoint m_pressPos;
    bool m_titlePressed = false;
    int m_titlePressCol = -1;
};
