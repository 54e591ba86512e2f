#include "platform/SuppliedFiles.h"

#include "platform/FileOps.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace platform {

namespace {

// bin/ and share/ are siblings under the installation prefix (/usr, /usr/local, a staging
// folder).
const QString kFromExecutable = QStringLiteral("../share/tavorio");

} // namespace

QString suppliedFolder(const QString &executableFolder)
{
    const QString from = executableFolder.isEmpty() ? platform::executableFolder() : executableFolder;
    if (from.isEmpty())
        return {};
    const QFileInfo folder(QDir(from).filePath(kFromExecutable));
    if (!folder.isDir())
        return {};
    return folder.canonicalFilePath() + QLatin1Char('/');
}

QString suppliedFile(const QString &relative, const QString &executableFolder)
{
    const QString folder = suppliedFolder(executableFolder);
    if (folder.isEmpty() || relative.isEmpty())
        return {};
    const QString path = folder + relative;
    return QFileInfo(path).isFile() ? path : QString();
}

QStringList copyMissingFiles(const QString &from, const QString &to)
{
    QStringList copied;
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = source.relativeFilePath(path);
        const QString target = QDir(to).filePath(relative);
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        // Installed files are read-only for the user; the copies are theirs to change.
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(path, target)
            || !QFile::setPermissions(target, QFile::permissions(path) | QFileDevice::WriteOwner | QFileDevice::ReadOwner))
            throw std::runtime_error(QStringLiteral("Impossibile copiare \"%1\" in \"%2\".")
                                         .arg(relative, QDir::toNativeSeparators(to))
                                         .toStdString());
        copied.append(relative);
    }
    copied.sort();
    return copied;
}

} // namespace platform
