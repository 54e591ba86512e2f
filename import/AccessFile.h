#pragma once
// An Access database file (Access 97 or 2000 format), opened read-only through mdbtools'
// library: its tables, their columns with the Access field types, and their rows as the
// engine's values. The file is never written. A file with a database password is read only
// after the password given matches the one the file holds.

#include "engine/Value.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace accessdb {

// The Access field types the file's column definitions carry.
enum class JetType {
    Boolean = 0x01, Byte = 0x02, Integer = 0x03, Long = 0x04, Money = 0x05, Single = 0x06,
    Double = 0x07, DateTime = 0x08, Binary = 0x09, Text = 0x0a, OleObject = 0x0b, Memo = 0x0c,
    Guid = 0x0f, Numeric = 0x10, Complex = 0x12
};

// The type's name as Access shows it in a table's design ("Testo", "Memo", "Sì/No" ...).
QString jetTypeName(int type);

struct AccessColumn {
    QString name;
    int type = 0;           // a JetType
    int size = 0;           // characters for a text field
    bool counter = false;   // an AutoNumber field
};

struct AccessTable {
    QString name;
    std::vector<AccessColumn> columns;
    qint64 nextCounter = 0;   // the value the table's AutoNumber hands out next; 0: none
};

class AccessError : public std::runtime_error {
public:
    enum class Kind { NotAccess, BadPassword, Damaged };
    AccessError(Kind kind, const QString &message);
    Kind kind() const { return m_kind; }
    const QString &message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

class AccessFile {
public:
    // Throws AccessError: NotAccess for a file that is not an Access 97/2000 database (named
    // why), BadPassword when the file has a password and `password` is not it.
    AccessFile(const QString &path, const QString &password);
    ~AccessFile();
    AccessFile(const AccessFile &) = delete;
    AccessFile &operator=(const AccessFile &) = delete;

    // Whether the file's first page is that of an Access database of a version this reader
    // opens: enough to tell it from an archive of the engine without reading any further.
    static bool looksLikeAccess(const QString &path);
    // Whether an Access file holds a database password; false for any other file.
    static bool hasPassword(const QString &path);

    const QString &path() const { return m_path; }
    // "Access 97" or "Access 2000".
    QString versionName() const;
    // The user tables, in the file's catalogue order; system tables left out.
    QStringList tables() const;
    AccessTable table(const QString &name) const;
    // Calls `row` with every stored row's values, in column order and in the table's
    // stored order (deleted rows skipped); stops early when `row` returns false. Returns the
    // rows read. Throws AccessError (Damaged) for a table that cannot be read.
    qint64 readRows(const QString &table, const std::function<bool(const std::vector<dao::Value> &)> &row) const;

private:
    struct Handle;
    QString m_path;
    std::unique_ptr<Handle> m_handle;
};

} // namespace accessdb
