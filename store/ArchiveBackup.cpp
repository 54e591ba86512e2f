#include "store/ArchiveBackup.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "platform/CrashPoints.h"
#include "platform/FileOps.h"
#include "platform/LockFile.h"
#include "store/FilePassword.h"

#include <QDir>
#include <memory>

namespace store {

namespace {

const QString kSource = QStringLiteral("DAO.DBEngine");
const QString kBackupFile = QStringLiteral("tavorio_backup.mdb");
const QString kDailyFolder = QStringLiteral("backup/");
const QString kDailyPattern = QStringLiteral("tavorio_\?\?\?\?-\?\?-\?\?.mdb");

[[noreturn]] void raise(int number, const QString &text)
{
    throw dao::EngineError(number, kSource, text);
}

bool isDamage(const dao::EngineError &error)
{
    return error.number() == dao::errDatabaseCorrupt || error.number() == dao::errUnrecognizedFormat;
}

QStringList dailyCopiesIn(const QString &folder)
{
    // ISO dates in the names sort as the days do.
    return QDir(folder).entryList({kDailyPattern}, QDir::Files, QDir::Name);
}

} // namespace

QStringList archiveProblems(const QString &path, const QString &password, bool exclusive)
{
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"), QString(),
                                            dao::dbUseJet);
    try {
        auto database = workspace->OpenDatabase(path, exclusive, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
        QStringList problems = database->integrityProblems();
        database->Close();
        return problems;
    } catch (const dao::EngineError &error) {
        if (!isDamage(error))
            throw;
        return {error.description()};
    }
}

ArchiveBackup::ArchiveBackup(QString archivePath, QDate today)
    : m_archive(std::move(archivePath)), m_folder(platform::folderOrCurrent(m_archive)), m_today(today)
{
}

QString ArchiveBackup::backupPath() const { return m_folder + kBackupFile; }

QString ArchiveBackup::dailyFolder() const { return m_folder + kDailyFolder; }

QString ArchiveBackup::dailyPath(QDate day) const
{
    return dailyFolder() + QStringLiteral("tavorio_%1.mdb").arg(day.toString(Qt::ISODate));
}

QString ArchiveBackup::lastGoodCopy() const
{
    if (platform::fileExists(backupPath()))
        return backupPath();
    const QStringList daily = dailyCopiesIn(dailyFolder());
    return daily.isEmpty() ? QString() : dailyFolder() + daily.last();
}

void ArchiveBackup::refresh(const QString &password) const
{
    // From the check to the last rename nobody else may open the archive: a copy taken while
    // another user writes would be torn, and a check would say nothing of what is copied.
    const std::unique_ptr<platform::LockFile> lock =
        platform::LockFile::acquire(m_archive, platform::LockFile::Mode::Exclusive);
    if (!lock)
        raise(dao::errFileInUse, QStringLiteral("Impossibile copiare l'archivio: è in uso."));
    const platform::LockLoan loan(*lock, m_archive);

    // Opening for the check also rolls back an interrupted write, so the bytes copied
    // below are the archive as the engine reads it.
    const QStringList problems = archiveProblems(m_archive, password, true);
    if (!problems.isEmpty()) {
        const QString copy = lastGoodCopy();
        raise(dao::errDatabaseCorrupt,
              QStringLiteral("L'archivio \"%1\" è danneggiato: non è stato copiato né compattato.\n%2\n"
                             "Per l'elenco dei problemi: tavorio-cli verifica \"%1\".")
                  .arg(m_archive, copy.isEmpty() ? QStringLiteral("Non esiste una copia precedente.")
                                                 : QStringLiteral("L'ultima copia buona è \"%1\".").arg(copy)));
    }

    writeCopy(backupPath(), "backup");
    QDir().mkpath(dailyFolder());
    writeCopy(dailyPath(m_today), "daily");
    dropOldDailyCopies();
}

// Copied under a temporary name beside the destination, flushed, then renamed over it.
void ArchiveBackup::writeCopy(const QString &destination, const char *stage) const
{
    const QString folder = platform::folderOrCurrent(destination);
    const QString temporary = platform::uniqueTempFileName(folder, QStringLiteral("mdb"));
    if (temporary.isEmpty() || !platform::copyFile(m_archive, temporary)) {
        if (!temporary.isEmpty())
            platform::deleteFile(temporary);
        raise(dao::errIoFailure, QStringLiteral("Impossibile scrivere la copia \"%1\".").arg(destination));
    }
    const std::string name(stage);
    platform::crashPoint((name + ".copied").c_str());
    if (!platform::syncFile(temporary)) {
        platform::deleteFile(temporary);
        raise(dao::errIoFailure, QStringLiteral("Impossibile scrivere su disco la copia \"%1\".").arg(destination));
    }
    platform::crashPoint((name + ".flushed").c_str());
    if (!platform::atomicReplace(temporary, destination)) {
        platform::deleteFile(temporary);
        raise(dao::errIoFailure, QStringLiteral("Impossibile sostituire la copia \"%1\".").arg(destination));
    }
    platform::crashPoint((name + ".renamed").c_str());
    platform::syncFolder(folder);
}

void ArchiveBackup::dropOldDailyCopies() const
{
    QStringList copies = dailyCopiesIn(dailyFolder());
    while (copies.size() > kDailyCopies)
        platform::deleteFile(dailyFolder() + copies.takeFirst());
}

void changeBackupPasswords(const QString &archiveFolder, const QString &oldPassword, const QString &newPassword)
{
    changeFilePassword(archiveFolder + kBackupFile, oldPassword, newPassword);
    const QString daily = archiveFolder + kDailyFolder;
    for (const QString &name : dailyCopiesIn(daily))
        changeFilePassword(daily + name, oldPassword, newPassword);
}

} // namespace store
