#include "forms/pass1/Tfrm_pass.h"

#include "controls/SansFont.h"
#include "forms/CentreOnScreen.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 315;
constexpr int kClientHeight = 133;
constexpr int kFontPixels = 13;

} // namespace

Tfrm_pass::Tfrm_pass(QWidget *parent)
    : QDialog(parent), m_label(new QLabel(this)), m_pass(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_annulla(new QPushButton(QStringLiteral("Annulla"), this))
{
    setObjectName(QStringLiteral("frm_pass"));
    setWindowTitle(QStringLiteral("Password"));
    setFont(sansSerifFont(kFontPixels));
    setFixedSize(kClientWidth, kClientHeight);

    m_label->setText(QStringLiteral("L'archivio è protetto !\n"
                                    "Inserire la password per accedere ai dati"));
    m_label->setAlignment(Qt::AlignCenter);

    m_pass->setObjectName(QStringLiteral("pass"));
    m_pass->setEchoMode(QLineEdit::Normal);

    // Enter anywhere in the dialog, the edit box included, presses the default button.
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_annulla->setObjectName(QStringLiteral("annulla"));
    m_annulla->setAutoDefault(false);
    for (QPushButton *button : {m_ok, m_annulla})
        button->setFixedWidth(90);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_annulla, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addSpacing(16);
    buttons->addWidget(m_annulla);
    buttons->addStretch();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(16, 10, 16, 10);
    column->setSpacing(8);
    column->addWidget(m_label);
    column->addWidget(m_pass);
    column->addLayout(buttons);
}

void Tfrm_pass::askForServer(const QString &address, bool protectedLink, const QString &lastUser)
{
    setWindowTitle(QStringLiteral("Password del server"));
    QString text = QStringLiteral("L'archivio è sul server\n%1\nInserire utente e password").arg(address);
    if (!protectedLink)
        text += QStringLiteral("\nAttenzione: il collegamento con il server non è protetto");
    m_label->setText(text);
    // The person's name above the password, each with its caption.
    if (!m_user) {
        m_user = new QLineEdit(this);
        m_user->setObjectName(QStringLiteral("utente"));
        auto *fields = new QFormLayout;
        auto *column = static_cast<QVBoxLayout *>(layout());
        column->removeWidget(m_pass);
        fields->addRow(QStringLiteral("Utente"), m_user);
        fields->addRow(QStringLiteral("Password"), m_pass);
        column->insertLayout(1, fields);
        setTabOrder(m_user, m_pass);
    }
    m_user->setText(lastUser);
    // The address may be long: the window grows to show it whole.
    setMinimumSize(kClientWidth, kClientHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(sizeHint().expandedTo(QSize(kClientWidth, kClientHeight)));
}

QString Tfrm_pass::user() const
{
    return m_user ? m_user->text().trimmed() : QString();
}

std::optional<QString> Tfrm_pass::askPassword()
{
    m_pass->clear();
    const bool accepted = exec() == QDialog::Accepted;
    QString typed = m_pass->text();
    m_pass->clear();   // the edit box does not keep the password once it is handed over
    if (!accepted)
        return std::nullopt;
    return typed;
}

void Tfrm_pass::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    // A remembered user name leaves only the password to type.
    if (m_user && m_user->text().isEmpty())
        m_user->setFocus(Qt::OtherFocusReason);
    else
        m_pass->setFocus(Qt::OtherFocusReason);
}
