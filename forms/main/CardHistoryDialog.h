#pragma once
// "Storia della scheda": the changes of one card and of its members, newest first, read
// from the archive's history through a dataset of its own; and, for a Responsabile, the
// removal of the history older than a chosen day (the office's retention period), which
// the archive itself records. An Operatore sees the removal disabled, with the reason.

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class TArcDatabase;

class CardHistoryDialog final : public QDialog {
    Q_OBJECT
public:
    CardHistoryDialog(TArcDatabase &database, qint64 card, const QDate &today, QWidget *parent = nullptr);

    QTableWidget *changes() const { return m_changes; }
    QDateEdit *before() const { return m_before; }
    QPushButton *removeOld() const { return m_remove; }
    // Fills the list again from the archive.
    void reload();

private:
    void removeOlder();

    TArcDatabase &m_database;
    qint64 m_card;
    QTableWidget *m_changes;
    QDateEdit *m_before;
    QPushButton *m_remove;
    QLabel *m_count;
};
