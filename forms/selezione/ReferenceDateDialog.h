#pragma once
// Asks the date a list of figures is counted at, in the selection window's look: caption
// "Selezione", the same font, "Annulla" and "Stampa". The date is typed as GG/MM/AAAA and
// taken as typed; "Stampa" with a date that does not exist says so under the box and waits.

#include <QDate>
#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class ReferenceDateDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ReferenceDateDialog(QWidget *parent = nullptr);

    QLineEdit *sel_data() const { return m_date; }
    QLabel *lb_errore() const { return m_error; }
    QPushButton *bt_annulla() const { return m_btAnnulla; }
    QPushButton *bt_stampa() const { return m_btStampa; }

    // Shows the window modally on `initial`; the chosen date after "Stampa", nothing after
    // "Annulla" (or closing the window).
    std::optional<QDate> ask(const QDate &initial);

    // The date the box holds, when it is one (d/M/yyyy, leading zeros optional).
    std::optional<QDate> typedDate() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void stampaClick();

    QLineEdit *m_date = nullptr;
    QLabel *m_error = nullptr;
    QPushButton *m_btAnnulla = nullptr;
    QPushButton *m_btStampa = nullptr;
};
