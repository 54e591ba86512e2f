#pragma once
// Where the archive is: the application folder's tavorio.ini may name a PostgreSQL server
// instead of the file, in the section [Server]:
//   Indirizzo=postgresql://ufficio@server-ufficio:5432/tavorio
//   SSL=prefer      (disable, allow, prefer, require, verify-ca or verify-full)
// An address never holds a password: the program asks for it at every start.

#include <QString>

struct ArchiveServerSetting {
    // The address the connection opens, with SSL as its sslmode; empty for the archive file.
    QString address;
    // Why the section cannot be used, as the message box shows it; empty when it can.
    QString problem;
};

ArchiveServerSetting readArchiveServerSetting(const QString &iniPath);
