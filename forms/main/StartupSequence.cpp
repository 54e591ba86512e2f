#include "forms/main/StartupSequence.h"

#include "forms/ProcessValues.h"
#include "platform/FileOps.h"
#include "store/TArcDatabase.h"

namespace {

const QString kLayoutFile = QStringLiteral("tavorio.ini");
const QString kArchiveFile = QStringLiteral("tavorio.mdb");
const QString kBackupFile = QStringLiteral("tavorio_backup.mdb");
const QString kLockFile = QStringLiteral("tavorio.ldb");

// A lock file means someone has the archive open (or crashed with it open): then the file
// must not be replaced under them.
void maintainArchive(TArcDatabase &database)
{
    if (platform::fileExists(ProcessValues::inApplicationFolder(kLockFile)))
        return;
    const QString archive = ProcessValues::inApplicationFolder(kArchiveFile);
    const QString backup = ProcessValues::inApplicationFolder(kBackupFile);
    if (platform::fileExists(backup))
        platform::deleteFile(backup);
    // A missing backup must not keep the program from starting.
    platform::copyFile(archive, backup);
    database.RepairDatabaseFile(archive, ProcessValues::archivePassword());
    database.CompactDatabaseFile(archive, ProcessValues::archivePassword());
}

} // namespace

StartupOutcome runStartupSequence(TArcDatabase &database, const StartupSteps &steps)
{
    ProcessValues::setApplicationFolder(platform::currentFolder());
    try {
        database.setConnected(false);
    } catch (...) {
    }
    steps.restoreLayout(ProcessValues::inApplicationFolder(kLayoutFile));
    database.setDatabase(ProcessValues::inApplicationFolder(kArchiveFile));

    switch (runPasswordGate(database, steps.makePasswordPrompt)) {
    case PasswordGateOutcome::Cancelled:
        return StartupOutcome::Cancelled;
    case PasswordGateOutcome::Refused:
        return StartupOutcome::Refused;
    case PasswordGateOutcome::Opened:
        break;
    }

    maintainArchive(database);

    try {
        database.setConnected(true);
        steps.openTables();
    } catch (...) {
        steps.notice(kConnectionErrorMessage);
        return StartupOutcome::ConnectionFailed;
    }
    return StartupOutcome::Continue;
}
