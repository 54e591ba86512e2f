#pragma once
// Files the user asks for (lists as PDF, spreadsheets, documents): one writer and one guard.
// The writer fills a temporary file beside the target, readable by its owner only (the files
// name assisted people), and renames it into place, so a failed write leaves whatever was
// there before. The guard refuses, before anything is written, a target that would replace
// the archive, one of its copies or any other archive, an existing file the user did not
// agree to replace, and a second output naming a file already named.

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

enum class OutputRefusal { None, Archive, ArchiveFile, Exists, Repeated };

class OutputTargets {
public:
    // `archiveFile` is the file of the archive being read (empty for an archive on a server,
    // or none: no file to spare); `overwrite` lets existing files that are not archives be
    // replaced.
    OutputTargets(QString archiveFile, bool overwrite);

    // Takes `path` as one more output unless it is refused; then says why.
    OutputRefusal add(const QString &path);

    // The Italian sentence for a refusal of `path`, without the advice on overwriting.
    static QString text(OutputRefusal refusal, const QString &path);

private:
    QString m_archive;
    bool m_overwrite;
    QStringList m_taken;
};

// An archive by its name (.mdb, its lock file, its journals) or by its first bytes (an SQLite
// database); an encrypted archive under another name is known only as the archive itself.
bool isArchiveFile(const QString &path);

// Two names of one file: the same file on disk, or the same place for a file still to come.
bool sameFile(const QString &a, const QString &b);

// `write` fills the temporary file whose path it is given and says whether it could; then the
// file is renamed over `path`. On failure nothing is left behind and `error` (when
// given) says why, in Italian.
bool writeThroughTemporary(const QString &path, const std::function<bool(const QString &temporary)> &write,
                           QString *error = nullptr);
bool writeOutputBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace platform
