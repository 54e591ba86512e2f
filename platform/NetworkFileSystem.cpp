#include "platform/NetworkFileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstdint>
#include <sys/vfs.h>

namespace platform {

namespace {

struct MagicName {
    std::uint32_t magic;
    const char *name;
};

// statfs(2) f_type values of file systems whose files live on another machine (or on a disk
// shared by several machines), from the kernel's magic numbers.
constexpr MagicName kNetworkMagics[] = {
    {0xFF534D42u, "cifs"},   {0xFE534D42u, "smb2"},  {0x0000517Bu, "smb"},    {0x00006969u, "nfs"},
    {0x65735546u, "fuse"},   {0x5346414Fu, "afs"},   {0x6B414653u, "afs"},    {0x01021997u, "9p"},
    {0x00C36400u, "ceph"},   {0x73757245u, "coda"},  {0x0000564Cu, "ncpfs"},  {0x0BD00BD0u, "lustre"},
    {0x01161970u, "gfs2"},   {0x7461636Fu, "ocfs2"}, {0x47504653u, "gpfs"},   {0x19830326u, "beegfs"},
};

// mountinfo type names of the same file systems (FUSE ones are "fuse" or "fuse.<program>").
constexpr const char *kNetworkTypes[] = {"cifs",   "smb3",  "smbfs", "smb2",  "nfs",  "nfs4",   "afs",
                                         "9p",     "ceph",  "coda",  "ncpfs", "ncp",  "lustre", "gfs2",
                                         "ocfs2",  "gpfs",  "beegfs", "glusterfs", "davfs"};

// mountinfo writes blank, tab, newline and backslash in a path as a backslash and three octal
// digits.
QString unescapeMountPath(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            out.append(char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return QFile::decodeName(out);
}

bool holds(const QString &mountPoint, const QString &path)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(u'/');
    return path == mountPoint || path.startsWith(mountPoint + u'/');
}

// The path with its links resolved; for a file not yet there, its folder's.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder;
}

QByteArray readMountInfo()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<QString> fromMountInfo(const QString &path, const std::optional<QString> &unknownType)
{
    const QString type = mountTypeOf(readMountInfo(), path);
    if (type.isEmpty())
        return unknownType;
    if (isNetworkFileSystemType(type))
        return type;
    return std::nullopt;
}

} // namespace

std::optional<QString> networkFileSystemForMagic(unsigned long magic)
{
    for (const MagicName &entry : kNetworkMagics) {
        if (entry.magic == magic)
            return QString::fromLatin1(entry.name);
    }
    return std::nullopt;
}

bool isNetworkFileSystemType(const QString &type)
{
    if (type == QLatin1String("fuse") || type.startsWith(QLatin1String("fuse.")))
        return true;
    for (const char *name : kNetworkTypes) {
        if (type == QLatin1String(name))
            return true;
    }
    return false;
}

QString mountTypeOf(const QByteArray &mountinfo, const QString &absolutePath)
{
    // Each line: id parent major:minor root mount-point options [optional fields...] - type
    // source super-options. The deepest mount point holding the path wins; of two on the same
    // point the later one, which covers the earlier.
    QString type;
    qsizetype deepest = -1;
    for (const QByteArray &line : mountinfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 7)
            continue;
        const qsizetype separator = fields.indexOf(QByteArray("-"), 6);
        if (separator < 0 || separator + 1 >= fields.size())
            continue;
        const QString mountPoint = unescapeMountPath(fields[4]);
        if (!holds(mountPoint, absolutePath) || mountPoint.size() < deepest)
            continue;
        deepest = mountPoint.size();
        type = QString::fromLatin1(fields[separator + 1]);
    }
    return type;
}

std::function<std::optional<QString>(const QString &path)> &networkFileSystemOverride()
{
    static std::function<std::optional<QString>(const QString &)> answer;
    return answer;
}

std::optional<QString> networkFileSystemOf(const QString &path)
{
    if (const auto &answer = networkFileSystemOverride())
        return answer(path);
    const QString resolved = resolvedPath(path);
    struct statfs info {};
    if (::statfs(QFile::encodeName(resolved).constData(), &info) != 0)
        return fromMountInfo(resolved, std::nullopt);
    // f_type is a signed word: the magic numbers are its low 32 bits.
    const std::optional<QString> name = networkFileSystemForMagic(std::uint32_t(info.f_type));
    if (!name || *name != QLatin1String("fuse"))
        return name;
    // FUSE also serves local disks (fuseblk, e.g. NTFS through ntfs-3g): its mount type tells.
    return fromMountInfo(resolved, name);
}

} // namespace platform
