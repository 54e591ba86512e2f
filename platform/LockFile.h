#pragma once
// The lock file kept beside an archive ("tavorio.mdb" -> "tavorio.ldb") while any process
// has it open. Each holder takes a shared lock on it; an exclusive holder takes an
// exclusive one, so an exclusive open fails while others are in and any open fails while
// one process is in exclusively. The last holder to leave removes the file. A lock file
// left by a crashed process holds no lock and is simply taken over.

#include <QString>
#include <memory>

namespace platform {

class LockFile {
public:
    enum class Mode { Shared, Exclusive };

    // Returns the held lock, or nullptr when another holder prevents it (never waits).
    // Throws std::runtime_error when the lock file cannot be created at all.
    static std::unique_ptr<LockFile> acquire(const QString &archivePath, Mode mode);
    static QString pathFor(const QString &archivePath);

    ~LockFile();
    LockFile(const LockFile &) = delete;
    LockFile &operator=(const LockFile &) = delete;

    Mode mode() const { return m_mode; }

private:
    friend class LockLoan;
    LockFile(QString path, int fd, Mode mode) : m_path(std::move(path)), m_fd(fd), m_mode(mode) {}
    QString m_path;
    int m_fd;
    Mode m_mode;
};

// Lends an exclusive lock to the rest of this process while it lives: acquire() for the
// same archive then succeeds without locking again, and the borrowed lock releases
// nothing. Compaction holds the archive this way across the engine's copy and the
// rename, so no other user can slip in between and write into the file being replaced.
class LockLoan {
public:
    LockLoan(const LockFile &held, const QString &archivePath);
    ~LockLoan();
    LockLoan(const LockLoan &) = delete;
    LockLoan &operator=(const LockLoan &) = delete;

    static bool lent(const QString &lockPath);

private:
    QString m_lockPath;
};

} // namespace platform
