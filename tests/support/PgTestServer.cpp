#include "tests/support/PgTestServer.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QUrl>
#include <libpq-fe.h>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {

namespace {

// The keys of server.env, read once.
const QHash<QString, QString> &serverEnv()
{
    static const QHash<QString, QString> values = [] {
        QHash<QString, QString> read;
        const QString dir = qEnvironmentVariable("TAVORIO_TEST_PG_DIR");
        if (dir.isEmpty())
            return read;
        QFile file(dir + QStringLiteral("/server.env"));
        if (!file.open(QIODevice::ReadOnly))
            return read;
        for (const QByteArray &line : file.readAll().split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                read.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
        }
        return read;
    }();
    return values;
}

QString env(const char *key)
{
    return serverEnv().value(QString::fromLatin1(key));
}

} // namespace

bool pgAvailable()
{
    return !env("PG_PORT").isEmpty();
}

// Over the socket the server trusts its own computer's users: no password, no TLS, so
// nothing to bind a login to.
QString pgAdminAddress()
{
    return QStringLiteral("postgresql://%1@/postgres?host=%2&port=%3&channel_binding=disable")
        .arg(env("PG_ADMIN"), env("PG_SOCKET"), env("PG_PORT"));
}

QString pgOfficeRole()
{
    return env("PG_ROLE");
}

QString pgOfficePassword()
{
    return env("PG_PASSWORD");
}

QString pgServerCertificate()
{
    return env("PG_SSL_CERT");
}

int pgPort()
{
    return env("PG_PORT").toInt();
}

QString pgAdminQuery(const QString &sql, const QString &database)
{
    if (!pgAvailable())
        throw std::runtime_error("no PostgreSQL test server");
    const QByteArray host = env("PG_SOCKET").toUtf8();
    const QByteArray port = env("PG_PORT").toUtf8();
    const QByteArray user = env("PG_ADMIN").toUtf8();
    const QByteArray db = (database.isEmpty() ? QStringLiteral("postgres") : database).toUtf8();
    const char *keys[] = {"host", "port", "user", "dbname", "connect_timeout", nullptr};
    const char *values[] = {host.constData(), port.constData(), user.constData(), db.constData(), "10", nullptr};
    PGconn *conn = PQconnectdbParams(keys, values, 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("admin connection: " + message);
    }
    PGresult *result = PQexec(conn, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(result);
    QString first;
    if (status == PGRES_TUPLES_OK && PQntuples(result) > 0 && PQnfields(result) > 0)
        first = QString::fromUtf8(PQgetvalue(result, 0, 0));
    const std::string message = PQresultErrorMessage(result);
    PQclear(result);
    PQfinish(conn);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw std::runtime_error("admin statement failed: " + message);
    return first;
}

void pgEndSession(qint64 pid)
{
    pgAdminQuery(QStringLiteral("SELECT pg_terminate_backend(%1, 5000)").arg(pid));
}

void pgEndSessions(const QString &database)
{
    pgAdminQuery(QStringLiteral("SELECT count(pg_terminate_backend(pid, 5000)) FROM pg_stat_activity "
                                "WHERE datname = '%1' AND pid <> pg_backend_pid()")
                     .arg(database));
}

QString newPgDatabase()
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("prova_%1_%2").arg(::getpid()).arg(counter.fetchAndAddRelaxed(1));
    pgAdminQuery(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' TEMPLATE template0").arg(name, pgOfficeRole()));
    return pgOfficeAddress(name);
}

QString pgOfficeAddress(const QString &database)
{
    return pgRoleAddress(pgOfficeRole(), database);
}

QString pgRoleAddress(const QString &role, const QString &database)
{
    // The desk's default link: the server proves itself with its certificate, which is its own authority.
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3?sslrootcert=%4")
        .arg(role, env("PG_PORT"), database, pgServerCertificate());
}

QString pgSocketAddress(const QString &role, const QString &database)
{
    return QStringLiteral("postgresql://%1@/%2?host=%3&port=%4&channel_binding=disable")
        .arg(role, database, env("PG_SOCKET"), env("PG_PORT"));
}

bool onServer()
{
    return qEnvironmentVariable("TAVORIO_TEST_STORAGE") == QLatin1String("postgresql");
}

QString newArchiveLocation(const QString &folder, const QString &file)
{
    if (!onServer())
        return folder + QLatin1Char('/') + file;
    if (!pgAvailable())
        throw std::runtime_error("TAVORIO_TEST_STORAGE=postgresql but no test server (TAVORIO_TEST_PG_DIR)");
    return pgSocketAddress(pgOfficeRole(), pgDatabaseOf(newPgDatabase()));
}

QString pgDatabaseOf(const QString &address)
{
    return QUrl(address).path().mid(1);
}

} // namespace testsupport
