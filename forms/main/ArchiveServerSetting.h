#pragma once
// Where the archive is: the application folder's tavorio.ini may name a PostgreSQL server
// instead of the file, in the section [Server]:
//   Indirizzo=postgresql://sportello@server-ufficio:5432/tavorio
//   SSL=verify-full          (verify-full, the default, verify-ca, require or disable)
//   Certificato=ufficio-ca.crt   the office's certificate authority, relative to the
//                                application folder, so one folder copied to each desk holds all
//   Attesa=10                seconds to wait for the server before telling the user (1 to 3600)
// An address never holds a password: the program asks for it at every start.

#include <QString>

struct ArchiveServerSetting {
    // The address the connection opens, with the keys above as its parameters; empty for the
    // archive file.
    QString address;
    // Why the section cannot be used, as the message box shows it; empty when it can.
    QString problem;
};

ArchiveServerSetting readArchiveServerSetting(const QString &iniPath);
