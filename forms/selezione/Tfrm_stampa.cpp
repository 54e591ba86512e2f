#include "forms/selezione/Tfrm_stampa.h"

#include "controls/SansFont.h"

Tfrm_stampa::Tfrm_stampa(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_stampa"));
    setWindowTitle(QStringLiteral("Stampa"));
    setFont(sansSerifFont(11));
}
