#pragma once
// The start-up's copies of the archive: "tavorio_backup.mdb" beside it, and one copy a day in
// the folder "backup/" beside it, the last seven days kept. A copy is made only of an archive
// that passes the storage library's integrity check, under the exclusive lock that keeps
// every other user out from the check to the end of the copy, and each copy is written
// beside its place, flushed and renamed over it: whatever holds a copy's name is a whole
// archive that was sound when it was taken.

#include <QDate>
#include <QString>
#include <QStringList>

namespace store {

class ArchiveBackup {
public:
    static constexpr int kDailyCopies = 7;

    // `today` names the daily copy.
    ArchiveBackup(QString archivePath, QDate today);

    QString backupPath() const;
    QString dailyFolder() const;
    QString dailyPath(QDate day) const;
    // The newest copy that exists, backup first; empty when there is none.
    QString lastGoodCopy() const;

    // Checks the archive and refreshes both copies. Raises engine errors: 3045 when someone
    // has the archive open, 3049 when it fails the check (no copy is touched, and the text
    // says where the last good copy is), 3043 when a copy cannot be written.
    void refresh(const QString &password) const;

private:
    void writeCopy(const QString &destination, const char *stage) const;
    void dropOldDailyCopies() const;

    QString m_archive;
    QString m_folder;
    QDate m_today;
};

// The problems the storage library finds in the archive (with the encryption check when it
// has a password); empty when it is sound. A file too damaged to open is one problem, its
// engine error's text. Other refusals (a wrong password, a file in use) raise their error.
QStringList archiveProblems(const QString &path, const QString &password, bool exclusive = false);

// Gives the backup copies beside the archive the new password, as the archive got it; a copy
// that does not open with the old password is left as it is.
void changeBackupPasswords(const QString &archiveFolder, const QString &oldPassword, const QString &newPassword);

} // namespace store
