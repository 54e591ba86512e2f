#include "output/report/ui/dialogs/GroupConditionDialog.h"

#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/FieldInsertDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

GroupConditionDialog::GroupConditionDialog(TqnReport &report, TqnBandView &band, QWidget *parent)
    : QDialog(parent), m_band(band)
{
    setWindowTitle(QStringLiteral("Condizione del gruppo"));
    auto *form = new QFormLayout(this);
    auto *row = new QHBoxLayout;
    m_condition = new QLineEdit(band.GroupCondition, this);
    m_condition->setMinimumWidth(280);
    auto *field = new QPushButton(QStringLiteral("&Campo DB..."), this);
    field->setAutoDefault(false);
    row->addWidget(m_condition, 1);
    row->addWidget(field);
    form->addRow(QStringLiteral("Condizione"), row);
    form->addRow(report::dialogs::okCancel(this));
    connect(field, &QPushButton::clicked, this, [this, &report] {
        FieldInsertDialog dialog(report, this);
        if (dialog.exec() == QDialog::Accepted && !dialog.insertion().isEmpty())
            m_condition->insert(dialog.insertion());
    });
}

void GroupConditionDialog::accept()
{
    m_band.GroupCondition = m_condition->text().trimmed();
    QDialog::accept();
}
