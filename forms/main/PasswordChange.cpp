#include "forms/main/PasswordChange.h"

#include "forms/ErrorBox.h"
#include "forms/main/Tfrm_main.h"
#include "forms/pass2/Tfrm_pass2.h"
#include "session/ProcessValues.h"
#include "store/ArchiveBackup.h"

QString PasswordChange::wrongOldPasswordText()
{
    return QStringLiteral("   Per cambiare password è necessario conoscere la precedente   ");
}

QString PasswordChange::differentNewPasswordsText()
{
    return QStringLiteral("   Le due password nuove devono essere uguali   ");
}

QString PasswordChange::changedText() { return QStringLiteral("   Impostazione nuova password OK   "); }

QString PasswordChange::failedText() { return QStringLiteral("   Errore in impostazione nuova password   "); }

QString PasswordChange::serverNeedsPasswordText()
{
    return QStringLiteral("   L'archivio sul server non può restare senza password: scrivete due volte la nuova "
                          "password.   ");
}

PasswordChange::PasswordChange(Tfrm_main &window, Tfrm_pass2 &dialog) : m_window(window), m_dialog(dialog) {}

// The two checks touch nothing, so a mistyped window leaves the archive and its users alone.
void PasswordChange::run()
{
    const dao::StorageCapabilities allowed = m_window.Database().capabilities();
    m_dialog.allowEmptyPassword(allowed.emptyPasswordAllowed);
    const std::optional<Tfrm_pass2::Entries> entries = m_dialog.ask();
    if (!entries)
        return;
    if (entries->oldPassword != ProcessValues::archivePassword()) {
        m_window.mymsg().notice(wrongOldPasswordText());
        return;
    }
    if (entries->newPassword != entries->repeated) {
        m_window.mymsg().notice(differentNewPasswordsText());
        return;
    }
    // A role without password cannot log in over the network: the server would lock everyone out.
    if (!allowed.emptyPasswordAllowed && entries->newPassword.isEmpty()) {
        m_window.mymsg().notice(serverNeedsPasswordText());
        return;
    }
    if (!postPendingEdits())
        return;
    if (changeInArchive(entries->newPassword, allowed))
        m_window.mymsg().notice(changedText());
    else
        m_window.mymsg().notice(failedText());
    reconnectShared();
}

// The reconnection closes every dataset, which would cancel a row still being typed.
bool PasswordChange::postPendingEdits()
{
    try {
        m_window.postPendingEdits();
        return true;
    } catch (const std::exception &error) {
        reportUnhandled(&m_window, error);
        return false;
    }
}

// Any failure here (another user inside, the engine refusing) keeps the old password in
// force: the one in memory changes only after the archive has taken the new one.
bool PasswordChange::changeInArchive(const QString &newPassword, const dao::StorageCapabilities &allowed)
{
    TArcDatabase &database = m_window.Database();
    try {
        if (allowed.passwordChangeNeedsExclusive) {
            database.Close();
            database.setExclusive(true);
            database.Open();
        }
        if (!database.ChangeDatabasePassword(ProcessValues::archivePassword(), newPassword))
            return false;
    } catch (const std::exception &) {
        return false;
    }
    // The archive has the new password now: nothing after this point may report otherwise.
    const QString oldPassword = ProcessValues::archivePassword();
    ProcessValues::setArchivePassword(newPassword);
    try {
        database.Close();
    } catch (const std::exception &) {
    }
    database.setDatabasePassword(newPassword);
    // The start-up's copies, kept where it compacts, hold the same cards under the old
    // password; a server keeps its own.
    if (allowed.compactionApplies)
        store::changeBackupPasswords(ProcessValues::applicationFolder(), oldPassword, newPassword);
    return true;
}

// The order of the reopening matters: each pick list is filled right after its table, and
// the captions come last, from the bodies' table.
void PasswordChange::reconnectShared()
{
    TArcDatabase &database = m_window.Database();
    database.Close();
    database.setExclusive(false);
    database.Open();
    TMainData &data = m_window.data();
    data.Fascia().open();
    data.Anagrafica().open();
    data.Nucleo().open();
    data.Ruolo().open();
    m_window.Popola_lista_ruolo();
    data.Occupazione().open();
    m_window.Popola_lista_occupazione();
    data.stampe().open();
    data.Gruppi().open();
    m_window.labelCheckBoxes();
}
