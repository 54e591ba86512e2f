#include "engine/sqlite/GatheredWrites.h"

#include "engine/sqlite/PieceWriter.h"
#include "engine/sqlite/WrittenPages.h"

#include <QFile>
#include <cstring>
#include <mutex>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace dao::sqlite {

namespace {

constexpr const char *kName = "tavorio-gathered";
// The size of the pieces handed on: sixteen of the library's usual pages, which the system
// writes about as cheaply per byte as any larger piece; the platform layer below takes no
// more than 128 KiB in one write.
constexpr int kPiece = PieceWriter::kPieceSize;

std::mutex g_mutex;
// The files whose writes are gathered now, each with the record of what was written to it.
std::map<std::string, std::shared_ptr<WrittenPages>> g_paths;
sqlite3_vfs g_vfs;
sqlite3_vfs *g_real = nullptr;

// A gathered file: this header, then the platform's file. Only POD members: the library
// allocates the memory and hands it over raw.
struct GatheredFile {
    sqlite3_file base;
    sqlite3_file *real;
    PieceWriter *writer;
    char *pending;            // a buffer of the writer's, kPiece bytes
    int pendingSize;
    int pendingGrain;         // the size of each of the library's writes in the piece
    sqlite3_int64 pendingStart;
    int syncFd;               // the same file, only to bring it to disk as it grows; -1 if none
    std::shared_ptr<WrittenPages> *written;   // owned: the record outlives the file
};

GatheredFile *gathered(sqlite3_file *file)
{
    return reinterpret_cast<GatheredFile *>(file);
}

// Hands the gathered piece to the writer, which writes the pieces in the order given: a
// page written again later is written again later.
int handOn(GatheredFile *f)
{
    if (f->pendingSize == 0)
        return SQLITE_OK;
    const int rc = f->writer->write(f->pending, f->pendingSize, f->pendingStart, f->pendingGrain);
    f->pendingSize = 0;
    f->pending = f->writer->buffer();
    return rc;
}

// Everything gathered is in the platform's file, or the first failure is reported.
int settle(GatheredFile *f)
{
    const int handed = handOn(f);
    const int written = f->writer->drain();
    return handed != SQLITE_OK ? handed : written;
}

int closeFile(sqlite3_file *file)
{
    GatheredFile *f = gathered(file);
    const int handed = handOn(f);
    const int finished = f->writer->finish();
    const int settled = handed != SQLITE_OK ? handed : finished;
    delete f->writer;
    f->writer = nullptr;
    f->pending = nullptr;
    const int closed = f->real->pMethods->xClose(f->real);
    if (f->syncFd >= 0)
        ::close(f->syncFd);
    f->syncFd = -1;
    delete f->written;
    f->written = nullptr;
    return settled != SQLITE_OK ? settled : closed;
}

int readFile(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    GatheredFile *f = gathered(file);
    if (const int rc = settle(f); rc != SQLITE_OK)
        return rc;
    return f->real->pMethods->xRead(f->real, buffer, amount, offset);
}

int writeFile(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    GatheredFile *f = gathered(file);
    const bool follows =
        f->pendingSize > 0 && offset == f->pendingStart + f->pendingSize && amount == f->pendingGrain;
    if (follows && f->pendingSize + amount <= kPiece) {
        std::memcpy(f->pending + f->pendingSize, data, size_t(amount));
        f->pendingSize += amount;
        return SQLITE_OK;
    }
    if (amount >= kPiece) {
        if (const int rc = settle(f); rc != SQLITE_OK)
            return rc;
        (*f->written)->wrote(data, amount, offset, amount);
        return f->real->pMethods->xWrite(f->real, data, amount, offset);
    }
    if (const int rc = handOn(f); rc != SQLITE_OK)
        return rc;
    std::memcpy(f->pending, data, size_t(amount));
    f->pendingSize = amount;
    f->pendingGrain = amount;
    f->pendingStart = offset;
    return SQLITE_OK;
}

// Every other use of the file first waits until what was gathered is written.
template <typename... Args>
int afterHandingOn(sqlite3_file *file, int (*const sqlite3_io_methods::*method)(sqlite3_file *, Args...), Args... args)
{
    GatheredFile *f = gathered(file);
    if (const int rc = settle(f); rc != SQLITE_OK)
        return rc;
    return (f->real->pMethods->*method)(f->real, args...);
}

int truncateFile(sqlite3_file *file, sqlite3_int64 size)
{
    const int rc = afterHandingOn(file, &sqlite3_io_methods::xTruncate, size);
    (*gathered(file)->written)->truncated(size);
    return rc;
}
int syncFile(sqlite3_file *file, int flags)
{
    return afterHandingOn(file, &sqlite3_io_methods::xSync, flags);
}
int fileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return afterHandingOn(file, &sqlite3_io_methods::xFileSize, size);
}
int fileControl(sqlite3_file *file, int op, void *arg)
{
    return afterHandingOn(file, &sqlite3_io_methods::xFileControl, op, arg);
}
int lockFile(sqlite3_file *file, int level)
{
    return afterHandingOn(file, &sqlite3_io_methods::xLock, level);
}
// A lock is let go even when a write failed, so that the failed copy can be deleted.
int unlockFile(sqlite3_file *file, int level)
{
    GatheredFile *f = gathered(file);
    const int settled = settle(f);
    const int unlocked = f->real->pMethods->xUnlock(f->real, level);
    return settled != SQLITE_OK ? settled : unlocked;
}
int checkReservedLock(sqlite3_file *file, int *out)
{
    return gathered(file)->real->pMethods->xCheckReservedLock(gathered(file)->real, out);
}
int sectorSize(sqlite3_file *file)
{
    return gathered(file)->real->pMethods->xSectorSize(gathered(file)->real);
}
int deviceCharacteristics(sqlite3_file *file)
{
    return gathered(file)->real->pMethods->xDeviceCharacteristics(gathered(file)->real);
}

