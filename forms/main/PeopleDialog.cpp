#include "forms/main/PeopleDialog.h"

#include "forms/ErrorText.h"
#include "store/PeopleAccess.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

bool askPersonInWindow(QWidget *parent, PeopleDialog::NewPerson &person)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Nuova persona"));
    auto *name = new QLineEdit(&dialog);
    auto *manager = new QCheckBox(QStringLiteral("Responsabile"), &dialog);
    auto *password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Utente"), name);
    form->addRow(QStringLiteral("Ruolo"), manager);
    form->addRow(QStringLiteral("Password"), password);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    person = {name->text().trimmed(), manager->isChecked(), password->text()};
    return true;
}

} // namespace

PeopleDialog::PeopleDialog(TArcDatabase &database, QWidget *parent)
    : QDialog(parent), m_database(database), m_list(new QTableWidget(0, 3, this)),
      m_add(new QPushButton(QStringLiteral("Aggiungi..."), this)), m_disable(new QPushButton(QStringLiteral("Disattiva"), this)),
      m_enable(new QPushButton(QStringLiteral("Riattiva"), this)),
      m_password(new QPushButton(QStringLiteral("Nuova password..."), this))
{
    setObjectName(QStringLiteral("frm_persone"));
    setWindowTitle(QStringLiteral("Persone"));
    askNewPerson = [this](NewPerson &person) { return askPersonInWindow(this, person); };
    askNewPassword = [this](const QString &name, QString &password) {
        bool ok = false;
        password = QInputDialog::getText(this, QStringLiteral("Nuova password"),
                                         QStringLiteral("Nuova password per %1:").arg(name), QLineEdit::Password, {}, &ok);
        return ok;
    };
    m_list->setObjectName(QStringLiteral("persone"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Utente"), QStringLiteral("Ruolo"), QStringLiteral("Stato")});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);

    connect(m_add, &QPushButton::clicked, this, [this] {
        NewPerson person;
        if (askNewPerson(person))
            act([&] { store::addPerson(m_database, person.name,
                                       person.manager ? store::PersonRole::Responsabile : store::PersonRole::Operatore,
                                       person.password); });
    });
    connect(m_disable, &QPushButton::clicked, this, [this] {
        act([&] { store::setPersonEnabled(m_database, chosen(), false); });
    });
    connect(m_enable, &QPushButton::clicked, this, [this] {
        act([&] { store::setPersonEnabled(m_database, chosen(), true); });
    });
    connect(m_password, &QPushButton::clicked, this, [this] {
        QString password;
        if (!chosen().isEmpty() && askNewPassword(chosen(), password))
            act([&] { store::setPersonPassword(m_database, chosen(), password); });
    });
    auto *close = new QPushButton(QStringLiteral("Chiudi"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_add, m_disable, m_enable, m_password})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *row = new QHBoxLayout(this);
    row->addWidget(m_list, 1);
    row->addLayout(buttons);
    resize(520, 320);
    reload();
}

void PeopleDialog::reload()
{
    m_list->setRowCount(0);
    for (const store::Person &p : store::people(m_database)) {
        const int row = m_list->rowCount();
        m_list->insertRow(row);
        m_list->setItem(row, 0, new QTableWidgetItem(p.name));
        m_list->setItem(row, 1, new QTableWidgetItem(p.role == store::PersonRole::Responsabile ? QStringLiteral("Responsabile")
                                                                                                 : QStringLiteral("Operatore")));
        m_list->setItem(row, 2, new QTableWidgetItem(p.enabled ? QStringLiteral("attivo") : QStringLiteral("disattivato")));
    }
    m_list->resizeColumnsToContents();
    if (m_list->rowCount() > 0)
        m_list->selectRow(0);
}

QString PeopleDialog::chosen() const
{
    const int row = m_list->currentRow();
    return row >= 0 && m_list->item(row, 0) ? m_list->item(row, 0)->text() : QString();
}

// The server's refusal (a wrong name, a person of another archive) is shown as it comes.
void PeopleDialog::act(const std::function<void()> &change)
{
    try {
        change();
    } catch (const std::exception &error) {
        QMessageBox::warning(this, QStringLiteral("Persone"), errorText(error));
    }
    reload();
}
