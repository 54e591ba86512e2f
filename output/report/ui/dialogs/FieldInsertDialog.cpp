#include "output/report/ui/dialogs/FieldInsertDialog.h"

#include "output/report/expr/ExprSystemValues.h"
#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/ReportSources.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

using namespace report::dialogs;

const QString FieldInsertDialog::kOther = QStringLiteral("Altro");

FieldInsertDialog::FieldInsertDialog(const TqnReport &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setWindowTitle(QStringLiteral("Inserisci campo DB"));
    auto *grid = new QGridLayout(this);
    m_dataSets = new QListWidget(this);
    m_dataSets->addItems(availableDataSets(report));
    m_dataSets->addItem(kOther);
    m_fields = new QListWidget(this);
    grid->addWidget(new QLabel(QStringLiteral("DB disponibili"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Campi"), this), 0, 1);
    grid->addWidget(m_dataSets, 1, 0);
    grid->addWidget(m_fields, 1, 1);
    grid->addWidget(okCancel(this), 2, 0, 1, 2);
    connect(m_dataSets, &QListWidget::currentRowChanged, this, &FieldInsertDialog::dataSetChosen);
    connect(m_fields, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    m_dataSets->setCurrentRow(0);
    resize(460, 320);
}

void FieldInsertDialog::dataSetChosen()
{
    m_fields->clear();
    const QListWidgetItem *chosen = m_dataSets->currentItem();
    if (!chosen)
        return;
    if (chosen->text() == kOther) {
        // The system variables under their labels; the name goes in the text.
        for (const report::ExprSystemVariable &variable : report::exprSystemVariables()) {
            auto *item = new QListWidgetItem(variable.label, m_fields);
            item->setData(Qt::UserRole, QLatin1Char('[') + variable.name + QLatin1Char(']'));
        }
    } else {
        for (const QString &field : fieldNames(dataSetOf(m_report, chosen->text()))) {
            auto *item = new QListWidgetItem(field, m_fields);
            item->setData(Qt::UserRole, fieldReference(chosen->text(), field));
        }
    }
    m_fields->setCurrentRow(0);
}

QString FieldInsertDialog::insertion() const
{
    const QListWidgetItem *field = m_fields->currentItem();
    return field ? field->data(Qt::UserRole).toString() : QString();
}
