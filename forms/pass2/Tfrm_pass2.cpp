#include "forms/pass2/Tfrm_pass2.h"

#include "controls/SansFont.h"
#include "forms/CentreOnScreen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int kClientWidth = 336;
constexpr int kClientHeight = 292;
constexpr int kFontPixels = 13;
constexpr int kEditWidth = 200;
constexpr int kButtonWidth = 90;

QLabel *centredLabel(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit *passwordEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Normal);
    edit->setFixedWidth(kEditWidth);
    return edit;
}

QPushButton *dialogButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter must never confirm by itself: with the new edits still empty it would remove the
    // password of an archive the user meant to protect.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFixedWidth(kButtonWidth);
    return button;
}

} // namespace

Tfrm_pass2::Tfrm_pass2(QWidget *parent)
    : QDialog(parent), m_oldPass(passwordEdit(this, "old_pass")), m_pass1(passwordEdit(this, "pass1")),
      m_pass2(passwordEdit(this, "pass2")), m_annulla(dialogButton(this, "annulla", QStringLiteral("Annulla"))),
      m_ok(dialogButton(this, "ok", QStringLiteral("OK")))
{
    setObjectName(QStringLiteral("frm_pass2"));
    setWindowTitle(QStringLiteral("Password"));
    setFont(sansSerifFont(kFontPixels));
    setFixedSize(kClientWidth, kClientHeight);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_annulla, &QPushButton::clicked, this, &QDialog::reject);

    m_warning = centredLabel(this, QStringLiteral("Attenzione: all'avvio, dopo tre password errate\n"
                                                  "il programma si chiude senza aprire l'archivio.\n"
                                                  "Conservate la password in un luogo sicuro."));
    m_warning->setObjectName(QStringLiteral("avviso"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_annulla);
    buttons->addSpacing(16);
    buttons->addWidget(m_ok);
    buttons->addStretch();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 12, 10);
    column->setSpacing(6);
    column->addWidget(centredLabel(this, QStringLiteral("Se lo desiderate potete proteggere l'archivio.")));
    column->addSpacing(6);
    column->addWidget(centredLabel(this, QStringLiteral("Riscrivete la vecchia password")));
    column->addWidget(m_oldPass, 0, Qt::AlignHCenter);
    column->addSpacing(6);
    column->addWidget(centredLabel(this, QStringLiteral("Scrivete DUE volte la nuova password")));
    column->addWidget(m_pass1, 0, Qt::AlignHCenter);
    column->addWidget(m_pass2, 0, Qt::AlignHCenter);
    m_emptyHint = centredLabel(this, QString());
    allowEmptyPassword(true);
    column->addWidget(m_emptyHint);
    column->addStretch();
    column->addLayout(buttons);
    column->addStretch();
    column->addWidget(m_warning);

    setTabOrder(m_oldPass, m_pass1);
    setTabOrder(m_pass1, m_pass2);
    setTabOrder(m_pass2, m_annulla);
    setTabOrder(m_annulla, m_ok);
}

void Tfrm_pass2::allowEmptyPassword(bool allowed)
{
    m_emptyHint->setText(allowed ? QStringLiteral("campo vuoto = nessuna password")
                                 : QStringLiteral("sul server la password è obbligatoria"));
}

std::optional<Tfrm_pass2::Entries> Tfrm_pass2::ask()
{
    m_closedWith.reset();
    exec();
    return std::exchange(m_closedWith, std::nullopt);
}

// Every way of closing ends here (buttons, Escape, the title bar's close), so this is the
// last moment the typed texts exist.
void Tfrm_pass2::done(int result)
{
    if (result == QDialog::Accepted)
        m_closedWith = Entries{m_oldPass->text(), m_pass1->text(), m_pass2->text()};
    else
        m_closedWith.reset();
    clearEdits();
    QDialog::done(result);
}

void Tfrm_pass2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen(*this);
    m_oldPass->setFocus(Qt::OtherFocusReason);
}

// A window hidden without done() is closed all the same.
void Tfrm_pass2::hideEvent(QHideEvent *event)
{
    clearEdits();
    QDialog::hideEvent(event);
}

// setText, not clear(): clear() is undoable, and Ctrl+Z would bring the text back.
void Tfrm_pass2::clearEdits()
{
    for (QLineEdit *edit : {m_oldPass, m_pass1, m_pass2})
        edit->setText(QString());
}
