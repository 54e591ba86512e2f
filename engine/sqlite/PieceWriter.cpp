#include "engine/sqlite/PieceWriter.h"

#include <fcntl.h>
#include <sqlite3.h>

namespace dao::sqlite {

namespace {
// Enough buffers for the writer to take one while the next is filled and one waits.
constexpr int kBuffers = 4;
// Every few megabytes the system is asked to start writing to disk what it took so far:
// the disk then works while the copy goes on, and the sync that ends the copy only waits
// for the last of them. Only a request: the sync still waits for every page.
constexpr long long kWriteBackEvery = 4 * 1024 * 1024;
}

PieceWriter::PieceWriter(sqlite3_file *file, int writeBackFd)
    : m_file(file), m_writeBackFd(writeBackFd), m_buffers(kBuffers, std::vector<char>(kPieceSize))
{
    for (auto &buffer : m_buffers)
        m_free.push_back(buffer.data());
    m_thread = std::thread([this] { run(); });
}

PieceWriter::~PieceWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

char *PieceWriter::buffer()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_free.empty(); });
    char *buffer = m_free.back();
    m_free.pop_back();
    return buffer;
}

int PieceWriter::write(char *piece, int size, long long offset)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_failure != SQLITE_OK) {
            m_free.push_back(piece);
            return m_failure;
        }
        m_queue.push_back({piece, size, offset});
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
            rc = m_file->pMethods->xWrite(m_file, piece.data, piece.size, piece.offset);
            m_sinceWriteBack += piece.size;
            if (rc == SQLITE_OK && m_writeBackFd >= 0 && m_sinceWriteBack >= kWriteBackEvery) {
                m_sinceWriteBack = 0;
                ::sync_file_range(m_writeBackFd, 0, 0, SYNC_FILE_RANGE_WRITE);
            }
        }
        lock.lock();
        if (rc != SQLITE_OK && m_failure == SQLITE_OK)
            m_failure = rc;
        m_free.push_back(piece.data);
        --m_busy;
        m_changed.notify_all();
    }
}

} // namespace dao::sqlite
