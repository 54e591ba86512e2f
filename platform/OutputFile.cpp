#include "platform/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace platform {

namespace {

const char *const kArchiveSuffixes[] = {".mdb", ".ldb", ".mdb-journal", ".mdb-wal", ".mdb-shm"};

// Where a file is or would be: the real folder (links resolved) and the name in it.
QString placeOf(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + QLatin1Char('/') + info.fileName();
}

bool startsAsDatabase(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

} // namespace

bool sameFile(const QString &a, const QString &b)
{
    struct stat first {}, second {};
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 && ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return placeOf(a) == placeOf(b);
}

bool isArchiveFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName().toLower();
    for (const char *suffix : kArchiveSuffixes)
        if (name.endsWith(QLatin1String(suffix)))
            return true;
    return startsAsDatabase(path);
}

OutputTargets::OutputTargets(QString archiveFile, bool overwrite)
    : m_archive(std::move(archiveFile)), m_overwrite(overwrite)
{
}

OutputRefusal OutputTargets::add(const QString &path)
{
    if (!m_archive.isEmpty() && sameFile(path, m_archive))
        return OutputRefusal::Archive;
    if (isArchiveFile(path))
        return OutputRefusal::ArchiveFile;
    for (const QString &taken : m_taken)
        if (sameFile(taken, path))
            return OutputRefusal::Repeated;
    if (!m_overwrite && QFileInfo::exists(path))
        return OutputRefusal::Exists;
    m_taken << path;
    return OutputRefusal::None;
}

QString OutputTargets::text(OutputRefusal refusal, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (refusal) {
    case OutputRefusal::None:
        break;
    case OutputRefusal::Archive:
        return QStringLiteral("Il file \"%1\" è l'archivio: non viene mai sostituito.").arg(shown);
    case OutputRefusal::ArchiveFile:
        return QStringLiteral("Il file \"%1\" è un archivio o una sua copia: non viene mai sostituito.").arg(shown);
    case OutputRefusal::Exists:
        return QStringLiteral("Il file \"%1\" esiste già.").arg(shown);
    case OutputRefusal::Repeated:
        return QStringLiteral("Il file \"%1\" è indicato per due uscite.").arg(shown);
    }
    return QString();
}

bool writeThroughTemporary(const QString &path, const std::function<bool(const QString &)> &write, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("Non è stato possibile scrivere il file \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    // QTemporaryFile makes its file with owner-only permissions; the rename keeps them.
    QTemporaryFile file(QFileInfo(path).absolutePath() + QStringLiteral("/.tavorio-XXXXXX"));
    if (!file.open())
        return fail(file.errorString());
    file.close();
    // No flush to the disk: these are files a user can make again, and a batch of documents
    // writes a thousand of them.
    if (!write(file.fileName()))
        return fail(QStringLiteral("scrittura non riuscita"));
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return true;
}

bool writeOutputBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    return writeThroughTemporary(
        path,
        [&bytes](const QString &temporary) {
            QFile file(temporary);
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
                && file.flush();
        },
        error);
}

} // namespace platform
