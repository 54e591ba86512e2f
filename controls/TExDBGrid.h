#pragma once
// The data grid of every page: the standard grid and its core layer, plus its own cell
// painting (row colours by screen row, a fixed highlight pair, memo text, dates as text,
// check boxes, pictures), title and indicator lines, column dragging with a drag picture
// and automatic scrolling, its own editors for dates, memos and Booleans, clipboard keys,
// the auto-append rules at the end of the data, and an options menu.

#include "controls/CellPictureCache.h"
#include "controls/GridColumnDrag.h"
#include "controls/GridOwnEditors.h"
#include "controls/TCoreDBGrid.h"

#include <QImage>
#include <QPointer>

class GridOptionsMenu;
class QMenu;

class TExDBGrid : public TCoreDBGrid, private GridColumnDragHost {
    Q_OBJECT
public:
    explicit TExDBGrid(QWidget *parent = nullptr);
    ~TExDBGrid() override;

    // --- colours ---------------------------------------------------------------------------
    QColor rowColor1() const { return m_rowColor1; }
    void setRowColor1(const QColor &c) { setAndRepaint(m_rowColor1, c); }
    QColor rowColor2() const { return m_rowColor2; }
    void setRowColor2(const QColor &c) { setAndRepaint(m_rowColor2, c); }
    bool useRowColors() const { return m_useRowColors; }
    void setUseRowColors(bool on) { setAndRepaint(m_useRowColors, on); }
    QColor highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const QColor &c) { setAndRepaint(m_highlightColor, c); }
    QColor highlightFontColor() const { return m_highlightFontColor; }
    void setHighlightFontColor(const QColor &c) { setAndRepaint(m_highlightFontColor, c); }
    QColor imageHighlightColor() const { return m_imageHighlightColor; }
    void setImageHighlightColor(const QColor &c) { setAndRepaint(m_imageHighlightColor, c); }
    bool hotTrack() const { return m_hotTrack; }
    void setHotTrack(bool on) { setAndRepaint(m_hotTrack, on); }
    QColor hotTrackColor() const { return m_hotTrackColor; }
    void setHotTrackColor(const QColor &c) { setAndRepaint(m_hotTrackColor, c); }
    QColor editColor() const { return m_editColor; }
    void setEditColor(const QColor &c) { m_editColor = c; }
    QColor lockedColor() const { return m_lockedColor; }
    void setLockedColor(const QColor &c) { setAndRepaint(m_lockedColor, c); }
    QFont lockedFont() const { return m_lockedFont; }
    void setLockedFont(const QFont &f) { m_lockedFont = f; viewport()->update(); }

    // --- how fields are shown ----------------------------------------------------------------
    bool displayMemo() const { return m_displayMemo; }
    void setDisplayMemo(bool on);
    bool displayDateTime() const { return m_displayDateTime; }
    void setDisplayDateTime(bool on);
    bool displayBoolean() const { return m_displayBoolean; }
    void setDisplayBoolean(bool on);
    bool displayImages() const { return m_displayImages; }
    void setDisplayImages(bool on);
    bool displayPopupEditors() const { return m_displayPopupEditors; }
    void setDisplayPopupEditors(bool on) { m_displayPopupEditors = on; }
    bool fullSizeMemo() const { return m_fullSizeMemo; }
    void setFullSizeMemo(bool on);
    TMemoInplaceEditor memoInplaceEditor() const { return m_memoEditorKind; }
    void setMemoInplaceEditor(TMemoInplaceEditor kind) { m_memoEditorKind = kind; }
    TMemoViewType memoViewType() const { return m_memoViewType; }
    void setMemoViewType(TMemoViewType type) { m_memoViewType = type; }
    bool showTextEllipsis() const { return m_showTextEllipsis; }
    void setShowTextEllipsis(bool on) { setAndRepaint(m_showTextEllipsis, on); }
    bool showTitleEllipsis() const { return m_showTitleEllipsis; }
    void setShowTitleEllipsis(bool on) { setAndRepaint(m_showTitleEllipsis, on); }
    bool flatCheckBox() const { return m_flatCheckBox; }
    void setFlatCheckBox(bool on) { setAndRepaint(m_flatCheckBox, on); }
    TFlatCheckBoxType flatCheckBoxType() const { return m_flatCheckBoxType; }
    void setFlatCheckBoxType(TFlatCheckBoxType t) { setAndRepaint(m_flatCheckBoxType, t); }
    bool drawFocusRect() const { return m_drawFocusRect; }
    void setDrawFocusRect(bool on) { setAndRepaint(m_drawFocusRect, on); }
    bool cells3D() const { return m_cells3D; }
    void setCells3D(bool on) { setAndRepaint(m_cells3D, on); }
    bool boldTitlesWhenCells3D() const { return m_boldTitles3D; }
    void setBoldTitlesWhenCells3D(bool on) { setAndRepaint(m_boldTitles3D, on); }
    bool boldIndicatorsWhenCells3D() const { return m_boldIndicators3D; }
    void setBoldIndicatorsWhenCells3D(bool on) { setAndRepaint(m_boldIndicators3D, on); }
    bool showTitlesWhenInactive() const { return m_showTitlesWhenInactive; }
    void setShowTitlesWhenInactive(bool on) { setAndRepaint(m_showTitlesWhenInactive, on); }
    QImage backgroundPicture() const { return m_background; }
    void setBackgroundPicture(const QImage &picture) { m_background = picture; viewport()->update(); }
    bool useBackgroundPicture() const { return m_useBackground; }
    void setUseBackgroundPicture(bool on) { setAndRepaint(m_useBackground, on); }
    bool useBitmapDrawing() const { return m_useBitmapDrawing; }
    void setUseBitmapDrawing(bool on) { m_useBitmapDrawing = on; }

    // --- rows, titles and sizing -------------------------------------------------------------
    bool multiLineTitles() const { return m_multiLineTitles; }
    void setMultiLineTitles(bool on);
    bool multiLineRows() const { return m_multiLineRows; }
    void setMultiLineRows(bool on);
    int linesPerRow() const { return m_linesPerRow; }
    void setLinesPerRow(int lines);
    bool rowSizingAllowed() const { return m_rowSizingAllowed; }
    void setRowSizingAllowed(bool on) { m_rowSizingAllowed = on; }
    bool gridAutoSize() const { return m_gridAutoSize; }
    void setGridAutoSize(bool on);
    bool gridAutoWidth() const { return m_gridAutoWidth; }
    void setGridAutoWidth(bool on);
    TGridAutoWidthDisplay gridAutoWidthDisplay() const { return m_autoWidthDisplay; }
    void setGridAutoWidthDisplay(TGridAutoWidthDisplay d);
    // Each column as wide as its widest display text over all records.
    void applyAutoSize();
    // The columns spread over the client width.
    void applyAutoWidth();

    // --- behaviour -----------------------------------------------------------------------------
    bool allowAutoAppend() const { return m_allowAutoAppend; }
    void setAllowAutoAppend(bool on) { m_allowAutoAppend = on; }
    bool enterAsTab() const { return m_enterAsTab; }
    void setEnterAsTab(bool on) { m_enterAsTab = on; }
    bool cellHints() const { return m_cellHints; }
    void setCellHints(bool on) { m_cellHints = on; }
    bool scrollHints() const { return m_scrollHints; }
    void setScrollHints(bool on) { m_scrollHints = on; }
    bool searchMode() const { return m_searchMode; }
    void setSearchMode(bool on) { m_searchMode = on; }
    bool maskedColumnDrag() const { return m_maskedColumnDrag; }
    void setMaskedColumnDrag(bool on) { m_maskedColumnDrag = on; }
    // Whether a left drag on a title moves the column (no title buttons, no search box).
    bool dragsColumns() const;
    const GridColumnDrag &columnDrag() const { return m_drag; }
    GridColumnDrag &columnDrag() { return m_drag; }

    // --- options menu ----------------------------------------------------------------------------
    TExMenuOptions exMenuOptions() const { return m_menuOptions; }
    void setExMenuOptions(TExMenuOptions options) { m_menuOptions = options; }
    bool titleCheck() const { return m_titleCheck; }
    void setTitleCheck(bool on) { setAndRepaint(m_titleCheck, on); }
    TExportDelimiter exportDelimiter() const { return m_exportDelimiter; }
    void setExportDelimiter(TExportDelimiter d) { m_exportDelimiter = d; }
    QString reportCaption() const { return m_reportCaption; }
    void setReportCaption(const QString &caption) { m_reportCaption = caption; }
    QString registrySaveName() const { return m_registrySaveName; }
    void setRegistrySaveName(const QString &name) { m_registrySaveName = name; }
    GridOptionsMenu &optionsMenu() { return *m_menu; }
    // A pop-up menu of the grid's owner, opened by a right click when no handler takes it.
    QMenu *popupMenu() const;
    void setPopupMenu(QMenu *menu);
    // Opens the menu when the top-left cell may open it; false otherwise.
    bool popupOptionsMenu(const QPoint &globalPos);

    // --- own editors -----------------------------------------------------------------------------
    GridDateEditor *datePicker() const { return m_datePicker; }
    GridMemoEditor *memoEditor() const { return m_memoEditor; }
    bool ownEditorOpen() const;
    void hideOwnEditors();
    // The own editor of the current cell: date picker or memo editor.
    void openOwnEditor(bool caretAtEnd);
    // The clicked Boolean cell: true, false, and null when the field refuses.
    void toggleBoolean();
    void showViewer();
    // Whether a field's kind has its own editor instead of in-place text.
    bool hasOwnEditor(const TField *field) const;
    // Whether Space, Enter or F2 open that editor: memos, and dates shown as plain text.
    bool opensOwnEditorByKey(const TField *field) const;

    // --- events ----------------------------------------------------------------------------------
    struct CellAttributes {
        QColor background;
        QColor fontColor;
        QFont font;
    };
    std::function<void(TExDBGrid &, TField *, CellAttributes &, TGridDrawState)> OnApplyCellAttribute;
    std::function<void(TExDBGrid &)> OnRightClick;
    std::function<void(TExDBGrid &, int column)> OnColumnWidthChanged;
    std::function<void(TExDBGrid &)> OnCustomize;

