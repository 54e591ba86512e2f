#pragma once
// A PostgreSQL server of the benchmarks' own (scripts/pg-test-server), its addresses as a
// desk reaches it, and the superuser's psql for setting up databases.

#include <QHash>
#include <QString>
#include <QStringList>

namespace bench {

struct Server {
    QHash<QString, QString> env;   // server.env of scripts/pg-test-server
    QString state;

    QString get(const char *key) const { return env.value(QString::fromLatin1(key)); }
    // As a desk reaches it: the server proves itself with its own certificate. A port other
    // than the server's own goes through something in between (a latency proxy).
    QString officeAddress(const QString &database, int port = 0) const;
    QString logPath() const { return get("PG_CLUSTER") + QStringLiteral("/server.log"); }
};

// Runs a program to its end; throws with its standard error when it fails.
void runOrDie(const QString &program, const QStringList &args, QString *output = nullptr);

Server startServer();
void stopServer(const Server &server);

// psql as the superuser over the socket, or as the office role over TCP on `database`.
QStringList psqlArgs(const Server &server, const QString &database, bool asOffice);
QString psqlProgram(const Server &server);
void adminSql(const Server &server, const QString &database, const QString &sql);

} // namespace bench
