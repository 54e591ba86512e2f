#pragma once
// Setting, changing or removing the archive password from the configuration page. The
// change of a file's password needs the archive for this process alone, so the connection is
// closed and reopened exclusively for it; on a server it changes the office role's password
// while the others work on. Then the connection is reopened shared with every table, pick
// list and check-box caption read again, whatever became of the change.

#include <QString>

class Tfrm_main;
class Tfrm_pass2;

class PasswordChange final {
public:
    static QString wrongOldPasswordText();
    static QString differentNewPasswordsText();
    static QString changedText();
    static QString failedText();
    static QString serverNeedsPasswordText();

    PasswordChange(Tfrm_main &window, Tfrm_pass2 &dialog);

    // The whole button: asks, checks, changes. Errors while reconnecting pass through.
    void run();

private:
    // False, after showing the error, when a pending edit would not post.
    bool postPendingEdits();
    // True when the archive and the program now hold the new password.
    bool changeInArchive(const QString &newPassword);
    void reconnectShared();

    Tfrm_main &m_window;
    Tfrm_pass2 &m_dialog;
};
