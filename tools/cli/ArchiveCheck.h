#pragma once
// Opens an archive read-only, counts the rows of the seven tables, telling a wrong password
// apart from a file that is not an archive of the program, then runs the storage library's
// integrity check (with the encryption check when the archive has a password).

#include <QString>
#include <QStringList>
#include <vector>

namespace cli {

struct TableCount {
    QString table;
    int rows = 0;
};

struct CheckReport {
    std::vector<TableCount> counts;   // in schema order
    QStringList problems;             // the first ones the integrity check found; empty: sound
};

// What verifica writes to standard error for a damaged archive.
QString damagedText(const QString &path, const QStringList &problems);

class ArchiveCheck {
public:
    ArchiveCheck(QString path, QString password);

    // Throws CliError: ExitCode::BadPassword for a wrong or missing password,
    // ExitCode::NotAnArchive for a missing, unreadable or foreign file, or one that lacks a
    // table or field of the schema.
    CheckReport run() const;

private:
    QString m_path;
    QString m_password;
};

} // namespace cli
