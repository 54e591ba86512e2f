#pragma once
// What a copy of an archive file must show as the archive does: the same tables and
// indexes, each table ending at the same highest key, the same key counters and format
// version. Read from the archive inside the transaction that makes the copy, and from the
// copy opened again on its own once it is on disk. Each figure costs a few page reads
// whatever the archive's size: counting rows would read (and, under a password, decrypt)
// every page twice more, and a page lost or damaged on its way to disk is found by reading
// the file back (WrittenPages).

#include <QString>
#include <map>

struct sqlite3;

namespace dao::sqlite {

class CopyFigures {
public:
    // The figures of the database attached to handle as schema ("main": the archive);
    // throws StorageFailure.
    static CopyFigures of(sqlite3 *handle, const QString &schema);
    // What copy shows differently from these, in Italian; empty when nothing.
    QString differencesIn(const CopyFigures &copy) const;

private:
    std::map<QString, QString> m_figures;   // what → its value, both in words
};

// Whether the database attached as schema declares as many pages as its file holds:
// empty when it does, otherwise what differs; throws StorageFailure.
QString pageCountDifference(sqlite3 *handle, const QString &schema, const QString &file);

} // namespace dao::sqlite
