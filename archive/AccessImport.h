#pragma once
// Brings an Access file's seven tables into a new archive, a file or a server's empty
// database: the copy and its check are those of trasferisci, with the Access file as the
// source, so the result is whole (every value compared with the Access file) or absent.
// A trial only reads and checks the file.

#include "archive/ArchiveTransfer.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace cli {

struct ImportOptions {
    bool trial = false;         // --prova: read and check, write nothing
    bool ignoreExtra = false;   // --ignora-extra: leave out what the archive has no place for
};

struct ImportedTable {
    QString table;
    qint64 read = 0;
    qint64 written = 0;   // and compared; 0 in a trial
};

struct ImportReport {
    QString source;
    QString target;
    bool trial = false;
    std::vector<ImportedTable> tables;
    QStringList leftOut;
};

class AccessImport {
public:
    AccessImport(QString accessFile, QString accessPassword, TransferSide to, ImportOptions options);

    void setProgress(ArchiveTransfer::Progress progress) { m_progress = std::move(progress); }

    // Throws CliError: BadPassword for the Access file's password or the target's,
    // NotAnArchive for a file that is not Access 97/2000, misses a table or field the
    // archive needs or holds one of another type, Refused for extra tables or fields (without
    // ignoreExtra), an existing target or a copy that failed, was cancelled or differs.
    ImportReport run();

private:
    QString m_file;
    QString m_password;
    TransferSide m_to;
    ImportOptions m_options;
    ArchiveTransfer::Progress m_progress;
};

// The report the command prints and the program shows, in Italian.
QString importReportText(const ImportReport &report);

} // namespace cli
