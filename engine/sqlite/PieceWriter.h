#pragma once
// Writes the pieces a copy gathers on a thread of its own, so that the system's work of
// taking them (and of starting to write them to disk) runs beside the building of the next
// ones. Whoever uses the file otherwise first waits until every piece is written; the first
// write that fails is kept and reported from then on, so a failure still fails the copy.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct sqlite3_file;

namespace dao::sqlite {

class PieceWriter {
public:
    static constexpr int kPieceSize = 64 * 1024;

    // file: the platform's file the pieces go to; writeBackFd: the same file, only to ask
    // for its write-back (-1: none). Throws std::system_error when no thread can start.
    PieceWriter(sqlite3_file *file, int writeBackFd);
    ~PieceWriter();   // waits for the pieces in flight
    PieceWriter(const PieceWriter &) = delete;
    PieceWriter &operator=(const PieceWriter &) = delete;

    // An empty buffer of kPieceSize bytes to fill; waits while every buffer is in flight.
    char *buffer();
    // Hands over a buffer from buffer() holding size bytes for offset; returns the first
    // failure so far (the piece is then dropped).
    int write(char *piece, int size, long long offset);
    // Waits until every piece handed over is written; returns the first failure.
    int drain();

private:
    struct Piece {
        char *data;
        int size;
        long long offset;
    };
    void run();

    sqlite3_file *m_file;
    const int m_writeBackFd;
    long long m_sinceWriteBack = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Piece> m_queue;
    std::vector<std::vector<char>> m_buffers;
    std::vector<char *> m_free;
    int m_busy = 0;        // pieces taken off the queue and being written
    int m_failure = 0;     // the first failure (SQLITE_OK: none)
    bool m_stopping = false;
    std::thread m_thread;  // last: starts once everything above exists
};

} // namespace dao::sqlite
