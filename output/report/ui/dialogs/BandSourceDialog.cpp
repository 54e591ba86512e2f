#include "output/report/ui/dialogs/BandSourceDialog.h"

#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/DialogParts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

const QString BandSourceDialog::kNone = QStringLiteral("[Nessuno]");
const QString BandSourceDialog::kVirtual = QStringLiteral("[Sorgente dati virtuale]");

BandSourceDialog::BandSourceDialog(TqnReport &report, TqnBandView &band, const QStringList &sources, QWidget *parent)
    : QDialog(parent), m_report(report), m_band(band)
{
    setWindowTitle(QStringLiteral("Sorgente di dati della banda"));
    auto *top = new QVBoxLayout(this);

    auto *sourceRow = new QHBoxLayout;
    m_source = new QComboBox(this);
    m_source->addItem(kNone);
    m_source->addItem(kVirtual);
    m_source->addItems(sources);
    m_source->setMinimumWidth(240);
    auto *nameButton = new QToolButton(this);
    nameButton->setText(QStringLiteral("?"));
    nameButton->setToolTip(QStringLiteral("Visualizza il nome del qnDataset"));
    connect(nameButton, &QToolButton::clicked, this, &BandSourceDialog::showName);
    auto *sourceForm = new QFormLayout;
    sourceForm->addRow(QStringLiteral("Sorgente dati"), m_source);
    sourceRow->addLayout(sourceForm, 1);
    sourceRow->addWidget(nameButton);
    top->addLayout(sourceRow);

    auto *ranges = new QHBoxLayout;
    auto *begin = new QGroupBox(QStringLiteral("Inizio"), this);
    auto *beginLayout = new QVBoxLayout(begin);
    m_beginFirst = new QRadioButton(QStringLiteral("Primo elemento"), begin);
    m_beginCurrent = new QRadioButton(QStringLiteral("Elemento corrente"), begin);
    beginLayout->addWidget(m_beginFirst);
    beginLayout->addWidget(m_beginCurrent);
    beginLayout->addStretch();
    auto *end = new QGroupBox(QStringLiteral("Fine"), this);
    auto *endLayout = new QVBoxLayout(end);
    m_endLast = new QRadioButton(QStringLiteral("Ultimo elemento"), end);
    m_endCurrent = new QRadioButton(QStringLiteral("Elemento corrente"), end);
    m_endCounted = new QRadioButton(QStringLiteral("Elementi contati"), end);
    m_count = new QSpinBox(end);
    m_count->setRange(0, 1000000);
    auto *countForm = new QFormLayout;
    countForm->addRow(QStringLiteral("Numero"), m_count);
    endLayout->addWidget(m_endLast);
    endLayout->addWidget(m_endCurrent);
    endLayout->addWidget(m_endCounted);
    endLayout->addLayout(countForm);
    ranges->addWidget(begin);
    ranges->addWidget(end);
    top->addLayout(ranges);

    auto *filterBox = new QGroupBox(QStringLiteral("Filtro"), this);
    auto *filterLayout = new QFormLayout(filterBox);
    m_filtered = new QCheckBox(QStringLiteral("Attiva il filtro"), filterBox);
    m_filter = new QLineEdit(filterBox);
    filterLayout->addRow(m_filtered);
    filterLayout->addRow(QStringLiteral("Filtro"), m_filter);
    top->addWidget(filterBox);
    top->addWidget(report::dialogs::okCancel(this));

    loadCurrent();
    connect(m_endCounted, &QRadioButton::toggled, this, &BandSourceDialog::updateEnabling);
    connect(m_source, &QComboBox::currentIndexChanged, this, &BandSourceDialog::updateEnabling);
    updateEnabling();
}

void BandSourceDialog::loadCurrent()
{
    m_beginFirst->setChecked(true);
    m_endLast->setChecked(true);
    const TqnDataset *entry = m_report.layout().DataSets.find(m_band.dataSetName());
    if (!entry || m_band.dataSetName().isEmpty())
        return;
    if (auto *bound = qobject_cast<const TqnDBDataSet *>(entry)) {
        int index = m_source->findText(bound->ComponentText, Qt::MatchFixedString);
        if (index < 0) {   // a source of a window not open now stays choosable
            m_source->addItem(bound->ComponentText);
            index = m_source->count() - 1;
        }
        m_source->setCurrentIndex(index);
        m_filtered->setChecked(bound->Filtered);
        m_filter->setText(bound->Filter);
    } else {
        m_source->setCurrentIndex(1);
    }
    (entry->RangeBegin == TqnRangeBegin::rbCurrent ? m_beginCurrent : m_beginFirst)->setChecked(true);
    switch (entry->RangeEnd) {
    case TqnRangeEnd::reLast: m_endLast->setChecked(true); break;
    case TqnRangeEnd::reCurrent: m_endCurrent->setChecked(true); break;
    case TqnRangeEnd::reCount: m_endCounted->setChecked(true); break;
    }
    m_count->setValue(entry->RangeEndCount);
}

void BandSourceDialog::updateEnabling()
{
    // A virtual source has no records of its own to start from or end at: it prints from the
    // first element as many times as counted.
    const bool isVirtual = m_source->currentIndex() == 1;
    if (isVirtual) {
        m_beginFirst->setChecked(true);
        m_endCounted->setChecked(true);
    }
    for (QRadioButton *fixed : {m_beginCurrent, m_endLast, m_endCurrent})
        fixed->setEnabled(!isVirtual);
    m_count->setEnabled(m_endCounted->isChecked());
    // Only a window's table can be filtered.
    const bool bound = m_source->currentIndex() > 1;
    m_filtered->setEnabled(bound);
    m_filter->setEnabled(bound);
}

void BandSourceDialog::showName()
{
    const QString name = m_band.dataSetName();
    const bool assigned = !name.isEmpty() && m_report.layout().DataSets.find(name);
    m_report.messages().show(assigned ? QStringLiteral("Il nome del qnDataset corrente è: ") + name
                                      : QStringLiteral("Non è stato assegnato nessun qnDataset"),
                             QStringLiteral("Informazioni"), TqnMessageIcon::Information);
}

void BandSourceDialog::accept()
{
    TqnDatasetTable &table = m_report.layout().DataSets;
    if (TqnDataset *previous = m_band.dataSetName().isEmpty() ? nullptr : table.find(m_band.dataSetName()))
        table.remove(previous);
    m_band.FormatText.clear();
    if (m_source->currentIndex() > 0) {
        TqnDataset *entry = nullptr;
        if (m_source->currentIndex() == 1) {
            entry = new TqnDataset(table.holder());
        } else {
            auto *bound = new TqnDBDataSet(table.holder());
            bound->ComponentText = m_source->currentText();
            bound->setDataSet(qobject_cast<TDataSet *>(ComponentDirectory::instance().find(bound->ComponentText)));
            bound->Filtered = m_filtered->isChecked();
            bound->Filter = m_filter->text();
            entry = bound;
        }
        entry->RangeBegin = m_beginCurrent->isChecked() ? TqnRangeBegin::rbCurrent : TqnRangeBegin::rbFirst;
        entry->RangeEnd = m_endCounted->isChecked() ? TqnRangeEnd::reCount
                          : m_endCurrent->isChecked() ? TqnRangeEnd::reCurrent
                                                      : TqnRangeEnd::reLast;
        entry->RangeEndCount = m_count->value();
        entry->setName(m_band.Name + QStringLiteral("_DataSet"));
        table.add(entry);
        m_band.FormatText = entry->name();
    }
    QDialog::accept();
}
