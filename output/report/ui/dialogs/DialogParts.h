#pragma once
// Small pieces every designer dialog shares: the "&OK" / "&Annulla" row and mm spin boxes.

#include <QDialogButtonBox>
#include <QDoubleSpinBox>

class QDialog;

namespace report::dialogs {

// "&OK" and "&Annulla" wired to accept and reject.
QDialogButtonBox *okCancel(QDialog *dialog);
// Millimetres with one decimal, holding tenths of a millimetre.
QDoubleSpinBox *mmBox(qint32 tenths, QWidget *parent, double max = 2000.0);
inline qint32 tenthsOf(const QDoubleSpinBox *box) { return qRound(box->value() * 10.0); }

} // namespace report::dialogs
