#include "output/report/ui/dialogs/ReportOptionsDialog.h"

#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPrinterInfo>
#include <QVBoxLayout>

std::function<bool(const QString &)> &ReportOptionsDialog::selectPrinter()
{
    static std::function<bool(const QString &)> select = [](const QString &printer) {
        return TqnReport::installedPrinters()().contains(printer);
    };
    return select;
}

ReportOptionsDialog::ReportOptionsDialog(TqnReport &report, QWidget *parent) : QDialog(parent), m_report(report)
{
    setWindowTitle(QStringLiteral("Opzioni report"));
    const TqnLayout &layout = report.layout();
    auto *top = new QVBoxLayout(this);

    auto *printerBox = new QGroupBox(QStringLiteral("Stampante"), this);
    auto *printerLayout = new QVBoxLayout(printerBox);
    m_printers = new QComboBox(printerBox);
    m_printers->addItems(TqnReport::installedPrinters()());
    QString current = report.selectedPrinter();
    if (current.isEmpty())
        current = QPrinterInfo::defaultPrinterName();
    m_printers->setCurrentIndex(qMax(0, m_printers->findText(current)));
    m_choose = new QCheckBox(QStringLiteral("Seleziona dove stampare il report"), printerBox);
    m_choose->setChecked(layout.SystemPrinter == 0);
    printerLayout->addWidget(m_printers);
    printerLayout->addWidget(m_choose);
    top->addWidget(printerBox);

    auto *otherBox = new QGroupBox(QStringLiteral("Altro"), this);
    auto *otherLayout = new QVBoxLayout(otherBox);
    m_twoPass = new QCheckBox(QStringLiteral("Report in due fasi"), otherBox);
    m_collate = new QCheckBox(QStringLiteral("Fascicola report a pagine multiple"), otherBox);
    m_repaginate = new QCheckBox(QStringLiteral("Reimpagina le pagine fascicolate"), otherBox);
    otherLayout->addWidget(m_twoPass);
    otherLayout->addWidget(m_collate);
    otherLayout->addWidget(m_repaginate);
    top->addWidget(otherBox);
    top->addWidget(report::dialogs::okCancel(this));

    m_twoPass->setChecked(layout.TwoPass != 0);
    m_collate->setChecked(layout.Collate != 0);
    m_repaginate->setChecked(layout.Collate != 0 && layout.Repaginate != 0);
    m_repaginate->setEnabled(m_collate->isChecked());
    m_twoPass->setEnabled(!m_repaginate->isChecked());
    if (m_repaginate->isChecked())
        m_twoPass->setChecked(true);
    connect(m_collate, &QCheckBox::toggled, this, &ReportOptionsDialog::collateToggled);
    connect(m_repaginate, &QCheckBox::toggled, this, &ReportOptionsDialog::repaginateToggled);
}

void ReportOptionsDialog::collateToggled(bool on)
{
    m_repaginate->setEnabled(on);
    if (!on)
        m_repaginate->setChecked(false);
}

void ReportOptionsDialog::repaginateToggled(bool on)
{
    // Repaginating needs the page count of a first pass.
    if (on)
        m_twoPass->setChecked(true);
    m_twoPass->setEnabled(!on);
}

void ReportOptionsDialog::accept()
{
    TqnLayout &layout = m_report.layout();
    layout.SystemPrinter = m_choose->isChecked() ? 0 : 0xFFFF;
    layout.TwoPass = (m_twoPass->isChecked() || m_repaginate->isChecked()) ? 1 : 0;
    layout.Collate = m_collate->isChecked() ? 1 : 0;
    layout.Repaginate = m_repaginate->isChecked() ? 1 : 0;
    const QString chosen = m_printers->currentText();
    if (!chosen.isEmpty()) {
        if (selectPrinter()(chosen)) {
            m_report.setSelectedPrinter(chosen);
            layout.PrinterName = chosen;
        } else {
            // The previous printer stays selected.
            m_report.messages().show(QStringLiteral("La stampante selezionata non è valida"), QStringLiteral("Errore"),
                                     TqnMessageIcon::Error);
        }
    }
    QDialog::accept();
}
