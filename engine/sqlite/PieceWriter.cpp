#include "engine/sqlite/PieceWriter.h"

#include "engine/StorageFaults.h"
#include "engine/sqlite/WrittenPages.h"

#include <sqlite3.h>
#include <unistd.h>

namespace dao::sqlite {

namespace {
// Enough buffers for the writer to take one while the next is filled and one waits.
constexpr int kBuffers = 4;
// Every few megabytes what the system took so far is brought to disk beside the copy's
// work. A sync costs about what the data it finds costs to write, so little is spent on
// the syncs themselves; the last one, after the copy, finds only the tail.
constexpr long long kSyncEvery = 8 * 1024 * 1024;
}

PieceWriter::PieceWriter(sqlite3_file *file, int syncFd, WrittenPages *record)
    : m_file(file), m_syncFd(syncFd), m_record(record), m_buffers(kBuffers, std::vector<char>(kPieceSize))
{
    for (auto &buffer : m_buffers)
        m_free.push_back(buffer.data());
    m_thread = std::thread([this] { run(); });
    if (m_syncFd >= 0) {
        try {
            m_syncThread = std::thread([this] { runSyncs(); });
        } catch (...) {
            {
                const std::lock_guard lock(m_mutex);
                m_stopping = true;
            }
            m_changed.notify_all();
            m_thread.join();
            throw;
        }
    }
}

PieceWriter::~PieceWriter()
{
    finish();
}

int PieceWriter::finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_syncAsked.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_syncThread.joinable())
        m_syncThread.join();
    const std::lock_guard lock(m_mutex);
    return m_failure;
}

char *PieceWriter::buffer()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_free.empty(); });
    char *buffer = m_free.back();
    m_free.pop_back();
    return buffer;
}

int PieceWriter::write(char *piece, int size, long long offset, int grain)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_failure != SQLITE_OK) {
            m_free.push_back(piece);
            return m_failure;
        }
        m_queue.push_back({piece, size, offset, grain > 0 ? grain : size});
    }
    m_changed.notify_all();
    return SQLITE_OK;
}

int PieceWriter::drain()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && m_busy == 0; });
    return m_failure;
}

void PieceWriter::fail(int rc)
{
    if (rc != SQLITE_OK && m_failure == SQLITE_OK)
        m_failure = rc;
}

void PieceWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return;   // stopping, and nothing left
        const Piece piece = m_queue.front();
        m_queue.pop_front();
        ++m_busy;
        const bool failedBefore = m_failure != SQLITE_OK;
        lock.unlock();
        // After a failure the rest is not written: the copy has failed already.
        int rc = SQLITE_OK;
        if (!failedBefore) {
            if (m_record)
                m_record->wrote(piece.data, piece.size, piece.offset, piece.grain);
            if (!faults::copyWriteLost())
                rc = m_file->pMethods->xWrite(m_file, piece.data, piece.size, piece.offset);
        }
        lock.lock();
        fail(rc);
        m_sinceSync += piece.size;
        if (m_sinceSync >= kSyncEvery && m_syncFd >= 0) {
            m_sinceSync = 0;
            m_syncWanted = true;
            m_syncAsked.notify_one();
        }
        m_free.push_back(piece.data);
        --m_busy;
        m_changed.notify_all();
    }
}

// Only data is synced here: the file's size and place in its folder are synced by whoever
// renames the copy into place, after the last piece.
void PieceWriter::runSyncs()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_syncAsked.wait(lock, [this] { return m_stopping || m_syncWanted; });
        if (!m_syncWanted)
            return;
        m_syncWanted = false;
        lock.unlock();
        const int rc = ::fdatasync(m_syncFd) == 0 ? SQLITE_OK : SQLITE_IOERR_FSYNC;
        lock.lock();
        fail(rc);
    }
}

} // namespace dao::sqlite
