#include "forms/ReportMessageBox.h"

#include <QApplication>
#include <QMessageBox>

void ReportMessageBox::show(const QString &text, const QString &caption, TqnMessageIcon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case TqnMessageIcon::Information: boxIcon = QMessageBox::Information; break;
    case TqnMessageIcon::Warning: boxIcon = QMessageBox::Warning; break;
    case TqnMessageIcon::Error: boxIcon = QMessageBox::Critical; break;
    case TqnMessageIcon::None: break;
    }
    QMessageBox box(boxIcon, caption.isEmpty() ? QApplication::applicationDisplayName() : caption, text,
                    QMessageBox::Ok, m_owner);
    box.exec();
}

void ReportMessageBox::beep()
{
    QApplication::beep();
}
