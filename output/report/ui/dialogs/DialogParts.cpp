#include "output/report/ui/dialogs/DialogParts.h"

#include <QDialog>
#include <QPushButton>

namespace report::dialogs {

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Annulla"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QDoubleSpinBox *mmBox(qint32 tenths, QWidget *parent, double max)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setDecimals(1);
    box->setRange(0.0, max);
    box->setValue(tenths / 10.0);
    return box;
}

} // namespace report::dialogs
