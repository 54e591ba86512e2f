#pragma once
// The password prompt: asks for the archive password when the archive is protected. The
// typed text is shown in clear.

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class Tfrm_pass final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_pass(QWidget *parent = nullptr);

    // The archive is on a server: the prompt names the server (its address holds no
    // password) and asks for the person's "Utente" and "Password", the user name filled with
    // `lastUser`; over a link that does not protect the password (TLS or channel binding
    // turned off by the address) it says so.
    void askForServer(const QString &address, bool protectedLink = true, const QString &lastUser = {});
    // The user name typed (on a server), kept between questions.
    QString user() const;
    QLineEdit *utente() const { return m_user; }

    QLabel *label() const { return m_label; }
    QLineEdit *pass() const { return m_pass; }
    QPushButton *ok() const { return m_ok; }
    QPushButton *annulla() const { return m_annulla; }

    // Empties the edit box and shows the prompt modally: the typed text after "OK",
    // nothing after "Annulla" (or closing the window).
    std::optional<QString> askPassword();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_label;
    QLineEdit *m_pass;
    QLineEdit *m_user = nullptr;
    QPushButton *m_ok;
    QPushButton *m_annulla;
};
