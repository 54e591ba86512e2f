#include "forms/pass2/Tfrm_pass2.h"

#include "controls/SansFont.h"

Tfrm_pass2::Tfrm_pass2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_pass2"));
    setWindowTitle(QStringLiteral("Cambio password"));
    setFont(sansSerifFont(11));
}
