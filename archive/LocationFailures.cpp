#include "archive/LocationFailures.h"

#include "engine/ArchiveLocation.h"
#include "engine/EngineError.h"
#include "engine/ServerAddress.h"

#include <QRegularExpression>

namespace cli {

namespace {

// A mistyped address ("postgresql:ufficio:x@server/t", "pgsql://...") would otherwise be
// taken for a file name and repeated, password and all, by a "file not found".
bool looksLikeAddress(const QString &arg)
{
    static const QRegularExpression address(QStringLiteral("^\\s*(postgres(ql)?:|[a-z][a-z0-9+.-]*://)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return address.match(arg).hasMatch();
}

// What the person at the desk checks: the server and the address, and for a checked TLS
// connection the certificate of the authority that signed the server's.
QString unreachableAdvice(const dao::ServerAddress &address)
{
    QString advice = QStringLiteral("Controllare che il server sia acceso e raggiungibile in rete da questo computer "
                                    "e che l'indirizzo (server e porta) sia giusto");
    if (address.sslmode.startsWith(QLatin1String("verify-")))
        advice += QStringLiteral("; con sslmode=%1 serve anche il certificato dell'autorità (CA) del server, in "
                                 "~/.postgresql/root.crt dell'utente che esegue il programma oppure indicato "
                                 "nell'indirizzo con ?sslrootcert=/percorso/del/certificato")
                      .arg(address.sslmode);
    else if (address.sslmode == QLatin1String("require"))
        advice += QStringLiteral("; con sslmode=require il server deve offrire connessioni cifrate (TLS)");
    return advice + QLatin1Char('.');
}

} // namespace

void checkServerLocations(const QStringList &args)
{
    for (const QString &arg : args) {
        if (dao::ArchiveLocation(arg).isFile() && !looksLikeAddress(arg))
            continue;
        try {
            dao::ServerAddress::parse(arg);
        } catch (const dao::EngineError &e) {
            throw CliError(ExitCode::Usage, e.description());
        }
    }
}

QString notAnArchiveText(const QString &location, const QString &reason)
{
    const QString what = dao::ArchiveLocation(location).isServer() ? QStringLiteral("Il database") : QStringLiteral("Il file");
    return QStringLiteral("%1 \"%2\" non è un archivio di Tavorio valido.\n%3").arg(what, location, reason);
}

std::optional<CliError> serverFailure(const QString &location, const dao::EngineError &error)
{
    if (dao::ArchiveLocation(location).isFile())
        return std::nullopt;
    dao::ServerAddress address;
    try {
        address = dao::ServerAddress::parse(location);
    } catch (const dao::EngineError &) {
        // The commands refuse a malformed address before they run; its advice is the general one.
    }
    if (error.number() == dao::errServerUnreachable)
        return CliError(ExitCode::Unreachable,
                        QStringLiteral("Collegamento al server dell'archivio non riuscito o interrotto: \"%1\".\n%2\n%3")
                            .arg(location, unreachableAdvice(address), error.description()));
    if (error.number() == dao::errFileNotFound)
        return CliError(ExitCode::NotAnArchive,
                        QStringLiteral("L'archivio \"%1\" non esiste sul server: il server non ha un database \"%2\".\n"
                                       "Controllare il nome del database nell'indirizzo: il database lo crea "
                                       "l'amministratore del server.")
                            .arg(location, address.database));
    return std::nullopt;
}

CliError openedArchiveFailure(const QString &location, const dao::EngineError &error, const QString &passwordText,
                              const CliError &otherwise)
{
    if (error.number() == dao::errNotValidPassword)
        return CliError(ExitCode::BadPassword, passwordText);
    if (std::optional<CliError> failure = serverFailure(location, error))
        return *failure;
    return otherwise;
}

} // namespace cli
