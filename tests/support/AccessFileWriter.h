#pragma once
// Access 2000 (Jet 4) database files written on the fly, so that the importer's tests need no
// copy of Access: a description of tables and their rows goes in, the bytes of an .mdb file
// come out. The files hold what a reader of the format needs (database header, catalogue,
// table definitions, data pages with row offsets and deleted-row flags, long-value pages for
// memos, usage maps); they carry no indexes, relations or design-view properties.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <vector>

namespace testsupport {

enum class JetType {
    Text,      // Text(size): at most `size` characters
    Memo,      // long text, stored inline or on long-value pages
    YesNo,     // boolean, kept in the row's null mask; never null
    Byte,      // 8-bit unsigned
    Integer,   // 16-bit signed
    Long,      // 32-bit signed
    Counter,   // 32-bit auto-number (a Long with the auto-number flag)
    DateTime,  // double: days since 1899-12-30, the time as the fraction
    Double,
    OleObject, // long binary (QByteArray), stored as a memo's bytes are
};

struct AccessColumn {
    QString name;
    JetType type = JetType::Text;
    int size = 0; // characters, for Text only
};

// One cell per column, in column order. An invalid QVariant (QVariant()) is a null value, and
// only that: QString() and "" are both an empty text. Otherwise:
// QString for Text and Memo; an integer type for Byte, Integer, Long and Counter; bool for
// Yes/No; QByteArray for OleObject; for Date/Time a QDateTime, a QDate or a double of days since 1899-12-30; double for
// Double. A row shorter than the columns has nulls for the rest.
struct AccessRow {
    QVariantList values;
    bool deleted = false; // written, then flagged deleted on its data page
};

struct AccessTable {
    QString name;
    std::vector<AccessColumn> columns;
    std::vector<AccessRow> rows;
    // The counter's next value, written into the table definition (the auto-number seed).
    // 0: one past the largest counter value among the rows, deleted ones included, or 1.
    qint64 nextCounter = 0;
};

// The database password sits in the database header (page 0). Plain, the header holds:
//   0x14  format version, 32-bit little-endian: 1 (Jet 4)
//   0x3e  database key, 32-bit: 0 (the pages themselves are not encrypted)
//   0x42  40 bytes: the password in UCS-2 little-endian, padded with zero bytes, each byte i
//         XORed with byte i % 4 of the mask
//   0x72  the creation date, a little-endian double of days since 1899-12-30
// The mask is that date truncated to a 32-bit integer, as 4 little-endian bytes (so a file
// without a password holds the bare mask at 0x42). Then the 128 bytes from 0x18 are
// RC4-encrypted with the 4-byte key C7 DA 39 6B, as every Jet 4 header is. To read the
// password: decrypt those 128 bytes, unmask the 40 at 0x42, stop at the first zero UCS-2 unit.
struct AccessFileOptions {
    QString password;          // the Access database password (at most 20 characters); empty: none
    bool compressText = true;  // Jet 4 Unicode compression for Text and short Memo values
};

struct AccessDatabase {
    std::vector<AccessTable> tables;
    AccessFileOptions options;
};

// The whole file. Throws std::invalid_argument for a description the format cannot hold
// (a value of the wrong kind, a text longer than its column, a password over 20 characters).
QByteArray accessFileBytes(const AccessDatabase &database);
// Writes accessFileBytes() to `path`; false when the file cannot be written.
bool writeAccessFile(const QString &path, const AccessDatabase &database);

// Days since 1899-12-30 as Access keeps a Date/Time: before that day the whole days count
// backwards and the time of day is still added as a positive fraction.
double accessDays(const QDateTime &dateTime);
QDateTime dateTimeOfAccessDays(double days);

// Where the counter's next value sits: a 32-bit little-endian integer at this offset of the
// table definition page (the page is the catalogue's Id for the table, MSysObjects.Id; 0 when
// the table has no counter). It is the value the next new row would get.
constexpr int kAccessCounterSeedOffset = 0x14;

} // namespace testsupport
