#pragma once
// The first layer over the standard grid: title buttons that report a click on a column
// title, data columns locked at the left, multi-selection of records by bookmark, the link
// to the layout store, and the record keys (Up, Down with auto-append, Ctrl+Delete).

#include "controls/GridBase.h"
#include "controls/LayoutKeys.h"
#include "db/DbTypes.h"

#include <QList>

class TCoreDBGrid : public TCustomDBGrid, public LayoutClient {
    Q_OBJECT
public:
    explicit TCoreDBGrid(QWidget *parent = nullptr);
    ~TCoreDBGrid() override;

    // --- title buttons ---------------------------------------------------------------------
    bool titleButtons() const { return m_titleButtons; }
    void setTitleButtons(bool on);
    bool titleButtonPressed() const { return m_btnPressed; }
    int pressedTitleColumn() const { return m_btnPressed ? m_btnCol : -1; }
    bool titleButtonShownDown() const { return m_btnPressed && m_btnShownDown; }
    // ACol is the clicked column's Index in Columns, from 0.
    std::function<void(TCoreDBGrid &, int aCol, TField *field)> OnTitleBtnClick;
    std::function<void(TCoreDBGrid &, int aCol, TField *field, bool &enabled)> OnCheckButton;
    struct ButtonParams {
        QColor background;
        QFont font;
        TSortMarker marker = TSortMarker::None;
    };
    std::function<void(TCoreDBGrid &, int aCol, TField *field, ButtonParams &params, bool isDown)> OnGetBtnParams;
    // The column of the grid's own sort when no window handles title clicks; -1: none.
    int builtInSortColumn() const { return m_sortCol; }

    // --- locked columns --------------------------------------------------------------------
    int lockedCols() const { return m_lockedCols; }
    void setLockedCols(int count);

    // --- multi-selection ---------------------------------------------------------------------
    bool multiSelect() const { return hasOption(TDBGridOption::dgMultiSelect); }
    const QList<TBookmark> &selectedRows() const { return m_marked; }
    void markCurrentRow(bool marked);
    bool currentRowMarked() const;
    void clearMarks();

    // --- layout store ------------------------------------------------------------------------
    LayoutStorage *iniStorage() const { return m_storage; }
    void setIniStorage(LayoutStorage *storage);
    QString layoutSection() const;
    void saveLayout(LayoutKeys &keys) override;
    void loadLayout(LayoutKeys &keys) override;
    void layoutStorageGone() override { m_storage = nullptr; }

protected:
    int lockedColumnCount() const override { return m_lockedCols; }
    bool rowMarked(int dataRow) const override;
    void drawTitleCell(QPainter &painter, const QRect &rect, TColumn &column, TGridDrawState state) override;
    void linkActiveChanged() override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // A press on a title button; false when the press is not one.
    bool titleButtonPress(QMouseEvent *event);
    virtual void titleBtnClick(int aCol);
    void deleteFromKeyboard();
    ButtonParams buttonParams(int aCol, bool isDown);

private:
    bool hasLayoutTarget() const;

    bool m_titleButtons = false;
    bool m_btnPressed = false;
    bool m_btnShownDown = false;
    int m_btnCol = -1;
    int m_sortCol = -1;
    bool m_sortDescending = false;
    int m_lockedCols = 0;
    QList<TBookmark> m_marked;
    LayoutStorage *m_storage = nullptr;
};
