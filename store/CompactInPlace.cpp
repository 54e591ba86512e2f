#include "store/CompactInPlace.h"

#include "engine/DBEngine.h"
#include "engine/EngineError.h"
#include "platform/CrashPoints.h"
#include "platform/FileOps.h"
#include "platform/LockFile.h"

#include <memory>

namespace store {

namespace {

const QString Source = QStringLiteral("DAO.DBEngine");

// The compacted copy until it has taken the archive's name; removed on every way out
// before that, so a failure leaves no stray copy behind.
class PendingCopy final {
public:
    explicit PendingCopy(QString path) : m_path(std::move(path)) {}
    ~PendingCopy()
    {
        if (!m_path.isEmpty() && platform::fileExists(m_path))
            platform::deleteFile(m_path);
    }
    PendingCopy(const PendingCopy &) = delete;
    PendingCopy &operator=(const PendingCopy &) = delete;

    const QString &path() const { return m_path; }
    void placed() { m_path.clear(); }

private:
    QString m_path;
};

QString passwordText(const QString &password)
{
    // Closed by ";" so that a password holding ";" is read back whole.
    return password.isEmpty() ? QString() : QStringLiteral(";pwd=") + password + QLatin1Char(';');
}

} // namespace

void compactInPlace(dao::DBEngine &engine, const QString &path, const QString &password)
{
    // An address is no file: no temporary copy may be made in a "folder" read out of it.
    dao::refuseWithoutCompaction(path);
    const QString folder = platform::folderOrCurrent(path);
    // The platform creates the name as an empty file; the engine wants to create it itself.
    const QString temp = platform::uniqueTempFileName(folder, QStringLiteral("mdb"));
    if (temp.isEmpty())
        throw dao::EngineError(dao::errIoFailure, Source,
                               QStringLiteral("Impossibile creare un file temporaneo in %1.").arg(folder));
    platform::deleteFile(temp);
    PendingCopy copy(temp);

    // Nobody may be inside the archive from the copy to the replacement: changes made after
    // the copy was taken would be lost with the old file. The lock is lent to the engine
    // for the copy, so it is never let go in between.
    const std::unique_ptr<platform::LockFile> lock =
        platform::LockFile::acquire(path, platform::LockFile::Mode::Exclusive);
    if (!lock)
        throw dao::EngineError(dao::errFileInUse, Source,
                               QStringLiteral("Impossibile compattare: l'archivio è in uso."));
    {
        const platform::LockLoan loan(*lock, path);
        engine.CompactDatabase(path, temp, QString(), 0, passwordText(password));
    }
    platform::crashPoint("compact.after_export");

    // Opening the source for the copy already rolled back any interrupted write, so a
    // journal still beside the archive is stale and must not be applied to the new file.
    const QString journal = path + QStringLiteral("-journal");
    if (platform::fileExists(journal))
        platform::deleteFile(journal);

    if (!platform::syncFile(copy.path()))
        throw dao::EngineError(dao::errIoFailure, Source,
                               QStringLiteral("Impossibile scrivere su disco la copia compattata."));
    platform::crashPoint("compact.after_sync");

    if (!platform::atomicReplace(copy.path(), path))
        throw dao::EngineError(dao::errIoFailure, Source,
                               QStringLiteral("Impossibile sostituire l'archivio con la copia compattata."));
    copy.placed();
    platform::crashPoint("compact.after_rename");
    platform::syncFolder(folder);
}

} // namespace store
