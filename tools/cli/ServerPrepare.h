#pragma once
// tavorio-cli server-prepara: sets up, once, the PostgreSQL server where it runs, as its
// administrator, for the office's desks: the office's certificate authority and the server's
// certificate, TLS and SCRAM passwords in the server's settings, pg_hba.conf lines letting
// the desk role in over TLS from the office's network only, the archive's owner role (no
// login) and the desk role, the UTF-8 database with an empty archive owned by the owner, and
// a desk folder (tavorio.ini and the authority's certificate) to copy beside each desk's
// program. A server already set up is left alone unless --sovrascrivi is given; then the
// certificates, settings and roles are made again, and an existing archive is kept as it is.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace cli {

struct ServerPrepareRequest {
    QStringList serverNames;   // the names desks reach the server by; the first goes in the address
    QString network;           // the office's network, as pg_hba.conf takes it (192.168.1.0/24)
    QString folder;            // where the desk folder is written
    QString database = QStringLiteral("tavorio");
    QString owner = QStringLiteral("tavorio_proprietario");
    QString desk = QStringLiteral("sportello");
    QString listen;            // listen_addresses to set; empty: leave as it is
    QString admin = QStringLiteral("postgresql:///postgres?channel_binding=disable");
    bool overwrite = false;
    bool passwordStdin = false;
    QString deskPassword;      // the desk role's password (first line of standard input)
};

// The arguments after "server-prepara"; throws CliError(Usage).
ServerPrepareRequest parseServerPrepare(const QStringList &args);
int runServerPrepare(const ServerPrepareRequest &request, QTextStream &out, QTextStream &err);

} // namespace cli
