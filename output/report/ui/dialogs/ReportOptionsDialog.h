#pragma once
// "Opzioni report": the printer and the two-pass, collate and repaginate options.

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class TqnReport;

class ReportOptionsDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ReportOptionsDialog(TqnReport &report, QWidget *parent = nullptr);

    QComboBox *printers() const { return m_printers; }
    QCheckBox *choosePrinter() const { return m_choose; }
    QCheckBox *twoPass() const { return m_twoPass; }
    QCheckBox *collate() const { return m_collate; }
    QCheckBox *repaginate() const { return m_repaginate; }

    // Selects a printer by name; false when it cannot be. Qt's list by default.
    static std::function<bool(const QString &printer)> &selectPrinter();

    void accept() override;

private:
    void collateToggled(bool on);
    void repaginateToggled(bool on);

    TqnReport &m_report;
    QComboBox *m_printers;
    QCheckBox *m_choose, *m_twoPass, *m_collate, *m_repaginate;
};
