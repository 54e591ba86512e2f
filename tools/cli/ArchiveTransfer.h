#pragma once
// Copies a whole archive to a new place: a file to a server's empty database, a server's
// database to a new file (encrypted when it gets a password), or a file to a file. Every
// table, key and value goes across through the engine; the copy is then opened afresh and
// compared with the original, row by row. A target that exists (a file) or holds tables (a
// database) is never touched; a target file that ends unfinished or different is removed.

#include "tools/cli/ArchiveComparison.h"

#include <QString>

namespace cli {

struct TransferSide {
    QString location;   // a file path or a server address
    QString password;   // the file's password, or the office role's on the server
};

class ArchiveTransfer {
public:
    ArchiveTransfer(TransferSide from, TransferSide to);

    // The comparison of the finished copy (no differences). Throws CliError: BadPassword
    // for a refused password on either side, NotAnArchive for a source that is no archive,
    // Refused for a target that exists or holds tables, a failed copy or a copy that differs.
    Comparison run();

private:
    void copyInto(const QString &target);

    TransferSide m_from;
    TransferSide m_to;
};

} // namespace cli
