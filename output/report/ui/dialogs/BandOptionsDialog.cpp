#include "output/report/ui/dialogs/BandOptionsDialog.h"

#include "output/report/ui/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

BandOptionsDialog::BandOptionsDialog(TqnBandView &band, QWidget *parent) : QDialog(parent), m_band(band)
{
    setWindowTitle(QStringLiteral("Opzioni banda"));
    auto *column = new QVBoxLayout(this);
    column->addWidget(new QLabel(bandTypeName(int(band.BandType)), this));
    for (const TqnBandOption &option : kBandOptionList) {
        if (!bandHonours(band.BandType, option.option))
            continue;
        auto *box = new QCheckBox(QString::fromUtf8(option.caption), this);
        box->setToolTip(QString::fromUtf8(option.hint));
        box->setChecked(band.BandOptions & option.option);
        column->addWidget(box);
        m_boxes.emplace_back(option.option, box);
    }
    column->addWidget(report::dialogs::okCancel(this));
}

bool BandOptionsDialog::offered(TqnBandType type)
{
    for (const TqnBandOption &option : kBandOptionList)
        if (bandHonours(type, option.option))
            return true;
    return false;
}

QCheckBox *BandOptionsDialog::box(quint16 option) const
{
    for (const auto &[bit, box] : m_boxes)
        if (bit == option)
            return box;
    return nullptr;
}

void BandOptionsDialog::accept()
{
    // Bits this dialog does not show (other kinds' options, ones a newer program set) stay.
    for (const auto &[bit, box] : m_boxes)
        m_band.BandOptions = box->isChecked() ? (m_band.BandOptions | bit) : (m_band.BandOptions & ~bit);
    QDialog::accept();
}
