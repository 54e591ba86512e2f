#include "platform/FileOps.h"

#include "platform/UniqueFd.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

int openRetrying(const QByteArray &path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool copyContent(int from, int to)
{
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        if (!writeAll(to, buffer.data(), size_t(n)))
            return false;
    }
}

bool fsyncPath(const QByteArray &path, int extraFlags)
{
    const UniqueFd fd(openRetrying(path, O_RDONLY | extraFlags));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

// Like the platform's generator: a start value taken from the clock, then the next value
// on every collision. The process id and a call counter keep two quick callers apart.
unsigned tempNameStart()
{
    static std::atomic<unsigned> calls{0};
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const unsigned mix = unsigned(now.tv_nsec / 1000) ^ unsigned(now.tv_sec) ^ (unsigned(::getpid()) << 5)
                         ^ (calls.fetch_add(1, std::memory_order_relaxed) * 7919u);
    return mix & 0xFFFFu;
}

} // namespace

bool fileExists(const QString &path)
{
    struct stat st{};
    return !path.isEmpty() && ::stat(nativePath(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool deleteFile(const QString &path)
{
    return ::unlink(nativePath(path).constData()) == 0;
}

bool copyFile(const QString &src, const QString &dst)
{
    const UniqueFd in(openRetrying(nativePath(src), O_RDONLY));
    struct stat st{};
    if (!in.valid() || ::fstat(in.get(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;

    // The copy is built beside dst and renamed over it only once it is complete and on
    // disk, so dst never holds a partial copy.
    QByteArray tempPath = nativePath(dst) + ".copy-XXXXXX";
    UniqueFd out(::mkostemp(tempPath.data(), O_CLOEXEC));
    if (!out.valid())
        return false;
    const bool written = ::fchmod(out.get(), st.st_mode & 07777) == 0 && copyContent(in.get(), out.get())
                         && ::fsync(out.get()) == 0;
    if (!out.close() || !written || ::rename(tempPath.constData(), nativePath(dst).constData()) != 0) {
        ::unlink(tempPath.constData());
        return false;
    }
    syncFolder(folderOf(dst));
    return true;
}

QString uniqueTempFileName(const QString &folder, const QString &prefix)
{
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(u'/'))
        base += u'/';
    base += prefix;

    const unsigned start = tempNameStart();
    for (unsigned i = 0; i <= 0xFFFFu; ++i) {
        const unsigned value = (start + i) & 0xFFFFu;
        const QString path = base + QString::asprintf("%04X.tmp", value);
        const int fd = openRetrying(nativePath(path), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

bool syncFile(const QString &path)
{
    return fsyncPath(nativePath(path), 0);
}

bool syncFolder(const QString &folder)
{
    return fsyncPath(folder.isEmpty() ? QByteArray(".") : nativePath(folder), O_DIRECTORY);
}

bool atomicReplace(const QString &src, const QString &dst)
{
    return ::rename(nativePath(src).constData(), nativePath(dst).constData()) == 0;
}

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString executableFolder()
{
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (size_t(n) < buffer.size())
            return folderOf(QFile::decodeName(QByteArray(buffer.data(), n)));
        buffer.resize(buffer.size() * 2);
    }
}

QString folderOrCurrent(const QString &path)
{
    const QString folder = folderOf(path);
    return folder.isEmpty() ? currentFolder() : folder;
}

QString currentFolder()
{
    char *cwd = ::getcwd(nullptr, 0);
    if (!cwd)
        return {};
    QString folder = QFile::decodeName(cwd);
    std::free(cwd);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace platform
