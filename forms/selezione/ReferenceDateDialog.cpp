#include "forms/selezione/ReferenceDateDialog.h"

#include "controls/SansFont.h"
#include "forms/CentreOnScreen.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
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
    m_date = new QLineEdit(this);
    m_date->setObjectName(QStringLiteral("sel_data"));
    m_date->setPlaceholderText(QStringLiteral("GG/MM/AAAA"));
    m_date->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}/?[0-9]{0,2}/?[0-9]{0,4}")), m_date));
    m_date->setGeometry(8, 24, 121, 21);
    label->setBuddy(m_date);
    connect(m_date, &QLineEdit::textEdited, this, [this] { m_error->hide(); });

    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("lb_errore"));
    m_error->setGeometry(8, 46, 252, 16);
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    m_error->hide();

    m_btAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    m_btAnnulla->setObjectName(QStringLiteral("bt_annulla"));
    m_btAnnulla->setGeometry(96, 64, 80, 25);
    m_btAnnulla->setAutoDefault(false);
    connect(m_btAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    m_btStampa = new QPushButton(QStringLiteral("Stampa"), this);
    m_btStampa->setObjectName(QStringLiteral("bt_stampa"));
    m_btStampa->setGeometry(180, 64, 80, 25);
    m_btStampa->setDefault(true);
    connect(m_btStampa, &QPushButton::clicked, this, &ReferenceDateDialog::stampaClick);
}

std::optional<QDate> ReferenceDateDialog::typedDate() const
{
    const QDate date = QDate::fromString(m_date->text().trimmed(), QStringLiteral("d/M/yyyy"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

void ReferenceDateDialog::stampaClick()
{
    if (typedDate()) {
        accept();
        return;
    }
    m_error->setText(QStringLiteral("La data \"%1\" non esiste.").arg(m_date->text()));
    m_error->show();
    m_date->setFocus();
    m_date->selectAll();
}

std::optional<QDate> ReferenceDateDialog::ask(const QDate &initial)
{
    m_date->setText(initial.toString(QStringLiteral("dd/MM/yyyy")));
    m_error->hide();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return typedDate();
}

void ReferenceDateDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(*this);
    // Typing replaces the whole date shown, as in any box offered with a value.
    m_date->setFocus();
    m_date->selectAll();
    QDialog::showEvent(event);
}
