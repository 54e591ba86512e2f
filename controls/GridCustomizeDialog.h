#pragma once
// The column chooser: the dataset's fields by display label, checked when shown, in the
// order the columns will take; reordered by dragging.

#include <QDialog>

class QListWidget;
class TExDBGrid;

class GridCustomizeDialog final : public QDialog {
    Q_OBJECT
public:
    explicit GridCustomizeDialog(TExDBGrid &grid);

    QListWidget *list() const { return m_list; }
    // Applies the choice to the grid's columns; false (after the message) when nothing is checked.
    bool apply();

protected:
    void done(int result) override;

private:
    TExDBGrid &m_grid;
    QListWidget *m_list;
};