protected:
    // Painting.
    void paintEvent(QPaintEvent *event) override;
    bool hasVisibleCells() const override;
    void drawDataCell(QPainter &painter, const QRect &rect, int dataCol, TColumn &column, TGridDrawState state) override;
    void drawTitleText(QPainter &painter, const QRect &rect, TColumn &column) override;
    void drawTopLeftCell(QPainter &painter, const QRect &rect) override;
    void drawGridLines(QPainter &painter, const QRect &cell, bool fixed) override;
    void paintOverlay(QPainter &painter) override;

    // Layout and columns.
    void layoutRowHeights() override;
    void colEnter() override;
    bool columnAllowsTextEdit(const TColumn &column) const override;
    bool autoAppends() const override { return m_allowAutoAppend; }
    void columnMovedByUser(int fromIndex, int toIndex) override;
    void linkActiveChanged() override;
    bool rowsSizable() const override { return m_rowSizingAllowed; }
    void linkDataSetScrolled(int distance) override;
    void gridExit() override;
    void dblClick(const HitInfo &hit) override;
    void linkCheckBrowseMode() override;
    void linkUpdateData() override;

    // Input.
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // The column drag's host.
    GridGeometry dragGeometry() const override { return cellGeometry(); }
    QRect dragClientRect() const override;
    QPixmap dragPicture(int gridCol) const override;
    void dragScrollBy(int step) override;
    void dragDrop(int fromGridCol, int toGridCol) override;
    void dragShowPointer(bool shown) override;
    void dragRepaint() override { viewport()->update(); }

    void press(QMouseEvent *event);

    template <typename T>
    void setAndRepaint(T &member, const T &value)
    {
        member = value;
        viewport()->update();
    }
    void drawFieldContent(QPainter &painter, const QRect &rect, TColumn &column, TGridDrawState state,
                          const CellAttributes &attributes, bool solid);
    void drawShortText(QPainter &painter, const QRect &rect, const CellAttributes &cell, bool solid,
                       const QString &text, Qt::Alignment alignment, bool rightInset);
    bool handleClipboardKey(QKeyEvent *event);
    bool handleOwnEditorKey(QKeyEvent *event);
    void afterNavigationKey(int key);
    bool atEndOfData() const;
    void placeOwnEditor(QWidget *editor, int minHeight) const;
    void writePickedDate(const QDate &date);
    void writeMemoText(const QString &text);
    void saveOpenMemoEditor();
    void cancelOwnEdit();
    void showCellHint(const QPoint &pos);
    void showScrollHint();

    QColor m_rowColor1;
    QColor m_rowColor2;
    bool m_useRowColors = false;
    QColor m_highlightColor;
    QColor m_highlightFontColor;
    QColor m_imageHighlightColor;
    bool m_hotTrack = false;
    QColor m_hotTrackColor;
    bool m_hot = false;
    QColor m_editColor;
    QColor m_lockedColor;
    QFont m_lockedFont;

    bool m_displayMemo = true;
    bool m_displayDateTime = true;
    bool m_displayBoolean = true;
    bool m_displayImages = true;
    bool m_displayPopupEditors = true;
    bool m_fullSizeMemo = false;
    TMemoInplaceEditor m_memoEditorKind = TMemoInplaceEditor::Memo;
    TMemoViewType m_memoViewType = TMemoViewType::WordWrapOn;
    bool m_showTextEllipsis = false;
    bool m_showTitleEllipsis = false;
    bool m_flatCheckBox = true;
    TFlatCheckBoxType m_flatCheckBoxType = TFlatCheckBoxType::Normal;
    bool m_drawFocusRect = false;
    bool m_cells3D = false;
    bool m_boldTitles3D = false;
    bool m_boldIndicators3D = false;
    bool m_showTitlesWhenInactive = false;
    QImage m_background;
    bool m_useBackground = false;
    bool m_useBitmapDrawing = false;
    bool m_colorChecked = false;
    CellPictureCache m_cellPictures;

    bool m_multiLineTitles = false;
    bool m_multiLineRows = false;
    int m_linesPerRow = 1;
    bool m_rowSizingAllowed = false;
    bool m_gridAutoSize = false;
    bool m_gridAutoWidth = false;
    TGridAutoWidthDisplay m_autoWidthDisplay = TGridAutoWidthDisplay::Uniform;

    bool m_allowAutoAppend = true;
    bool m_enterAsTab = false;
    bool m_cellHints = false;
    bool m_scrollHints = false;
    bool m_searchMode = false;
    bool m_maskedColumnDrag = true;
    TExMenuOptions m_menuOptions = allExMenuOptions();
    bool m_titleCheck = false;
    TExportDelimiter m_exportDelimiter = TExportDelimiter::Pipe;
    QString m_reportCaption;
    QString m_registrySaveName;

    GridColumnDrag m_drag;
    std::unique_ptr<GridOptionsMenu> m_menu;
    QPointer<QMenu> m_popupMenu;
    QPointer<GridDateEditor> m_datePicker;
    QPointer<GridMemoEditor> m_memoEditor;
    bool m_savingMemo = false;
    int m_lastClickRow = -1;
    int m_lastClickCol = -1;
    int m_sizingWidthBefore = -1;
    int m_sizingColumn = -1;
};
