#include "forms/selezione/ReferenceDateDialog.h"

#include "controls/SansFont.h"
#include "forms/CentreOnScreen.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kDateClientWidth = 268;
constexpr int kDateClientHeight = 96;
constexpr int kDateFontPixels = 11;

} // namespace

ReferenceDateDialog::ReferenceDateDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_data"));
    setWindowTitle(QStringLiteral("Selezione"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(sansSerifFont(kDateFontPixels));
    setFixedSize(kDateClientWidth, kDateClientHeight);

    auto *label = new QLabel(QStringLiteral("Statistiche alla data del"), this);
    label->setObjectName(QStringLiteral("lb_data"));
    label->move(8, 8);
    label->adjustSize();
    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("sel_data"));
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_date->setCalendarPopup(true);
    m_date->setGeometry(8, 24, 121, 21);
    label->setBuddy(m_date);

    m_btAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    m_btAnnulla->setObjectName(QStringLiteral("bt_annulla"));
    m_btAnnulla->setGeometry(96, 64, 80, 25);
    m_btAnnulla->setAutoDefault(false);
    connect(m_btAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    m_btStampa = new QPushButton(QStringLiteral("Stampa"), this);
    m_btStampa->setObjectName(QStringLiteral("bt_stampa"));
    m_btStampa->setGeometry(180, 64, 80, 25);
    m_btStampa->setDefault(true);
    connect(m_btStampa, &QPushButton::clicked, this, &QDialog::accept);
}

std::optional<QDate> ReferenceDateDialog::ask(const QDate &initial)
{
    m_date->setDate(initial);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_date->date();
}

void ReferenceDateDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    m_date->setFocus();
    QDialog::showEvent(event);
}
