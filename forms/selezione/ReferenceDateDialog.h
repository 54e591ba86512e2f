#pragma once
// Asks the date a list of figures is counted at, in the selection window's look: caption
// "Selezione", the same font, "Annulla" and "Stampa".

#include <QDate>
#include <QDialog>
#include <optional>

class QDateEdit;
class QPushButton;

class ReferenceDateDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ReferenceDateDialog(QWidget *parent = nullptr);

    QDateEdit *sel_data() const { return m_date; }
    QPushButton *bt_annulla() const { return m_btAnnulla; }
    QPushButton *bt_stampa() const { return m_btStampa; }

    // Shows the window modally on `initial`; the chosen date after "Stampa", nothing after
    // "Annulla" (or closing the window).
    std::optional<QDate> ask(const QDate &initial);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QDateEdit *m_date = nullptr;
    QPushButton *m_btAnnulla = nullptr;
    QPushButton *m_btStampa = nullptr;
};
