#pragma once
// Copies a whole archive to a new place: a file to a server's empty database, a server's
// database to a new file (encrypted when it gets a password), or a file to a file; or the
// tables of another source (an Access file) into a new archive. Every table, key and value
// goes across through the engine; the copy is then opened afresh and compared with the
// source, row by row. A target that exists (a file) or holds tables (a
// database) is never touched; a target file that ends unfinished or different is removed.

#include "tools/cli/ArchiveComparison.h"
#include "tools/cli/CliError.h"

#include <QString>
#include <functional>
#include <memory>

namespace cli {

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
    void copyInto(const QString &target);
    // Undoes what this run made of the target, where it may: a file it created is removed.
    CliError failed(const CliError &error) const;

    QString m_sourceName;
    SourceOpener m_source;
    TransferSide m_to;
    Progress m_progress;
    bool m_creating = false;     // the target's creation was asked of the engine
    bool m_targetMade = false;   // and it succeeded
};

} // namespace cli
