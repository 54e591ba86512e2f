#include "forms/main/CardHistoryDialog.h"

#include "db/TField.h"
#include "forms/ErrorText.h"
#include "store/PeopleAccess.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct Column {
    const char *title;
    const char *field;
};

constexpr Column kColumns[] = {
    {"Quando", "Quando"}, {"Utente", "Utente"}, {"Azione", "Azione"}, {"Tabella", "Tabella"},
    {"Campo", "Campo"},   {"Prima", "Prima"},   {"Dopo", "Dopo"},
};

} // namespace

CardHistoryDialog::CardHistoryDialog(TArcDatabase &database, qint64 card, const QDate &today, QWidget *parent)
    : QDialog(parent), m_database(database), m_card(card), m_changes(new QTableWidget(this)),
      m_before(new QDateEdit(this)), m_remove(new QPushButton(QStringLiteral("Rimuovi la storia precedente"), this)),
      m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("frm_storia"));
    setWindowTitle(QStringLiteral("Storia della scheda"));
    m_changes->setObjectName(QStringLiteral("storia"));
    m_changes->setColumnCount(int(std::size(kColumns)));
    QStringList titles;
    for (const Column &c : kColumns)
        titles << QString::fromLatin1(c.title);
    m_changes->setHorizontalHeaderLabels(titles);
    m_changes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_changes->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_changes->verticalHeader()->hide();
    m_changes->horizontalHeader()->setStretchLastSection(true);

    m_before->setObjectName(QStringLiteral("prima_del"));
    m_before->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_before->setCalendarPopup(true);
    // A year back is the usual retention; the office chooses its own.
    m_before->setDate(today.addYears(-1));
    m_remove->setObjectName(QStringLiteral("rimuovi"));
    const QString refusal = store::operatorRefusal(m_database);
    m_remove->setEnabled(refusal.isEmpty());
    m_before->setEnabled(refusal.isEmpty());
    m_remove->setToolTip(refusal);
    connect(m_remove, &QPushButton::clicked, this, &CardHistoryDialog::removeOlder);
    auto *close = new QPushButton(QStringLiteral("Chiudi"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count);
    bottom->addStretch();
    bottom->addWidget(new QLabel(QStringLiteral("Storia di tutte le schede prima del"), this));
    bottom->addWidget(m_before);
    bottom->addWidget(m_remove);
    bottom->addSpacing(12);
    bottom->addWidget(close);
    auto *column = new QVBoxLayout(this);
    column->addWidget(m_changes);
    column->addLayout(bottom);
    resize(820, 420);
    reload();
}

void CardHistoryDialog::reload()
{
    TArcTable history;
    history.setDatabase(&m_database);
    history.setTableName(QStringLiteral("Storia"));
    history.setFilter(QStringLiteral("[ID_scheda] = %1").arg(m_card));
    history.setFiltered(true);
    history.setSortedBy({QStringLiteral("[ID] DESC")});
    history.setReadOnly(true);
    history.open();
    m_changes->setRowCount(0);
    for (history.first(); !history.eof(); history.next()) {
        const int row = m_changes->rowCount();
        m_changes->insertRow(row);
        for (int c = 0; c < int(std::size(kColumns)); ++c) {
            const TField *field = history.fieldByName(QString::fromLatin1(kColumns[c].field));
            const QString text = c == 0 ? field->asDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                                        : field->asString();
            m_changes->setItem(row, c, new QTableWidgetItem(text));
        }
    }
    history.close();
    m_changes->resizeColumnsToContents();
    m_count->setText(m_changes->rowCount() == 0 ? QStringLiteral("Nessuna modifica registrata")
                                                : QStringLiteral("%1 modifiche").arg(m_changes->rowCount()));
}

void CardHistoryDialog::removeOlder()
{
    const QDate before = m_before->date();
    if (QMessageBox::question(this, QStringLiteral("Storia della scheda"),
                              QStringLiteral("Rimuovere la storia di tutte le schede precedente al %1?\n"
                                             "La rimozione resta registrata.")
                                  .arg(before.toString(QStringLiteral("dd/MM/yyyy"))))
        != QMessageBox::Yes)
        return;
    try {
        const qint64 removed = store::purgeHistory(m_database, before);
        reload();
        QMessageBox::information(this, QStringLiteral("Storia della scheda"),
                                 QStringLiteral("Rimosse %1 righe della storia.").arg(removed));
    } catch (const std::exception &error) {
        QMessageBox::warning(this, QStringLiteral("Storia della scheda"), errorText(error));
    }
}
