#include "engine/pg/PgErrors.h"

#include <QRegularExpression>
#include <QStringList>

namespace dao::pg {

namespace {

QString codeSuffix(const QString &sqlState)
{
    return sqlState.isEmpty() ? QString() : QStringLiteral(" (codice %1)").arg(sqlState);
}

} // namespace

EngineError lostConnectionError(const QString &reason, const QString &sqlState, const QString &source)
{
    return EngineError(errServerUnreachable, source,
                       QStringLiteral("Connessione al server dell'archivio non riuscita o interrotta: %1")
                           .arg(reason) + codeSuffix(sqlState));
}

bool isConnectionLostState(const QString &sqlState)
{
    return sqlState.startsWith(QLatin1String("08")) || sqlState == QLatin1String("57P01")
        || sqlState == QLatin1String("57P02") || sqlState == QLatin1String("57P03");
}

ServerFailure parseServerFailure(const QString &message)
{
    static const QRegularExpression code(QStringLiteral("\\s([0-9A-Z]{5}):\\s"));
    ServerFailure f;
    QStringList lines;
    for (const QString &line : message.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String("LOCATION:")))
            lines << line.trimmed();
    f.reason = lines.join(QLatin1String("; "));
    // The severity word (FATAL, ERROR) has the same shape; a SQLSTATE always holds a digit.
    for (auto it = code.globalMatch(f.reason); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(1).contains(QRegularExpression(QStringLiteral("[0-9]")))) {
            f.sqlState = m.captured(1);
            f.reason.remove(m.capturedStart(1), m.capturedLength(1) + 1);
            break;
        }
    }
    f.reason = f.reason.simplified();
    if (f.reason.endsWith(QLatin1Char(';')))
        f.reason.chop(1);
    return f;
}

EngineError connectError(const ServerFailure &failure, bool passwordMissing, const QString &database,
                         const QString &source)
{
    const QString &state = failure.sqlState;
    if (passwordMissing || state == QLatin1String("28P01") || state == QLatin1String("28000"))
        return EngineError(errNotValidPassword, source, msg::notValidPassword.text() + codeSuffix(state));
    if (state == QLatin1String("3D000"))
        return EngineError(errFileNotFound, source,
                           QStringLiteral("L'archivio '%1' non esiste sul server.").arg(database) + codeSuffix(state));
    // libpq's reason is for whoever runs the server; the user reads first what to check.
    const EngineError lost = lostConnectionError(failure.reason, state, source);
    return EngineError(lost.number(), source,
                       lost.description()
                           + QStringLiteral("\nControllare che il server sia acceso e raggiungibile dalla rete, che "
                                            "l'indirizzo dell'archivio sia giusto e, con SSL=verify-full, che il "
                                            "certificato del server sia installato."));
}

EngineError unprovenServerError(const QString &reason, const QString &source)
{
    return EngineError(errServerUnreachable, source,
                       QStringLiteral("Il server non ha dimostrato la sua identità: la password non gli è stata inviata. "
                                      "Controllare che il certificato dell'autorità (CA) indicato in tavorio.ini sia "
                                      "quello preparato per il server dell'ufficio, che l'indirizzo usi il nome del "
                                      "server scritto nel suo certificato e che il server accetti solo connessioni "
                                      "SSL con password scram-sha-256. Se l'indirizzo è giusto, qualcuno potrebbe "
                                      "essersi messo al posto del server: avvisare chi lo gestisce.\n(%1)")
                           .arg(reason));
}

EngineError serverError(const QString &sqlState, const QString &message, const QString &table,
                        const QString &column, const QString &source)
{
    const QString code = codeSuffix(sqlState);
    auto error = [&](int number, const QString &text) { return EngineError(number, source, text + code); };
    auto known = [&](const EngineMessage &message) { return error(message.number, message.text()); };
    if (sqlState == QLatin1String("40001") || sqlState == QLatin1String("40P01") || sqlState == QLatin1String("55P03"))
        return error(errRecordLocked, QStringLiteral("Impossibile aggiornare: il record è bloccato da un altro utente. Riprovare."));
    if (sqlState == QLatin1String("23502"))
        return error(errFieldRequired, msg::fieldRequired.text(table.isEmpty() ? column : table + QLatin1Char('.') + column));
    if (sqlState == QLatin1String("23505"))
        return known(msg::duplicateKey);
    if (sqlState == QLatin1String("22001"))
        return known(msg::fieldTooSmall);
    if (sqlState == QLatin1String("22003"))
        return known(msg::numericOverflow);
    if (sqlState == QLatin1String("42501"))
        return error(errNotUpdatable, QStringLiteral("Impossibile aggiornare: l'archivio sul server è di sola lettura per questo utente."));
    if (sqlState == QLatin1String("53100"))
        return error(errDiskFull, QStringLiteral("Spazio su disco esaurito sul server: impossibile scrivere nell'archivio."));
    if (sqlState == QLatin1String("53200"))
        return error(errOutOfMemory, QStringLiteral("Memoria insufficiente sul server dell'archivio."));
    if (sqlState == QLatin1String("57014"))
        return known(msg::interrupted);
    if (sqlState == QLatin1String("28P01") || sqlState == QLatin1String("28000"))
        return known(msg::notValidPassword);
    // Any other failure: the server's own words, for whoever looks after the office's server.
    return error(errEngineFailure, QStringLiteral("Errore del server dell'archivio: %1").arg(message));
}

} // namespace dao::pg
