#pragma once
// Creates a new archive, a file or in an empty database of a server: the seven tables, the
// standard rows and, on request, generated households. An existing file, or a database that
// holds tables, is never touched; a file whose creation fails halfway is removed.

#include <QString>
#include <QtGlobal>

namespace cli {

// Which households go into a new archive.
struct ArchiveContents {
    int households = 0;
    quint64 seed = 0;

    static ArchiveContents standardRowsOnly() { return {}; }
    static ArchiveContents demo();
    // n households of the fixed benchmark sequence: the same rows for the same n.
    static ArchiveContents generated(int n);
};

class ArchiveCreator {
public:
    // An empty password makes a plain, unencrypted archive.
    ArchiveCreator(QString path, QString password);

    // Throws CliError: ExitCode::Refused when the file exists or cannot be written, or the
    // database holds tables; ExitCode::BadPassword when the server refuses the password.
    void create(const ArchiveContents &contents);

private:
    void fill(const ArchiveContents &contents);
    // What a failure leaves behind that the user must clear, for the message.
    QString leftover() const;

    QString m_path;
    QString m_password;
    bool m_made = false;   // the engine created the archive, empty or partly filled
};

} // namespace cli
