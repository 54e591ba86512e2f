#pragma once
// Setting, changing or removing the archive password from the configuration page. What the
// archive's storage allows decides the steps: where the change needs the archive for this
// process alone (a file) the connection is closed and reopened exclusively for it, elsewhere
// (a server, changing the office role's password) the others work on; an empty password is
// refused where the storage cannot go without one. Then the connection is reopened shared
// with every table, pick list and check-box caption read again, whatever became of the change.

#include <QString>

namespace dao { struct StorageCapabilities; }
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
    bool changeInArchive(const QString &newPassword, const dao::StorageCapabilities &allowed);
    void reconnectShared();

    Tfrm_main &m_window;
    Tfrm_pass2 &m_dialog;
};
