#pragma once
// "Condizione del gruppo": the expression of a group header band; a new group starts each
// time its value changes from one record to the next (a field, as [Anagrafica."Fascia"]).

#include "output/report/model/TqnView.h"

#include <QDialog>

class QLineEdit;
class TqnReport;

class GroupConditionDialog final : public QDialog {
    Q_OBJECT
public:
    GroupConditionDialog(TqnReport &report, TqnBandView &band, QWidget *parent = nullptr);

    QLineEdit *condition() const { return m_condition; }
    void accept() override;

private:
    TqnBandView &m_band;
    QLineEdit *m_condition;
};
