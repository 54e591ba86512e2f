#include "tools/cli/ServerPrepare.h"

#include "archive/ArchiveCreator.h"
#include "archive/CliError.h"
#include "engine/EngineError.h"
#include "engine/ServerAddress.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgPeople.h"
#include "engine/pg/PgSchema.h"
#include "engine/pg/PgSession.h"
#include "platform/OutputFile.h"
#include "tools/cli/HbaRules.h"
#include "tools/cli/OfficeCertificates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

using dao::pg::PgSession;

const QString kServerCert = QStringLiteral("tavorio-server.crt");
const QString kServerKey = QStringLiteral("tavorio-server.key");
const QString kAuthorityFile = QStringLiteral("ufficio-ca.crt");

[[noreturn]] void refuse(const QString &why)
{
    throw CliError(ExitCode::Refused, QStringLiteral("Server non preparato: %1").arg(why));
}

QString literal(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString first(PgSession &session, const QString &sql, const std::vector<dao::Value> &params = {})
{
    const dao::pg::PgResult r = session.exec(sql, params);
    return r.rowCount() > 0 ? r.value(0, 0).asText() : QString();
}

// The administrator's address with another database.
QString onDatabase(const QString &adminAddress, const QString &database)
{
    dao::ServerAddress address = dao::ServerAddress::parse(adminAddress);
    address.database = database;
    return address.text();
}

// Whole or not at all: a half-written pg_hba.conf would lock the desks out at the next reload.
// The writer makes the file its owner's only; the server's certificate and the desk folder's
// files are then opened up as `permissions` say.
void writeFile(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    QString failure;
    if (!platform::writeOutputBytes(path, bytes, &failure))
        refuse(failure);
    if (!QFile::setPermissions(path, permissions))
        refuse(QStringLiteral("impossibile impostare i permessi di %1.").arg(path));
}

// Files the server reads belong to the server's user, also when root runs the command.
void giveToServer(const QString &path, const QString &dataDirectory)
{
    struct stat data{};
    if (::geteuid() == 0 && ::stat(QFile::encodeName(dataDirectory).constData(), &data) == 0)
        if (::chown(QFile::encodeName(path).constData(), data.st_uid, data.st_gid) != 0)
            refuse(QStringLiteral("impossibile dare %1 all'utente del server.").arg(path));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(QStringLiteral("impossibile leggere %1 (%2).").arg(path, file.errorString()));
    return file.readAll();
}

class Preparation {
public:
    Preparation(const ServerPrepareRequest &request, QTextStream &out) : m_request(request), m_out(out) {}

    void run()
    {
        m_admin.connect(dao::ServerAddress::parse(m_request.admin), {});
        if (first(m_admin, QStringLiteral("SELECT rolsuper::text FROM pg_roles WHERE rolname = current_user")) != QLatin1String("true"))
            refuse(QStringLiteral("il comando va eseguito come amministratore di PostgreSQL (per esempio sudo -u postgres)."));
        m_dataDirectory = first(m_admin, QStringLiteral("SHOW data_directory"));
        const QString hbaFile = first(m_admin, QStringLiteral("SHOW hba_file"));
        const QString hba = QString::fromUtf8(readAll(hbaFile));
        const bool databaseExists = !first(m_admin, QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"),
                                           {m_request.database}).isEmpty();
        // A database alone is no set-up: one the administrator filled beforehand (trasferisci)
        // is adopted as the archive.
        const bool prepared = hasOfficeRules(hba) || QFile::exists(m_dataDirectory + u'/' + kServerCert)
            || QFile::exists(deskFile("tavorio.ini"));
        if (prepared && !m_request.overwrite)
            refuse(QStringLiteral("il server è già preparato (o la cartella %1 esiste già): per rifare certificati, "
                                  "impostazioni e ruoli usate --sovrascrivi, che lascia l'archivio com'è.")
                       .arg(m_request.folder));

        installCertificates();
        writeFile(hbaFile, withOfficeRules(hba, m_request.database,
                                   {m_request.desk, m_request.database + QLatin1String(dao::pg::kOperatorSuffix),
                                    m_request.database + QLatin1String(dao::pg::kManagerSuffix)},
                                   m_request.network).toUtf8(),
                  QFileInfo(hbaFile).permissions());
        giveToServer(hbaFile, m_dataDirectory);   // written anew, so owned by whoever runs this
        configureServer();
        makeRoles();
        makeDatabase(databaseExists);
        writeDeskFolder();
        waitForReload();
        m_out << QStringLiteral("Server preparato: archivio %1, sportelli come ruolo \"%2\" dalla rete %3.\n"
                                "Copiate la cartella %4 accanto al programma di ogni sportello.\n")
                     .arg(deskAddress(), m_request.desk, m_request.network, m_request.folder);
        if (m_restartNeeded)
            m_out << QStringLiteral("Riavviate PostgreSQL perché ascolti su %1 (listen_addresses).\n").arg(m_request.listen);
        m_out.flush();
    }

private:
    QString deskFile(const char *name) const { return QDir(m_request.folder).filePath(QLatin1String(name)); }

    QString deskAddress() const
    {
        dao::ServerAddress address;
        address.role = m_request.desk;
        address.host = m_request.serverNames.front();
        address.port = m_port.toInt();
        address.database = m_request.database;
        return address.text();
    }

    void installCertificates()
    {
        QTemporaryDir work;
        if (!work.isValid())
            refuse(QStringLiteral("impossibile creare una cartella temporanea."));
        const OfficeCertificates made = makeOfficeCertificates(work.path(), m_request.serverNames);
        if (!QDir().mkpath(m_request.folder))
            refuse(QStringLiteral("impossibile creare la cartella %1.").arg(m_request.folder));
        writeFile(deskFile("ufficio-ca.crt"), readAll(made.authority), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                      | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        const QString cert = m_dataDirectory + u'/' + kServerCert;
        const QString key = m_dataDirectory + u'/' + kServerKey;
        writeFile(cert, readAll(made.serverCert), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        writeFile(key, readAll(made.serverKey), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        giveToServer(cert, m_dataDirectory);
        giveToServer(key, m_dataDirectory);
        m_certFile = cert;
    }

    void configureServer()
    {
        const QStringList settings{
            QStringLiteral("ALTER SYSTEM SET ssl = on"),
            QStringLiteral("ALTER SYSTEM SET ssl_cert_file = %1").arg(literal(m_certFile)),
            QStringLiteral("ALTER SYSTEM SET ssl_key_file = %1").arg(literal(m_dataDirectory + u'/' + kServerKey)),
            QStringLiteral("ALTER SYSTEM SET ssl_min_protocol_version = 'TLSv1.2'"),
            QStringLiteral("ALTER SYSTEM SET password_encryption = 'scram-sha-256'"),
        };
        for (const QString &setting : settings)
            m_admin.exec(setting);
        if (!m_request.listen.isEmpty() && first(m_admin, QStringLiteral("SHOW listen_addresses")) != m_request.listen) {
            m_admin.exec(QStringLiteral("ALTER SYSTEM SET listen_addresses = %1").arg(literal(m_request.listen)));
            m_restartNeeded = true;
        }
        m_port = first(m_admin, QStringLiteral("SHOW port"));
        m_admin.exec(QStringLiteral("SELECT pg_reload_conf()"));
    }

    void makeRoles()
    {
        const QString owner = dao::jet::quoteIdentifier(m_request.owner);
        const QString desk = dao::jet::quoteIdentifier(m_request.desk);
        const auto exists = [&](const QString &role) {
            return !first(m_admin, QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), {role}).isEmpty();
        };
        // The owner never logs in: tables change only when the administrator acts as it.
        // It makes the archive's Operatore and Responsabile groups and, through its functions,
        // the people a Responsabile adds.
        m_admin.exec(QStringLiteral("%1 ROLE %2 NOLOGIN CREATEROLE").arg(exists(m_request.owner) ? QStringLiteral("ALTER")
                                                                                                   : QStringLiteral("CREATE"), owner));
        const QString verifier = m_admin.passwordVerifier(m_request.desk, m_request.deskPassword);
        m_admin.exec(QStringLiteral("%1 ROLE %2 LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE PASSWORD %3")
                         .arg(exists(m_request.desk) ? QStringLiteral("ALTER") : QStringLiteral("CREATE"), desk, verifier));
    }

    void makeDatabase(bool exists)
    {
        const QString database = dao::jet::quoteIdentifier(m_request.database);
        const QString owner = dao::jet::quoteIdentifier(m_request.owner);
        if (exists)
            m_admin.exec(QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(database, owner));
        else
            m_admin.exec(QStringLiteral("CREATE DATABASE %1 OWNER %2 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' "
                                        "LC_CTYPE 'C.UTF-8' TEMPLATE template0").arg(database, owner));
        m_admin.exec(QStringLiteral("REVOKE ALL ON DATABASE %1 FROM PUBLIC").arg(database));
        m_admin.exec(QStringLiteral("GRANT CONNECT, TEMPORARY ON DATABASE %1 TO %2")
                         .arg(database, dao::jet::quoteIdentifier(m_request.desk)));

        const QString address = onDatabase(m_request.admin, m_request.database);
        PgSession archive;
        archive.connect(dao::ServerAddress::parse(address), {});
        if (!dao::pg::isArchive(archive)) {
            if (!dao::pg::isEmptyDatabase(archive))
                refuse(QStringLiteral("il database \"%1\" contiene già altro: l'archivio non viene creato.").arg(m_request.database));
            ArchiveCreator(address, {}).create(ArchiveContents::standardRowsOnly());
        }
        archive.exec(dao::pg::handOverStatement(m_request.owner));
        // Acting as the owner, so that the grants hold for the tables it makes later as well.
        archive.exec(QStringLiteral("SET ROLE %1").arg(owner));
        for (const QString &grant : dao::pg::deskGrantStatements(m_request.desk))
            archive.exec(grant);
        for (const QString &statement : peopleStatements(archive))
            archive.exec(statement);
        archive.exec(QStringLiteral("RESET ROLE"));
    }

    QStringList peopleStatements(PgSession &archive) const
    {
        QStringList tables;
        for (const dao::TableInfo &table : dao::pg::readTables(archive))
            if (!table.name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
                tables << table.name;
        QStringList tracked;
        if (tables.size() > 0 && !first(archive, QStringLiteral("SELECT to_regclass('public.\"MSysHistory\"')::text")).isEmpty()) {
            const dao::pg::PgResult r = archive.exec(QStringLiteral("SELECT \"Tabella\" FROM \"MSysHistory\""));
            for (int row = 0; row < r.rowCount(); ++row)
                tracked << r.value(row, 0).asText();
        }
        return dao::pg::peopleStatements(m_request.database, tables, tracked);
    }

    void writeDeskFolder()
    {
        writeFile(deskFile("tavorio.ini"),
                  QStringLiteral("[Server]\r\nIndirizzo=%1\r\nCertificato=%2\r\nAttesa=10\r\n")
                      .arg(deskAddress(), kAuthorityFile).toUtf8(),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }

    // The server reads its settings again when it gets round to it: a new session sees the
    // new certificate once it has.
    void waitForReload()
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            PgSession probe;
            probe.connect(dao::ServerAddress::parse(m_request.admin), {});
            if (first(probe, QStringLiteral("SHOW ssl_cert_file")) == m_certFile)
                return;
            QThread::msleep(100);
        }
        refuse(QStringLiteral("il server non ha caricato le nuove impostazioni: guardate il suo registro (log)."));
    }

    const ServerPrepareRequest &m_request;
    QTextStream &m_out;
    PgSession m_admin;
    QString m_dataDirectory;
    QString m_certFile;
    QString m_port;
    bool m_restartNeeded = false;
};

} // namespace

ServerPrepareRequest parseServerPrepare(const QStringList &args)
{
    const auto usage = [](const QString &reason) { return CliError(ExitCode::Usage, reason); };
    static const QRegularExpression name(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    static const QRegularExpression network(QStringLiteral("^([0-9a-fA-F:.]+/[0-9]{1,3}|samenet|samehost)$"));
    static const QRegularExpression host(QStringLiteral("^[A-Za-z0-9.:-]+$"));
    static const QRegularExpression listen(QStringLiteral("^[A-Za-z0-9.:*, -]+$"));
    ServerPrepareRequest r;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const auto value = [&](const QString &what) {
            if (++i == args.size())
                throw missingValue(arg, what);
            return args[i];
        };
        const auto role = [&](const QString &what) {
            const QString v = value(what);
            if (!name.match(v).hasMatch())
                throw usage(QStringLiteral("%1 \"%2\" non valido: lettere minuscole, cifre e _.").arg(what, v));
            return v;
        };
        if (arg == QLatin1String("--nomi")) {
            r.serverNames = value(QStringLiteral("i nomi del server")).split(u',', Qt::SkipEmptyParts);
            for (const QString &n : r.serverNames)
                if (!host.match(n).hasMatch())
                    throw usage(QStringLiteral("nome del server non valido \"%1\".").arg(n));
        } else if (arg == QLatin1String("--rete")) {
            r.network = value(QStringLiteral("la rete dell'ufficio"));
            if (!network.match(r.network).hasMatch())
                throw usage(QStringLiteral("rete non valida \"%1\" (per esempio 192.168.1.0/24).").arg(r.network));
        } else if (arg == QLatin1String("--cartella")) {
            r.folder = QFileInfo(value(QStringLiteral("la cartella per gli sportelli"))).absoluteFilePath();
        } else if (arg == QLatin1String("--database")) {
            r.database = role(QStringLiteral("nome del database"));
        } else if (arg == QLatin1String("--proprietario")) {
            r.owner = role(QStringLiteral("ruolo proprietario"));
        } else if (arg == QLatin1String("--sportello")) {
            r.desk = role(QStringLiteral("ruolo degli sportelli"));
        } else if (arg == QLatin1String("--ascolta")) {
            r.listen = value(QStringLiteral("gli indirizzi su cui ascoltare"));
            if (!listen.match(r.listen).hasMatch())
                throw usage(QStringLiteral("indirizzi non validi \"%1\".").arg(r.listen));
        } else if (arg == QLatin1String("--amministratore")) {
            r.admin = value(QStringLiteral("l'indirizzo dell'amministratore"));
        } else if (arg == QLatin1String("--sovrascrivi")) {
            r.overwrite = true;
        } else if (arg == QLatin1String("--password-stdin")) {
            r.passwordStdin = true;
        } else {
            throw usage(QStringLiteral("argomento sconosciuto \"%1\".").arg(arg));
        }
    }
    if (r.serverNames.isEmpty() || r.network.isEmpty() || r.folder.isEmpty())
        throw usage(QStringLiteral("servono --nomi, --rete e --cartella."));
    if (!r.passwordStdin)
        throw usage(QStringLiteral("la password del ruolo degli sportelli arriva con --password-stdin."));
    if (r.owner == r.desk)
        throw usage(QStringLiteral("il ruolo proprietario e quello degli sportelli devono essere diversi."));
    return r;
}

int runServerPrepare(const ServerPrepareRequest &request, QTextStream &out, QTextStream &err)
{
    try {
        if (request.deskPassword.isEmpty())
            throw CliError(ExitCode::Usage, QStringLiteral("Server non preparato: la password del ruolo degli sportelli "
                                                           "non può essere vuota."));
        Preparation(request, out).run();
        return int(ExitCode::Ok);
    } catch (const CliError &e) {
        err << QStringLiteral("tavorio-cli: ") << e.message() << Qt::endl;
        return int(e.code());
    } catch (const dao::EngineError &e) {
        err << QStringLiteral("tavorio-cli: Server non preparato: ") << e.description() << Qt::endl;
        return int(ExitCode::Refused);
    }
}

} // namespace cli
