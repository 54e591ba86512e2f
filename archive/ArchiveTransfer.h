#pragma once
// Copies a whole archive to a new place: a file to a server's empty database, a server's
// database to a new file (encrypted when it gets a password), or a file to a file; or the
// tables of another source (an Access file) into a new archive. Every
// table, key, value and saved query goes across through the engine, in one transaction of
// the copy that is compared with the original, row by row, before it is committed: a copy is
// whole or absent. A file is built under a working name beside the target and takes the
// target's name only once whole. Until the commit the copy holds an unfinished-copy mark
// (a table), so whatever a killed run leaves behind is told apart by verifica. A target
// that exists (a file) or holds tables (a database) is never touched.

#include "archive/ArchiveComparison.h"
#include "archive/CliError.h"

#include <QString>
#include <functional>
#include <memory>

namespace cli {

// The table that marks an archive whose copy never finished.
QString unfinishedCopyMark();
// The working name under which a copy into a file is built.
QString workingFileFor(const QString &target);

struct TransferSide {
    QString location;   // a file path or a server address
    QString password;   // the file's password, or the office role's on the server
};

class CopySource;

class ArchiveTransfer {
public:
    // Opens the source afresh for each pass; throws CliError when it cannot.
    using SourceOpener = std::function<std::shared_ptr<CopySource>()>;
    // Told the table and the rows copied so far, now and then; false cancels the copy.
    using Progress = std::function<bool(const QString &table, qint64 rows)>;

    ArchiveTransfer(TransferSide from, TransferSide to);
    // `sourceName` names the source in messages.
    ArchiveTransfer(QString sourceName, SourceOpener source, TransferSide to);

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // The comparison of the finished copy (no differences). Throws CliError: BadPassword
    // for a refused password on either side, NotAnArchive for a source that is no archive,
    // Refused for a target that exists or holds tables, a failed, cancelled or differing copy.
    Comparison run();

private:
    Comparison copyInto(const QString &where);
    // Gives the finished working file the target's name, never over a file that appeared.
    void publish(const QString &working) const;
    // Undoes what this run made of the target, where it may: a working file is removed.
    CliError failed(const CliError &error) const;

    QString m_sourceName;
    SourceOpener m_source;
    TransferSide m_to;
    Progress m_progress;
    bool m_creating = false;     // the target's creation was asked of the engine
    bool m_targetMade = false;   // and it succeeded
};

} // namespace cli
