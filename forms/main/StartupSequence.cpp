#include "forms/main/StartupSequence.h"

#include "forms/main/ArchiveServerSetting.h"
#include "platform/FileOps.h"
#include "session/ProcessValues.h"
#include "store/ArchiveBackup.h"
#include "store/NetworkFolderWarning.h"
#include "store/TArcDatabase.h"

#include "engine/EngineError.h"

#include <QtGlobal>

namespace {

const QString kLayoutFile = QStringLiteral("tavorio.ini");
const QString kArchiveFile = QStringLiteral("tavorio.mdb");
const QString kLockFile = QStringLiteral("tavorio.ldb");

// A lock file means someone has the archive open (or crashed with it open): then the file
// must not be replaced under them. Where the storage is not compacted by the program (a
// server) it keeps its own copies too.
// The copies come first and only of a sound archive: a damaged one stops the start-up here,
// before it is compacted, with the last good copy kept. A copy that cannot be written (a full
// disk, a file where the copies' folder should be) is not the user's business: it goes to the
// log for whoever looks after the desk, and the start-up goes on.
void maintainArchive(TArcDatabase &database, const QDate &today)
{
    if (!database.capabilities().compactionApplies || platform::fileExists(ProcessValues::inApplicationFolder(kLockFile)))
        return;
    const QString archive = ProcessValues::inApplicationFolder(kArchiveFile);
    try {
        store::ArchiveBackup(archive, today).refresh(ProcessValues::archivePassword());
    } catch (const dao::EngineError &error) {
        if (error.number() == dao::errDatabaseCorrupt)
            throw;
        qWarning("Copia di riserva dell'archivio non riuscita: %s", qUtf8Printable(error.description()));
        // Someone opened the archive after the lock-file test: it must not be compacted now.
        if (error.number() == dao::errFileInUse)
            return;
    }
    database.RepairDatabaseFile(archive, ProcessValues::archivePassword());
    database.CompactDatabaseFile(archive, ProcessValues::archivePassword());
}

// The warning names the file the connection will open: the application folder's, else the
// executable folder's, where the connection looks when the first is missing.
void warnOfNetworkFolder(const StartupSteps &steps)
{
    QString archive = ProcessValues::inApplicationFolder(kArchiveFile);
    if (!platform::fileExists(archive))
        archive = platform::executableFolder() + kArchiveFile;
    if (!platform::fileExists(archive))
        return;
    if (const std::optional<QString> warning = store::networkFolderWarning(archive))
        steps.notice(QStringLiteral("   ") + *warning + QStringLiteral("   "));
}

} // namespace

StartupOutcome runStartupSequence(TArcDatabase &database, const StartupSteps &steps)
{
    ProcessValues::setApplicationFolder(platform::currentFolder());
    try {
        database.setConnected(false);
    } catch (...) {
    }
    const QString layoutFile = ProcessValues::inApplicationFolder(kLayoutFile);
    steps.restoreLayout(layoutFile);
    const ArchiveServerSetting server = readArchiveServerSetting(layoutFile);
    if (!server.problem.isEmpty()) {
        steps.notice(server.problem);
        return StartupOutcome::ConnectionFailed;
    }
    if (server.address.isEmpty()) {
        database.setDatabase(ProcessValues::inApplicationFolder(kArchiveFile));
        warnOfNetworkFolder(steps);
    } else {
        database.setDatabase(server.address);
    }

    QString failure;
    switch (runPasswordGate(database, steps.makePasswordPrompt, &failure)) {
    case PasswordGateOutcome::Cancelled:
        return StartupOutcome::Cancelled;
    case PasswordGateOutcome::Refused:
        return StartupOutcome::Refused;
    case PasswordGateOutcome::Failed:
        // A server fails for reasons the office can act on (not reachable, no such archive):
        // the engine's Italian text says which.
        steps.notice(database.location().isServer() ? kConnectionErrorMessage + QStringLiteral("\n   ") + failure + QStringLiteral("   ")
                                           : kConnectionErrorMessage);
        return StartupOutcome::ConnectionFailed;
    case PasswordGateOutcome::Opened:
        break;
    }

    maintainArchive(database, steps.today ? steps.today() : QDate::currentDate());

    try {
        database.setConnected(true);
        steps.openTables();
    } catch (...) {
        steps.notice(kConnectionErrorMessage);
        return StartupOutcome::ConnectionFailed;
    }
    return StartupOutcome::Continue;
}
