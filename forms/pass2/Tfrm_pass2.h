#pragma once
// The password change window: the current archive password once and the new one twice,
// typed in clear. It lives for the whole run, so its edits are emptied every time it
// closes: nobody who opens it later may read what the previous user typed.

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class Tfrm_pass2 final : public QDialog {
    Q_OBJECT
public:
    // What the edits held when the window was closed with "OK".
    struct Entries {
        QString oldPassword;
        QString newPassword;
        QString repeated;
    };

    explicit Tfrm_pass2(QWidget *parent = nullptr);

    QLineEdit *old_pass() const { return m_oldPass; }
    QLineEdit *pass1() const { return m_pass1; }
    QLineEdit *pass2() const { return m_pass2; }
    QPushButton *annulla() const { return m_annulla; }
    QPushButton *ok() const { return m_ok; }
    // The three-line warning under the buttons.
    QLabel *warning() const { return m_warning; }
    // The line under the new password: an empty one removes the password where the archive's
    // storage allows it (a file); a server's archive cannot go without one.
    QLabel *emptyHint() const { return m_emptyHint; }
    void allowEmptyPassword(bool allowed);

    // Shows the window modally; the typed texts after "OK", nothing after "Annulla",
    // Escape or closing the window.
    std::optional<Entries> ask();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void clearEdits();

    QLineEdit *m_oldPass;
    QLineEdit *m_pass1;
    QLineEdit *m_pass2;
    QPushButton *m_annulla;
    QPushButton *m_ok;
    QLabel *m_warning = nullptr;
    QLabel *m_emptyHint = nullptr;
    std::optional<Entries> m_closedWith;
};