// A copy is a plain rollback-journal file: no shared memory, no memory mapping.
const sqlite3_io_methods kGatheredMethods = {
    1,        closeFile,  readFile,    writeFile,         truncateFile, syncFile, fileSize, lockFile,
    unlockFile, checkReservedLock, fileControl, sectorSize, deviceCharacteristics,
};

// The record of the file's writes when they are gathered; null otherwise.
std::shared_ptr<WrittenPages> recordOf(const char *name)
{
    if (!name)
        return nullptr;
    const std::lock_guard lock(g_mutex);
    const auto found = g_paths.find(name);
    return found == g_paths.end() ? nullptr : found->second;
}

// Any other file is the platform's own, placed at the start of the memory so that the
// library calls the platform's methods on it directly.
int openFile(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    std::shared_ptr<WrittenPages> record = (flags & SQLITE_OPEN_MAIN_DB) ? recordOf(name) : nullptr;
    if (!record)
        return g_real->xOpen(g_real, name, file, flags, outFlags);
    GatheredFile *f = gathered(file);
    std::memset(f, 0, sizeof *f);
    f->real = reinterpret_cast<sqlite3_file *>(f + 1);
    const int rc = g_real->xOpen(g_real, name, f->real, flags, outFlags);
    if (rc != SQLITE_OK || !f->real->pMethods)
        return rc;
    f->syncFd = ::open(name, O_WRONLY | O_CLOEXEC);
    try {
        f->writer = new PieceWriter(f->real, f->syncFd, record.get());
    } catch (const std::exception &) {
        f->real->pMethods->xClose(f->real);
        if (f->syncFd >= 0)
            ::close(f->syncFd);
        return SQLITE_NOMEM;
    }
    f->pending = f->writer->buffer();
    f->written = new std::shared_ptr<WrittenPages>(std::move(record));
    f->base.pMethods = &kGatheredMethods;
    return SQLITE_OK;
}

// Everything but opening is the platform's.
int deleteFile(sqlite3_vfs *, const char *name, int syncDir)
{
    return g_real->xDelete(g_real, name, syncDir);
}
int access(sqlite3_vfs *, const char *name, int flags, int *out)
{
    return g_real->xAccess(g_real, name, flags, out);
}
int fullPathname(sqlite3_vfs *, const char *name, int size, char *out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}
void *dlOpen(sqlite3_vfs *, const char *name)
{
    return g_real->xDlOpen(g_real, name);
}
void dlError(sqlite3_vfs *, int size, char *out)
{
    g_real->xDlError(g_real, size, out);
}
void (*dlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}
void dlClose(sqlite3_vfs *, void *handle)
{
    g_real->xDlClose(g_real, handle);
}
int randomness(sqlite3_vfs *, int size, char *out)
{
    return g_real->xRandomness(g_real, size, out);
}
int sleepFor(sqlite3_vfs *, int microseconds)
{
    return g_real->xSleep(g_real, microseconds);
}
int currentTime(sqlite3_vfs *, double *out)
{
    return g_real->xCurrentTime(g_real, out);
}
int lastError(sqlite3_vfs *, int size, char *out)
{
    return g_real->xGetLastError ? g_real->xGetLastError(g_real, size, out) : 0;
}
int currentTimeInt64(sqlite3_vfs *, sqlite3_int64 *out)
{
    return g_real->xCurrentTimeInt64(g_real, out);
}

void registerOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        g_real = sqlite3_vfs_find(nullptr);
        g_vfs.iVersion = 2;
        g_vfs.szOsFile = int(sizeof(GatheredFile)) + g_real->szOsFile;
        g_vfs.mxPathname = g_real->mxPathname;
        g_vfs.zName = kName;
        g_vfs.xOpen = openFile;
        g_vfs.xDelete = deleteFile;
        g_vfs.xAccess = access;
        g_vfs.xFullPathname = fullPathname;
        g_vfs.xDlOpen = dlOpen;
        g_vfs.xDlError = dlError;
        g_vfs.xDlSym = dlSym;
        g_vfs.xDlClose = dlClose;
        g_vfs.xRandomness = randomness;
        g_vfs.xSleep = sleepFor;
        g_vfs.xCurrentTime = currentTime;
        g_vfs.xGetLastError = lastError;
        g_vfs.xCurrentTimeInt64 = currentTimeInt64;
        sqlite3_vfs_register(&g_vfs, 0);
    });
}

} // namespace

const char *gatheredWritesVfs()
{
    registerOnce();
    return kName;
}

GatheredWrites::GatheredWrites(const QString &path) : m_written(std::make_shared<WrittenPages>())
{
    registerOnce();
    // The name the library will open the file by.
    const QByteArray given = QFile::encodeName(path);
    m_path.resize(g_real->mxPathname + 1);
    if (g_real->xFullPathname(g_real, given.constData(), int(m_path.size()), m_path.data()) != SQLITE_OK)
        m_path = given;
    m_path.truncate(qsizetype(std::strlen(m_path.constData())));
    const std::lock_guard lock(g_mutex);
    g_paths[m_path.toStdString()] = m_written;
}

GatheredWrites::~GatheredWrites()
{
    const std::lock_guard lock(g_mutex);
    g_paths.erase(m_path.toStdString());
}

QString GatheredWrites::differences() const
{
    return m_written->differences(m_path);
}

} // namespace dao::sqlite
