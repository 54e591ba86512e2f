#include "output/report/ui/dialogs/WizardDialog.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/ReportSources.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

const QString WizardDialog::kNoGroup = QStringLiteral("[Nessun raggruppamento]");

WizardDialog::WizardDialog(TqnReport &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setWindowTitle(QStringLiteral("Autocomposizione report"));
    auto *form = new QFormLayout(this);
    m_dataSet = new QComboBox(this);
    m_dataSet->addItems(report::dialogs::availableDataSets(report));
    form->addRow(QStringLiteral("DB"), m_dataSet);
    m_fields = new QListWidget(this);
    form->addRow(QStringLiteral("Campi da stampare"), m_fields);
    m_title = new QLineEdit(QStringLiteral("Elenco"), this);
    form->addRow(QStringLiteral("Titolo"), m_title);
    m_portrait = new QRadioButton(QStringLiteral("Verticale"), this);
    m_landscape = new QRadioButton(QStringLiteral("Orizzontale"), this);
    m_portrait->setChecked(true);
    auto *orientation = new QHBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    orientation->addStretch();
    form->addRow(QStringLiteral("Orientamento"), orientation);
    m_group = new QComboBox(this);
    form->addRow(QStringLiteral("Raggruppa per"), m_group);
    form->addRow(report::dialogs::okCancel(this));
    connect(m_dataSet, &QComboBox::currentIndexChanged, this, &WizardDialog::dataSetChosen);
    dataSetChosen();
    resize(420, 420);
}

void WizardDialog::dataSetChosen()
{
    const QStringList names = report::dialogs::fieldNames(report::dialogs::dataSetOf(m_report, m_dataSet->currentText()));
    m_fields->clear();
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, m_fields);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_group->clear();
    m_group->addItem(kNoGroup);
    m_group->addItems(names);
}

ListLayoutChoice WizardDialog::choice() const
{
    ListLayoutChoice choice;
    choice.dataSet = m_dataSet->currentText();
    for (int i = 0; i < m_fields->count(); ++i)
        if (m_fields->item(i)->checkState() == Qt::Checked)
            choice.fields << m_fields->item(i)->text();
    choice.title = m_title->text();
    choice.landscape = m_landscape->isChecked();
    if (m_group->currentIndex() > 0)
        choice.groupField = m_group->currentText();
    return choice;
}

void WizardDialog::accept()
{
    const ListLayoutChoice chosen = choice();
    if (chosen.fields.isEmpty()) {
        m_report.messages().show(QStringLiteral("Scegliere almeno un campo da stampare."), QStringLiteral("Attenzione"),
                                 TqnMessageIcon::Warning);
        return;
    }
    buildListLayout(m_report, chosen);
    QDialog::accept();
}
