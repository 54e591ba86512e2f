#pragma once
// "Inserisci campo DB": a dataset (or "Altro" for the system variables) and one of its fields.

#include <QDialog>

class QListWidget;
class TqnReport;

class FieldInsertDialog final : public QDialog {
    Q_OBJECT
public:
    static const QString kOther;   // "Altro"

    explicit FieldInsertDialog(const TqnReport &report, QWidget *parent = nullptr);

    QListWidget *dataSets() const { return m_dataSets; }
    QListWidget *fields() const { return m_fields; }
    // `[Anagrafica."Capofamiglia"]` or `[PAGE#]`; empty when nothing is chosen.
    QString insertion() const;

private:
    void dataSetChosen();

    const TqnReport &m_report;
    QListWidget *m_dataSets;
    QListWidget *m_fields;
};
