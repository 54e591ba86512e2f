#pragma once
// The first page of an Access database file: the format's signature, the Jet version, and
// the database password. Part of that page is masked with RC4 under a key fixed by the
// format; the password inside it is masked once more, in Access 2000 files, with the
// file's creation date.

#include <QByteArray>
#include <QString>
#include <optional>

namespace accessdb {

struct AccessHeader {
    int jetVersion = 0;    // 0: Jet 3 (Access 97), 1: Jet 4 (Access 2000)
    int pageSize = 0;      // 2048 or 4096
    QString password;      // empty: the file has none
};

// Reads the header from the file's first bytes; nullopt with a reason for anything that is
// not an Access 97 or 2000 database.
std::optional<AccessHeader> parseAccessHeader(const QByteArray &firstPage, QString *reason = nullptr);

// The same RC4 both ways: masks and unmasks.
void rc4(const unsigned char *key, int keyLength, unsigned char *data, int length);

} // namespace accessdb
