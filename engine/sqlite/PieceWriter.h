#pragma once
// Writes the pieces a copy gathers on a thread of its own, so that the system's work of
// taking them runs beside the building of the next ones, and has what was written so far
// brought to disk on a second thread while the copy goes on: the sync that ends the copy
// then waits only for the last few megabytes instead of the whole file. Whoever uses the
// file otherwise first waits until every piece is written; the first write or sync that
// fails is kept and reported from then on, so a failure still fails the copy.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct sqlite3_file;

namespace dao::sqlite {

class WrittenPages;

class PieceWriter {
public:
    static constexpr int kPieceSize = 64 * 1024;

    // file: the platform's file the pieces go to; syncFd: the same file, only to bring it to
    // disk as it grows (-1: none); record: where each piece is noted before it is written,
    // on the writer's thread (null: nowhere). Throws std::system_error when no thread can start.
    PieceWriter(sqlite3_file *file, int syncFd, WrittenPages *record = nullptr);
    ~PieceWriter();   // finish()
    PieceWriter(const PieceWriter &) = delete;
    PieceWriter &operator=(const PieceWriter &) = delete;

    // An empty buffer of kPieceSize bytes to fill; waits while every buffer is in flight.
    char *buffer();
    // Hands over a buffer from buffer() holding size bytes for offset, made of writes of
    // grain bytes each; returns the first failure so far (the piece is then dropped).
    int write(char *piece, int size, long long offset, int grain = 0);   // 0: one write
    // Waits until every piece handed over is written; returns the first failure.
    int drain();
    // Writes what is left, waits for the sync in flight and ends both threads; returns the
    // first failure, the sync's included. Nothing may be handed over afterwards.
    int finish();

private:
    struct Piece {
        char *data;
        int size;
        long long offset;
        int grain;
    };
    void run();
    void runSyncs();
    void fail(int rc);   // with m_mutex held

    sqlite3_file *m_file;
    const int m_syncFd;
    WrittenPages *const m_record;
    long long m_sinceSync = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::condition_variable m_syncAsked;   // the sync thread's own: it wakes for nothing else
    std::deque<Piece> m_queue;
    std::vector<std::vector<char>> m_buffers;
    std::vector<char *> m_free;
    int m_busy = 0;        // pieces taken off the queue and being written
    int m_failure = 0;     // the first failure (SQLITE_OK: none)
    bool m_syncWanted = false;
    bool m_stopping = false;
    std::thread m_thread;  // last: start once everything above exists
    std::thread m_syncThread;
};

} // namespace dao::sqlite
