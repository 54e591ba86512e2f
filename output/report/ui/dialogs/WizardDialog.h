#pragma once
// The report wizard: a dataset and some of its fields, a title, the orientation and an
// optional grouping field; OK makes the list layout.

#include "output/report/ui/dialogs/ListLayoutBuilder.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class TqnReport;

class WizardDialog final : public QDialog {
    Q_OBJECT
public:
    static const QString kNoGroup;   // "[Nessun raggruppamento]"

    explicit WizardDialog(TqnReport &report, QWidget *parent = nullptr);

    QComboBox *dataSet() const { return m_dataSet; }
    QListWidget *fields() const { return m_fields; }   // checkable
    QLineEdit *title() const { return m_title; }
    QRadioButton *landscape() const { return m_landscape; }
    QComboBox *group() const { return m_group; }
    ListLayoutChoice choice() const;

    // Nothing happens without a checked field.
    void accept() override;

private:
    void dataSetChosen();

    TqnReport &m_report;
    QComboBox *m_dataSet;
    QListWidget *m_fields;
    QLineEdit *m_title;
    QRadioButton *m_portrait, *m_landscape;
    QComboBox *m_group;
};
