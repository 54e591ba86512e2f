#pragma once
// "Sorgente di dati della banda": which records a data band walks. On OK the band's earlier
// entry leaves the layout's dataset table and a new one named "<band>_DataSet" takes its place.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class TqnBandView;
class TqnReport;

class BandSourceDialog final : public QDialog {
    Q_OBJECT
public:
    static const QString kNone;      // "[Nessuno]"
    static const QString kVirtual;   // "[Sorgente dati virtuale]"

    // `sources`: "frm_main.Anagrafica" and the like, as listed after the two fixed entries.
    BandSourceDialog(TqnReport &report, TqnBandView &band, const QStringList &sources, QWidget *parent = nullptr);

    QComboBox *source() const { return m_source; }
    QRadioButton *beginCurrent() const { return m_beginCurrent; }
    QRadioButton *endLast() const { return m_endLast; }
    QRadioButton *endCurrent() const { return m_endCurrent; }
    QRadioButton *endCounted() const { return m_endCounted; }
    QSpinBox *count() const { return m_count; }
    QCheckBox *filtered() const { return m_filtered; }
    QLineEdit *filter() const { return m_filter; }
    // The name button: tells which entry the band uses now.
    void showName();

    void accept() override;

private:
    void loadCurrent();
    void updateEnabling();

    TqnReport &m_report;
    TqnBandView &m_band;
    QComboBox *m_source;
    QRadioButton *m_beginFirst, *m_beginCurrent;
    QRadioButton *m_endLast, *m_endCurrent, *m_endCounted;
    QSpinBox *m_count;
    QCheckBox *m_filtered;
    QLineEdit *m_filter;
};
