#include "controls/GridCustomizeDialog.h"

#include "controls/GridColumn.h"
#include "controls/TExDBGrid.h"
#include "controls/TMessageBox.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kFieldRole = Qt::UserRole + 1;
} // namespace

GridCustomizeDialog::GridCustomizeDialog(TExDBGrid &grid) : QDialog(&grid), m_grid(grid), m_list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Customize"));
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    const auto addField = [this](TField *field, bool shown) {
        if (field->displayLabel().compare(QStringLiteral("<NO DISPLAY>"), Qt::CaseInsensitive) == 0)
            return;
        auto *item = new QListWidgetItem(field->displayLabel(), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
        item->setData(kFieldRole, field->fieldName());
    };
    // Columns first, in their order; then the fields no column shows.
    QList<TField *> listed;
    for (int i = 0; i < grid.columns().count(); ++i) {
        TColumn *column = grid.columns().at(i);
        if (column->field()) {
            addField(column->field(), column->visible());
            listed.append(column->field());
        }
    }
    if (TDataSet *ds = grid.dataLink().dataSet()) {
        for (TField *field : ds->fields()) {
            if (!listed.contains(field))
                addField(field, false);
        }
    }
    auto *ok = new QPushButton(QStringLiteral("&Ok"), this);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
}

void GridCustomizeDialog::done(int result)
{
    if (result == QDialog::Accepted && !apply())
        return;
    QDialog::done(result);
}

bool GridCustomizeDialog::apply()
{
    bool anyChecked = false;
    for (int i = 0; i < m_list->count(); ++i)
        anyChecked = anyChecked || m_list->item(i)->checkState() == Qt::Checked;
    if (!anyChecked) {
        TMessageBox(this).notice(QStringLiteral("You Cannot Hide All The Columns."));
        return false;
    }
    TColumns &columns = m_grid.columns();
    columns.beginUpdate();
    // Chosen columns are the user's own from now on.
    columns.setState(TColumns::State::Customized);
    int position = 0;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem *item = m_list->item(i);
        const QString name = item->data(kFieldRole).toString();
        TColumn *column = columns.findByField(name);
        const bool shown = item->checkState() == Qt::Checked;
        if (!column && !shown)
            continue;
        if (!column) {
            column = &columns.add(name);
            column->setField(m_grid.dataLink().dataSet() ? m_grid.dataLink().dataSet()->findField(name) : nullptr);
        }
        column->setVisible(shown);
        column->setIndex(position++);
    }
    columns.endUpdate();
    return true;
}
