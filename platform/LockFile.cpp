#include "platform/LockFile.h"

#include "platform/FileOps.h"
#include "platform/UniqueFd.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A holder that leaves removes the file while it still holds it, so a newcomer may have
// locked a file that no longer has a name; it then starts over with the file now there.
constexpr int MaxAttempts = 8;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the lock file's path still names the file open on fd.
bool pathNamesFile(const QByteArray &path, int fd)
{
    struct stat opened{};
    struct stat named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && sameFile(opened, named);
}

int flockRetrying(int fd, int operation)
{
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

[[noreturn]] void fail(const QString &what, const QString &path)
{
    const int error = errno;
    throw std::runtime_error((what + u' ' + path + QLatin1String(": ")).toStdString() + std::strerror(error));
}

// Only for whoever looks at the file by hand: who holds it. Shared holders all find the
// first one's note; an exclusive holder puts its own.
void writeHolderNote(int fd, LockFile::Mode mode)
{
    struct stat st{};
    if (mode == LockFile::Mode::Shared && (::fstat(fd, &st) != 0 || st.st_size > 0))
        return;
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string note = std::to_string(::getpid()) + ' ' + host + '\n';
    if (::ftruncate(fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, note.data(), note.size(), 0); // nothing depends on it
}

} // namespace

QString LockFile::pathFor(const QString &archivePath)
{
    const QString folder = folderOf(archivePath);
    QString name = fileNameOf(archivePath);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return folder + name + QLatin1String(".ldb");
}

namespace {
QSet<QString> &loans()
{
    static QSet<QString> lent;
    return lent;
}
}

LockLoan::LockLoan(const LockFile &held, const QString &archivePath) : m_lockPath(LockFile::pathFor(archivePath))
{
    Q_ASSERT(held.mode() == LockFile::Mode::Exclusive && held.m_path == m_lockPath);
    loans().insert(m_lockPath);
}

LockLoan::~LockLoan()
{
    loans().remove(m_lockPath);
}

bool LockLoan::lent(const QString &lockPath)
{
    return loans().contains(lockPath);
}

std::unique_ptr<LockFile> LockFile::acquire(const QString &archivePath, Mode mode)
{
    const QString path = pathFor(archivePath);
    if (LockLoan::lent(path))
        return std::unique_ptr<LockFile>(new LockFile(path, -1, mode));
    const QByteArray nativePath = QFile::encodeName(path);
    const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;

    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        // O_NOFOLLOW: the note is written into this file, so it must not be a link planted elsewhere.
        UniqueFd fd(::open(nativePath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (!fd.valid()) {
            if (errno == EINTR)
                continue;
            fail(QStringLiteral("Cannot create the lock file"), path);
        }
        if (flockRetrying(fd.get(), operation) != 0) {
            if (errno != EWOULDBLOCK)
                fail(QStringLiteral("Cannot lock"), path);
            // Refused by a holder that was just leaving, and has removed the file: try the new one.
            if (!pathNamesFile(nativePath, fd.get()))
                continue;
            return nullptr;
        }
        if (!pathNamesFile(nativePath, fd.get()))
            continue;
        writeHolderNote(fd.get(), mode);
        return std::unique_ptr<LockFile>(new LockFile(path, fd.release(), mode));
    }
    return nullptr;
}

LockFile::~LockFile()
{
    if (m_fd < 0)
        return;   // borrowed: the lender releases
    // Getting the exclusive lock means nobody else is in: remove the file while still
    // holding it, so nobody can take a lock on it between the check and the removal.
    const QByteArray nativePath = QFile::encodeName(m_path);
    if (flockRetrying(m_fd, LOCK_EX | LOCK_NB) == 0 && pathNamesFile(nativePath, m_fd))
        ::unlink(nativePath.constData());
    ::close(m_fd);
}

} // namespace platform
