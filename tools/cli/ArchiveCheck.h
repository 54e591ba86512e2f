#pragma once
// Opens an archive read-only and counts the rows of the seven tables, telling a wrong
// password apart from a file that is not an archive of the program.

#include <QString>
#include <vector>

namespace cli {

struct TableCount {
    QString table;
    int rows = 0;
};

class ArchiveCheck {
public:
    ArchiveCheck(QString path, QString password);

    // The counts in schema order. Throws CliError: ExitCode::BadPassword for a wrong or
    // missing password, ExitCode::NotAnArchive for a missing, damaged or foreign file, or
    // one that lacks a table or field of the schema.
    std::vector<TableCount> run() const;

private:
    QString m_path;
    QString m_password;
};

} // namespace cli
