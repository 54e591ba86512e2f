#pragma once
// The print selection window `frm_stampa`: the user picks a printed list from the catalogue
// and, optionally, a band, a country of origin and whether the list page's search applies.
// Created once and reused, so every choice stays as the user left it.

#include "output/criteria/CardCriteria.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TExDBGrid;
class TMainData;

class Tfrm_stampa final : public QDialog {
    Q_OBJECT
public:
    // The band selector's entry for "no band chosen".
    static QString allBands() { return QStringLiteral("Tutti"); }

    explicit Tfrm_stampa(TMainData &data, QWidget *parent = nullptr);
    ~Tfrm_stampa() override;

    QComboBox *sel_fascia() const { return m_selFascia; }
    QLineEdit *sel_paese() const { return m_selPaese; }
    QCheckBox *cerca() const { return m_cerca; }
    TExDBGrid *grid_stampe() const { return m_grid; }
    QPushButton *bt_annulla() const { return m_btAnnulla; }
    QPushButton *bt_stampa() const { return m_btStampa; }

    // The cards the chosen options accept, given the list page's search text: the search
    // counts only when the box is enabled and checked.
    CardCriteria criteria(const QString &searchText) const;

    // The band values offered, "Tutti" first; the band chosen stays chosen while it is offered.
    void refillBands();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fitCatalogue();

    TMainData &m_data;
    QComboBox *m_selFascia = nullptr;
    QLineEdit *m_selPaese = nullptr;
    QCheckBox *m_cerca = nullptr;
    TExDBGrid *m_grid = nullptr;
    QPushButton *m_btAnnulla = nullptr;
    QPushButton *m_btStampa = nullptr;
};
