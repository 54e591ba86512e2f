#pragma once
// The in-place text editor of a grid cell. It keeps the editing keys and hands the
// navigation keys back to the grid; in a column with a pick list it carries a drop-down
// button and opens the list under itself.

#include <QLineEdit>
#include <QPointer>

#include "controls/GridPickList.h"
class QToolButton;

// What the editor asks of its grid.
class GridEditorHost {
public:
    virtual ~GridEditorHost() = default;
    // Puts the record into edit if needed; false when the text may not change.
    virtual bool editorCanModify() = 0;
    virtual void editorTextEdited() = 0;
    virtual void editorPickAccepted(const QString &entry) = 0;
    virtual void editorKeyToGrid(QKeyEvent *event) = 0;
    // The pick list of the edited column, and the entry to preselect (-1: none).
    virtual QStringList editorPickList() const = 0;
    virtual int editorDropDownRows() const = 0;
    virtual int editorPickPreselect() const = 0;
};

class GridInplaceEdit final : public QLineEdit {
    Q_OBJECT
public:
    GridInplaceEdit(GridEditorHost &host, QWidget *parent);
    ~GridInplaceEdit() override;

    // Shows or hides the drop-down button for the current column.
    void setPickListStyle(bool hasPickList);
    bool hasPickList() const { return m_hasPickList; }
    void dropDown();
    void closeUp(bool accept);
    bool listVisible() const;
    GridPickList *pickList() const { return m_list; }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool isNavigationKey(const QKeyEvent *event) const;
    bool changesText(const QKeyEvent *event) const;
    void placeButton();

    GridEditorHost &m_host;
    QToolButton *m_button = nullptr;
    QPointer<GridPickList> m_list;
    bool m_hasPickList = false;
};
