#include "engine/sqlite/ArchiveCopy.h"

#include "engine/ArchiveFormat.h"
#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "engine/sqlite/CopyFigures.h"
#include "engine/sqlite/GatheredWrites.h"
#include "engine/sqlite/Sqlite.h"
#include "platform/CrashPoints.h"
#include "platform/FileOps.h"
#include "platform/NetworkFileSystem.h"

#include <sqlite3.h>

#include <future>
#include <system_error>

namespace dao::sqlite {

namespace {

const QString kSource = QStringLiteral("DAO.DBEngine");

// While a copy is written the library calls back every few hundred steps: a test can make
// the process die there, with the copy half-written.
int duringExport(void *)
{
    platform::crashPoint("export.half_written");
    return 0;
}

// While a copy is made the archive is read once from end to end: its pages pass through a
// small cache instead of filling the large one, and an unencrypted archive on a local disk
// is read through a memory map instead of a read per page (the storage library maps no
// encrypted file; over a network a mapped file that goes away would end the process).
// Every setting is put back afterwards.
class CopyReading {
public:
    CopyReading(sqlite3 *handle, const QString &path) : m_handle(handle)
    {
        Statement cache(handle, QStringLiteral("PRAGMA main.cache_size"));
        m_cacheSize = cache.step() ? cache.int64(0) : 0;
        cache.reset();
        sqlite::execute(handle, QStringLiteral("PRAGMA main.cache_size = -2048"));
        if (!platform::networkFileSystemOf(path))
            sqlite::execute(handle, QStringLiteral("PRAGMA main.mmap_size = %1").arg(qint64(1) << 31));
    }
    ~CopyReading()
    {
        sqlite3_exec(m_handle, "PRAGMA main.mmap_size = 0", nullptr, nullptr, nullptr);
        const QByteArray cache = QByteArrayLiteral("PRAGMA main.cache_size = ") + QByteArray::number(m_cacheSize);
        sqlite3_exec(m_handle, cache.constData(), nullptr, nullptr, nullptr);
    }
    CopyReading(const CopyReading &) = delete;
    CopyReading &operator=(const CopyReading &) = delete;

private:
    sqlite3 *m_handle;
    qint64 m_cacheSize = 0;
};

// The key travels as a bound value, never inside the statement text.
void attach(sqlite3 *handle, const QString &file, const char *schema, const Value &key)
{
    sqlite::execute(handle, QStringLiteral("ATTACH DATABASE ? AS %1 KEY ?").arg(QLatin1String(schema)), {Value(file), key});
}

// Writes the copy attached as engine_copy inside one transaction, and returns the archive's
// figures read inside that same transaction, so that they describe exactly what was copied.
CopyFigures copyInto(sqlite3 *handle, const QString &archivePath, bool encrypted)
{
    if (encrypted) {
        sqlite::execute(handle, QStringLiteral("PRAGMA engine_copy.kdf_iter = %1").arg(format::kKdfIterations));
        sqlite::execute(handle, QStringLiteral("PRAGMA engine_copy.cipher_page_size = %1").arg(format::kCipherPageSize));
    }
    // The copy is a new file that nobody uses until it is whole, checked, synced and renamed
    // into place; any failure deletes it. A journal of its own would only protect what is
    // thrown away anyway. Its rows arrive in key order, so a cache of a few megabytes holds
    // the pages still being filled and each page reaches the file about once; a larger one
    // only costs memory to set up. Nor does it sync at its commit: the layer that gathers
    // its writes brings them to disk as the copy grows, and the copy is synced whole after.
    sqlite::execute(handle, QStringLiteral("PRAGMA engine_copy.journal_mode = OFF"));
    sqlite::execute(handle, QStringLiteral("PRAGMA engine_copy.synchronous = OFF"));
    sqlite::execute(handle, QStringLiteral("PRAGMA engine_copy.cache_size = -4096"));
    sqlite::execute(handle, QStringLiteral("SAVEPOINT engine_copy"));
    try {
        sqlite3_progress_handler(handle, 500, duringExport, nullptr);
        {
            const CopyReading reading(handle, archivePath);
            sqlite::execute(handle, QStringLiteral("SELECT sqlcipher_export('engine_copy')"));
        }
        sqlite3_progress_handler(handle, 0, nullptr, nullptr);
        CopyFigures archive = CopyFigures::of(handle, QStringLiteral("main"));
        Statement version(handle, QStringLiteral("PRAGMA main.user_version"));
        const qint64 userVersion = version.step() ? version.int64(0) : 0;
        version.reset();
        sqlite::execute(handle, QStringLiteral("PRAGMA engine_copy.user_version = %1").arg(userVersion));
        sqlite::execute(handle, QStringLiteral("RELEASE engine_copy"));
        return archive;
    } catch (...) {
        sqlite3_progress_handler(handle, 0, nullptr, nullptr);
        sqlite3_exec(handle, "ROLLBACK TO engine_copy; RELEASE engine_copy", nullptr, nullptr, nullptr);
        throw;
    }
}

// The copy opened again on its own (its pages read from the file, not from the cache that
// wrote them): empty when it shows what the archive does.
QString reopenedDifferences(sqlite3 *handle, const QString &destination, const Value &key, const CopyFigures &archive)
{
    try {
        attach(handle, destination, "engine_check", key);
    } catch (const StorageFailure &failure) {
        return QStringLiteral("la copia non si apre (codice %1)").arg(failure.code);
    }
    QString differences;
    try {
        differences = pageCountDifference(handle, QStringLiteral("engine_check"), destination);
        if (differences.isEmpty())
            differences = archive.differencesIn(CopyFigures::of(handle, QStringLiteral("engine_check")));
    } catch (const StorageFailure &failure) {
        differences = QStringLiteral("la copia non si legge (codice %1)").arg(failure.code);
    }
    sqlite3_exec(handle, "DETACH DATABASE engine_check", nullptr, nullptr, nullptr);
    return differences;
}

// Syncs the file on a thread of its own, or here when none can start.
std::future<bool> syncAside(const QString &file)
{
    try {
        return std::async(std::launch::async, [file] { return platform::syncFile(file); });
    } catch (const std::system_error &) {
        std::promise<bool> done;
        done.set_value(platform::syncFile(file));
        return done.get_future();
    }
}

void discard(const QString &destination)
{
    platform::deleteFile(destination);
    platform::deleteFile(destination + QLatin1String("-journal"));
}

} // namespace

void writeCheckedCopy(sqlite3 *handle, const QString &archivePath, const QString &destination, const Value &key,
                      bool encrypted)
{
    CopyFigures archive;
    QString differences;
    {
        const GatheredWrites gathered(destination);
        try {
            attach(handle, destination, "engine_copy", key);
        } catch (...) {
            discard(destination);
            throw;
        }
        try {
            archive = copyInto(handle, archivePath, encrypted);
            sqlite::execute(handle, QStringLiteral("DETACH DATABASE engine_copy"));
        } catch (...) {
            sqlite3_exec(handle, "DETACH DATABASE engine_copy", nullptr, nullptr, nullptr);
            discard(destination);
            throw;
        }
        platform::crashPoint("export.written");
        // The file is read back from the system's cache while the system brings its last
        // pieces to disk: the one keeps the processor busy, the other waits for the disk.
        std::future<bool> synced = syncAside(destination);
        differences = gathered.differences();
        if (!synced.get()) {
            discard(destination);
            throw EngineError(errIoFailure, kSource,
                              QStringLiteral("Impossibile scrivere su disco la copia '%1'.").arg(destination));
        }
    }
    if (differences.isEmpty())
        differences = reopenedDifferences(handle, destination, key, archive);
    if (!differences.isEmpty()) {
        discard(destination);
        throw EngineError(errIoFailure, kSource,
                          QStringLiteral("La copia '%1' non corrisponde all'archivio (%2): l'archivio resta com'era.")
                              .arg(destination, differences));
    }
}

} // namespace dao::sqlite
