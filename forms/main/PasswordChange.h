#pragma once
// Setting, changing or removing the archive password from the configuration page. The
// change needs the archive for this process alone, so the connection is closed, reopened
// exclusively for the change and then reopened shared with every table, pick list and
// check-box caption read again, whatever became of the change.

#include <QString>

class Tfrm_main;
class Tfrm_pass2;

class PasswordChange final {
public:
    static QString wrongOldPasswordText();
    static QString differentNewPasswordsText();
    static QString changedText();
    static QString failedText();

    PasswordChange(Tfrm_main &window, Tfrm_pass2 &dialog);

    // The whole button: asks, checks, changes. Errors while reconnecting pass through.
    void run();

private:
    // False, after showing the error, when a pending edit would not post.
    bool postPendingEdits();
    // True when the archive and the program now hold the new password.
    bool changeExclusively(const QString &newPassword);
    void reconnectShared();

    Tfrm_main &m_window;
    Tfrm_pass2 &m_dialog;
};
