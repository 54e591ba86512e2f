#include "output/report/ui/dialogs/PageOptionsDialog.h"

#include "output/report/model/TqnPage.h"
#include "output/report/ui/dialogs/DialogParts.h"
#include "output/report/ui/dialogs/PaperSizes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using report::dialogs::mmBox;
using report::dialogs::tenthsOf;

PageOptionsDialog::PageOptionsDialog(TqnPage &page, QWidget *parent) : QDialog(parent), m_page(page)
{
    setWindowTitle(QStringLiteral("Opzioni di pagina"));
    const TqnPaper &paper = page.Paper;
    auto *grid = new QGridLayout(this);

    auto *sheet = new QGroupBox(QStringLiteral("Foglio"), this);
    auto *sheetForm = new QFormLayout(sheet);
    m_portrait = new QRadioButton(QStringLiteral("Verticale"), sheet);
    m_landscape = new QRadioButton(QStringLiteral("Orizzontale"), sheet);
    (paper.Orientation ? m_landscape : m_portrait)->setChecked(true);
    auto *orientation = new QVBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    sheetForm->addRow(QStringLiteral("Orientamento"), orientation);
    m_paper = new QComboBox(sheet);
    for (const PaperSize &size : paperSizes())
        m_paper->addItem(size.name, size.code);
    const int index = m_paper->findData(paperSize(paper.Size) ? paper.Size : kCustomPaper);
    m_paper->setCurrentIndex(index);
    sheetForm->addRow(QStringLiteral("Misura"), m_paper);
    m_width = mmBox(paper.Width, sheet);
    m_height = mmBox(paper.Height, sheet);
    sheetForm->addRow(QStringLiteral("Larghezza (mm)"), m_width);
    sheetForm->addRow(QStringLiteral("Altezza (mm)"), m_height);
    grid->addWidget(sheet, 0, 0);

    auto *marginBox = new QGroupBox(QStringLiteral("Margini pagina"), this);
    auto *marginForm = new QFormLayout(marginBox);
    const qint32 values[4] = {paper.Left, paper.Top, paper.Right, paper.Bottom};
    const char *labels[4] = {"Sinistro (mm)", "Superiore (mm)", "Destro (mm)", "Inferiore (mm)"};
    for (int side = 0; side < 4; ++side) {
        m_margins[side] = mmBox(values[side], marginBox, 500.0);
        marginForm->addRow(QString::fromUtf8(labels[side]), m_margins[side]);
    }
    m_unused = new QCheckBox(QStringLiteral("Non usati"), marginBox);
    m_unused->setChecked(!page.UseMargins);
    marginForm->addRow(m_unused);
    grid->addWidget(marginBox, 0, 1);

    auto *options = new QGroupBox(QStringLiteral("Opzioni"), this);
    auto *optionsLayout = new QVBoxLayout(options);
    m_toPrevious = new QCheckBox(QStringLiteral("Stampa alla pagina precedente"), options);
    m_titleFirst = new QCheckBox(QStringLiteral("Intestazione sulla prima pagina"), options);
    m_headerInTable = new QCheckBox(QStringLiteral("Copia intestazione in tabella"), options);
    m_toPrevious->setChecked(page.PrintToPrevPage);
    m_titleFirst->setChecked(page.TitleBeforeHeader);
    m_headerInTable->setChecked(page.PrintHeaderInTable);
    optionsLayout->addWidget(m_toPrevious);
    optionsLayout->addWidget(m_titleFirst);
    optionsLayout->addWidget(m_headerInTable);
    grid->addWidget(options, 1, 0);

    auto *columnBox = new QGroupBox(QStringLiteral("Colonne"), this);
    auto *columnForm = new QFormLayout(columnBox);
    m_columns = new QSpinBox(columnBox);
    m_columns->setRange(1, 32);
    m_columns->setValue(qMax(1, page.Columns));
    m_gap = mmBox(page.ColumnGap, columnBox, 500.0);
    columnForm->addRow(QStringLiteral("Numero"), m_columns);
    columnForm->addRow(QStringLiteral("Distanza tra colonne, mm"), m_gap);
    grid->addWidget(columnBox, 1, 1);

    auto *scaleBox = new QGroupBox(QStringLiteral("Ingrandimento"), this);
    auto *scaleLayout = new QHBoxLayout(scaleBox);
    const char *scales[3] = {"Proporzioni", "Larghezza pagina", "Altezza pagina"};
    for (int mode = 0; mode < 3; ++mode) {
        m_scale[mode] = new QRadioButton(QString::fromUtf8(scales[mode]), scaleBox);
        scaleLayout->addWidget(m_scale[mode]);
    }
    m_scale[qBound(0, int(page.ScaleMode), 2)]->setChecked(true);
    grid->addWidget(scaleBox, 2, 0, 1, 2);
    grid->addWidget(report::dialogs::okCancel(this), 3, 0, 1, 2);

    connect(m_paper, &QComboBox::currentIndexChanged, this, &PageOptionsDialog::paperChosen);
    connect(m_unused, &QCheckBox::toggled, this, [this](bool unused) {
        for (QDoubleSpinBox *box : m_margins)
            box->setEnabled(!unused);
    });
    for (QDoubleSpinBox *box : m_margins)
        box->setEnabled(page.UseMargins);
    const bool custom = m_paper->currentData().toInt() == kCustomPaper;
    m_width->setEnabled(custom);
    m_height->setEnabled(custom);
}

void PageOptionsDialog::paperChosen()
{
    // A named size fills in its measures; only "Personalizzato" lets them be typed.
    const PaperSize *size = paperSize(m_paper->currentData().toInt());
    const bool custom = !size || size->code == kCustomPaper;
    m_width->setEnabled(custom);
    m_height->setEnabled(custom);
    if (!custom) {
        m_width->setValue(size->width / 10.0);
        m_height->setValue(size->height / 10.0);
    }
}

void PageOptionsDialog::accept()
{
    TqnPaper &paper = m_page.Paper;
    paper.Orientation = m_landscape->isChecked() ? 1 : 0;
    paper.Size = m_paper->currentData().toInt();
    // A size too small to hold anything would leave no room for a band.
    paper.Width = qMax(100, tenthsOf(m_width));
    paper.Height = qMax(100, tenthsOf(m_height));
    paper.Left = tenthsOf(m_margins[0]);
    paper.Top = tenthsOf(m_margins[1]);
    paper.Right = tenthsOf(m_margins[2]);
    paper.Bottom = tenthsOf(m_margins[3]);
    m_page.UseMargins = !m_unused->isChecked();
    m_page.PrintToPrevPage = m_toPrevious->isChecked();
    m_page.TitleBeforeHeader = m_titleFirst->isChecked();
    m_page.PrintHeaderInTable = m_headerInTable->isChecked();
    m_page.Columns = m_columns->value();
    m_page.ColumnGap = tenthsOf(m_gap);
    m_page.ScaleMode = m_scale[2]->isChecked()   ? TqnScaleMode::smPageHeight
                       : m_scale[1]->isChecked() ? TqnScaleMode::smPageWidth
                                                 : TqnScaleMode::smProportional;
    QDialog::accept();
}
