#include "BenchServer.h"

#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace bench {

QString Server::officeAddress(const QString &database, int port) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3?sslrootcert=%4")
        .arg(get("PG_ROLE"), port ? QString::number(port) : get("PG_PORT"), database, get("PG_SSL_CERT"));
}

void runOrDie(const QString &program, const QStringList &args, QString *output)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() + " failed: " + process.readAllStandardError().toStdString());
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
}

Server startServer()
{
    Server server;
    server.state = QStringLiteral(TAVORIO_BENCH_DATA_DIR "/pg-server");
    runOrDie(QStringLiteral(TAVORIO_SOURCE_DIR "/scripts/pg-test-server"), {QStringLiteral("start"), server.state});
    QFile file(server.state + QStringLiteral("/server.env"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no server.env");
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            server.env.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return server;
}

void stopServer(const Server &server)
{
    runOrDie(QStringLiteral(TAVORIO_SOURCE_DIR "/scripts/pg-test-server"), {QStringLiteral("stop"), server.state});
}

QStringList psqlArgs(const Server &server, const QString &database, bool asOffice)
{
    if (asOffice)
        return {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), server.get("PG_PORT"),
                QStringLiteral("-U"), server.get("PG_ROLE"), QStringLiteral("-d"), database};
    return {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
            QStringLiteral("-h"), server.get("PG_SOCKET"), QStringLiteral("-p"), server.get("PG_PORT"),
            QStringLiteral("-U"), server.get("PG_ADMIN"), QStringLiteral("-d"), database};
}

QString psqlProgram(const Server &server)
{
    return server.get("PG_BIN") + QStringLiteral("/psql");
}

void adminSql(const Server &server, const QString &database, const QString &sql)
{
    runOrDie(psqlProgram(server), psqlArgs(server, database, false) << QStringLiteral("-c") << sql);
}

} // namespace bench
