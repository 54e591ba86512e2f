#include "engine/pg/PgSession.h"

#include "engine/jet/Names.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <cmath>
#include <libpq-fe.h>
#include <poll.h>
#include <utility>
#include <variant>

namespace dao::pg {

namespace {

// Type OIDs of the server's built-in types (pg_type.dat), fixed across versions.
enum : Oid {
    kBoolOid = 16, kByteaOid = 17, kInt8Oid = 20, kInt2Oid = 21, kInt4Oid = 23, kOidOid = 26,
    kFloat4Oid = 700, kFloat8Oid = 701, kNumericOid = 1700,
};

void ignoreNotice(void *, const char *) {}

QString codeSuffix(const QString &sqlState)
{
    return sqlState.isEmpty() ? QString() : QStringLiteral(" (codice %1)").arg(sqlState);
}

EngineError lostConnection(const QString &reason, const QString &sqlState, const QString &source)
{
    return EngineError(3151, source,
                       QStringLiteral("Connessione al server dell'archivio non riuscita o interrotta: %1")
                           .arg(reason) + codeSuffix(sqlState));
}

// A connection failure from libpq, in verbose form ("FATAL:  28P01: message" and a LOCATION
// line): its SQLSTATE apart and the reason without either.
struct ConnectFailure {
    QString sqlState;
    QString reason;
};

ConnectFailure parseConnectFailure(const QString &message)
{
    static const QRegularExpression code(QStringLiteral("\\s([0-9A-Z]{5}):\\s"));
    ConnectFailure f;
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

bool connectionLostState(const QString &sqlState)
{
    return sqlState.startsWith(QLatin1String("08")) || sqlState == QLatin1String("57P01")
        || sqlState == QLatin1String("57P02") || sqlState == QLatin1String("57P03");
}

QByteArray doubleText(double d)
{
    if (std::isnan(d))
        return QByteArrayLiteral("NaN");
    if (std::isinf(d))
        return d > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
    return QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
}

double doubleFrom(const char *text, int length)
{
    const QByteArray t = QByteArray::fromRawData(text, length);
    if (t == "NaN")
        return std::nan("");
    if (t == "Infinity")
        return HUGE_VAL;
    if (t == "-Infinity")
        return -HUGE_VAL;
    return t.toDouble();
}

// The parameters of one statement in libpq's arrays: text for every kind but bytes, which
// travel in binary as bytea.
struct Parameters {
    std::vector<QByteArray> storage;
    std::vector<Oid> types;
    std::vector<const char *> values;
    std::vector<int> lengths;
    std::vector<int> formats;

    Parameters(const std::vector<Value> &params, const QString &source)
    {
        storage.reserve(params.size());
        for (const Value &v : params) {
            Oid type = 0;
            int format = 0;
            bool null = false;
            QByteArray text;
            std::visit([&](const auto &x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, std::monostate>) null = true;
                else if constexpr (std::is_same_v<T, bool>) text = x ? "-1" : "0";
                else if constexpr (std::is_same_v<T, qint64>) text = QByteArray::number(x);
                else if constexpr (std::is_same_v<T, double>) text = doubleText(x);
                else if constexpr (std::is_same_v<T, Date>) text = doubleText(x.days);
                else if constexpr (std::is_same_v<T, QString>) text = x.toUtf8();
                else { text = x; type = kByteaOid; format = 1; }
            }, v.storage());
            // A text parameter ends at its first zero byte: refused rather than cut short.
            if (format == 0 && text.contains('\0'))
                throw EngineError(3000, source,
                                  QStringLiteral("Il testo contiene un carattere nullo, che il server dell'archivio non accetta."));
            storage.push_back(text);
            types.push_back(type);
            values.push_back(null ? nullptr : storage.back().constData());
            lengths.push_back(int(storage.back().size()));
            formats.push_back(format);
        }
    }
};

} // namespace

// ---- PgResult ----

PgResult::PgResult(pg_result *result) : m_result(result) {}

PgResult::~PgResult()
{
    PQclear(m_result);
}

PgResult::PgResult(PgResult &&other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult &PgResult::operator=(PgResult &&other) noexcept
{
    if (this != &other) {
        PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rowCount() const
{
    return m_result ? PQntuples(m_result) : 0;
}

int PgResult::columnCount() const
{
    return m_result ? PQnfields(m_result) : 0;
}

QString PgResult::columnName(int column) const
{
    return QString::fromUtf8(PQfname(m_result, column));
}

Value PgResult::value(int row, int column) const
{
    if (PQgetisnull(m_result, row, column))
        return {};
    const char *text = PQgetvalue(m_result, row, column);
    const int length = PQgetlength(m_result, row, column);
    switch (PQftype(m_result, column)) {
    case kBoolOid:
        return Value(text[0] == 't');
    case kInt2Oid: case kInt4Oid: case kInt8Oid: case kOidOid:
        return Value(QByteArray::fromRawData(text, length).toLongLong());
    case kFloat4Oid: case kFloat8Oid: case kNumericOid:
        return Value(doubleFrom(text, length));
    case kByteaOid: {
        // The session asks for the hex form: "\x" then two digits a byte.
        const QByteArray hex = QByteArray::fromRawData(text, length);
        return Value(QByteArray::fromHex(hex.mid(2)));
    }
    default:
        return Value(QString::fromUtf8(text, length));
    }
}

qint64 PgResult::rowsAffected() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result)).toLongLong() : 0;
}

// ---- PgSession ----

PgSession::PgSession() = default;

PgSession::~PgSession()
{
    close();
}

void PgSession::connect(const ServerAddress &address, const QString &password, const QString &source)
{
    close();
    m_address = address;
    m_password = password;
    open(source);
}

void PgSession::close()
{
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
    m_broken = m_inTransaction = m_transactionLost = false;
}

// Connects without blocking in libpq so that its messages can be asked verbose before the
// server answers: only the verbose form carries the SQLSTATE that tells a wrong password or a
// missing database from an unreachable server, whatever language the server speaks.
void PgSession::open(const QString &source)
{
    ServerAddress::Keywords keywords = m_address.keywords(m_password);
    keywords.add("client_encoding", QStringLiteral("UTF8"));
    // The archive's tables live in schema public whatever the role's own search path says.
    keywords.add("options", QStringLiteral("-c extra_float_digits=3 -c DateStyle=ISO -c bytea_output=hex "
                                           "-c standard_conforming_strings=on -c search_path=public -c lock_timeout=%1")
                                .arg(m_lockTimeoutMs));
    PGconn *conn = PQconnectStartParams(keywords.keys(), keywords.values(), 0);
    if (!conn)
        throw EngineError(errOutOfMemory, source, QStringLiteral("Memoria insufficiente."));
    PQsetErrorVerbosity(conn, PQERRORS_VERBOSE);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(m_address.connectTimeout);
    bool timedOut = false;
    PostgresPollingStatusType state = PQstatus(conn) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        pollfd pfd{PQsocket(conn), short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        int wait = -1;
        if (m_address.connectTimeout > 0)
            wait = int(std::max<qint64>(0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
        const int ready = ::poll(&pfd, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            timedOut = true;
            break;
        }
        state = PQconnectPoll(conn);
    }
    if (state == PGRES_POLLING_OK) {
        PQsetErrorVerbosity(conn, PQERRORS_DEFAULT);
        PQsetNoticeProcessor(conn, ignoreNotice, nullptr);
        m_conn = conn;
        m_broken = false;
        return;
    }
    const bool needsPassword = PQconnectionNeedsPassword(conn);
    const ConnectFailure failure = parseConnectFailure(QString::fromUtf8(PQerrorMessage(conn)));
    PQfinish(conn);
    if (timedOut)
        throw lostConnection(QStringLiteral("il server non ha risposto entro %1 secondi").arg(m_address.connectTimeout),
                             {}, source);
    if (needsPassword || failure.sqlState == QLatin1String("28P01") || failure.sqlState == QLatin1String("28000"))
        throw EngineError(errNotValidPassword, source, QStringLiteral("Password non valida.") + codeSuffix(failure.sqlState));
    if (failure.sqlState == QLatin1String("3D000"))
        throw EngineError(errFileNotFound, source,
                          QStringLiteral("L'archivio '%1' non esiste sul server.").arg(m_address.database)
                              + codeSuffix(failure.sqlState));
    throw lostConnection(scrubbed(failure.reason), failure.sqlState, source);
}

void PgSession::ensureConnected(const QString &source)
{
    if (m_conn && !m_broken)
        return;
    if (!m_broken)
        throw EngineError(errObjectClosed, source,
                          QStringLiteral("Oggetto non valido o non più impostato: l'archivio è chiuso."));
    if (m_transactionLost)
        throw lostConnection(QStringLiteral("la transazione in corso è stata annullata"), {}, source);
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
    open(source);
}

void PgSession::connectionLost(const QString &reason, const QString &sqlState, const QString &source)
{
    ConnectFailure failure = parseConnectFailure(reason);
    if (failure.sqlState.isEmpty())
        failure.sqlState = sqlState;
    m_broken = true;
    m_transactionLost = m_transactionLost || m_inTransaction;
    m_inTransaction = false;
    throw lostConnection(scrubbed(failure.reason), failure.sqlState, source);
}

QString PgSession::scrubbed(const QString &text) const
{
    // libpq never repeats a password; this only guards against a future message that would.
    if (m_password.size() < 3)
        return text;
    return QString(text).replace(m_password, QLatin1String("***"));
}

PgResult PgSession::exec(const QString &sql, const std::vector<Value> &params, const QString &source)
{
    // Transaction control is judged here, whichever way it arrives (commit(), rollback() or
    // the statement text), so that no caller can take a lost or aborted transaction for done.
    const QString verb = sql.trimmed().toUpper();
    const bool ending = verb == QLatin1String("COMMIT") || verb == QLatin1String("END");
    const bool undoing = verb == QLatin1String("ROLLBACK") || verb == QLatin1String("ABORT");
    if (m_transactionLost) {
        if (undoing) {
            m_transactionLost = false;   // the server undid the work when the connection went
            return {};
        }
        if (ending)
            m_transactionLost = false;
        throw lostConnection(QStringLiteral("la transazione in corso è stata annullata"), {}, source);
    }
    ensureConnected(source);
    // The server answers COMMIT of a transaction that a failed statement aborted with a
    // rollback and no error: that must not look like success.
    const bool aborted = ending && PQtransactionStatus(m_conn) == PQTRANS_INERROR;
    int count = 0;
    const QByteArray text = numberedPlaceholders(sql, &count);
    if (size_t(count) != params.size())
        throw EngineError(3000, source, QStringLiteral("Errore del motore di database: l'istruzione attende %1 valori, ne ha ricevuti %2.")
                                            .arg(count).arg(params.size()));
    const Parameters p(params, source);
    PGresult *r = PQexecParams(m_conn, text.constData(), count, p.types.data(), p.values.data(),
                               p.lengths.data(), p.formats.data(), 0);
    PgResult result(r);
    const ExecStatusType status = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    const QString sqlState = r ? QString::fromLatin1(PQresultErrorField(r, PG_DIAG_SQLSTATE)) : QString();
    const bool lost = PQstatus(m_conn) == CONNECTION_BAD || connectionLostState(sqlState);
    if (!lost)
        m_inTransaction = PQtransactionStatus(m_conn) != PQTRANS_IDLE;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) {
        if (aborted)
            throw EngineError(3000, source, QStringLiteral("La transazione è stata annullata da un errore precedente: "
                                                           "nessuna modifica è stata salvata."));
        return result;
    }
    if (lost && (ending || undoing))
        m_inTransaction = false;   // over either way: nothing is left for a rollback to undo
    if (lost)
        connectionLost(QString::fromUtf8(PQerrorMessage(m_conn)), sqlState, source);
    throw serverError(sqlState, QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : ""),
                      QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_TABLE_NAME) : ""),
                      QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_COLUMN_NAME) : ""), source);
}

void PgSession::begin(const QString &source)
{
    exec(QStringLiteral("BEGIN"), {}, source);
}

void PgSession::commit(const QString &source)
{
    exec(QStringLiteral("COMMIT"), {}, source);
}

void PgSession::rollback(const QString &source)
{
    if (m_broken && !m_transactionLost)
        return;
    try {
        exec(QStringLiteral("ROLLBACK"), {}, source);
    } catch (const EngineError &e) {
        if (e.number() != 3151)
            throw;
        m_transactionLost = false;   // lost on the way: the server undoes the work all the same
    }
}

void PgSession::savepoint(const QString &name, const QString &source)
{
    exec(QStringLiteral("SAVEPOINT ") + jet::quoteIdentifier(name), {}, source);
}

void PgSession::releaseSavepoint(const QString &name, const QString &source)
{
    exec(QStringLiteral("RELEASE SAVEPOINT ") + jet::quoteIdentifier(name), {}, source);
}

void PgSession::rollbackToSavepoint(const QString &name, const QString &source)
{
    exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + jet::quoteIdentifier(name), {}, source);
}

void PgSession::changePassword(const QString &newPassword, const QString &source)
{
    if (newPassword.isEmpty())
        throw EngineError(errNotValidPassword, source,
                          QStringLiteral("L'archivio sul server non può restare senza password: "
                                         "senza password non ci si può collegare al server dalla rete."));
    ensureConnected(source);
    const QByteArray clear = newPassword.toUtf8();
    char *verifier = PQencryptPasswordConn(m_conn, clear.constData(), PQuser(m_conn), "scram-sha-256");
    if (!verifier)
        throw EngineError(3000, source, QStringLiteral("Impossibile preparare la nuova password: %1")
                                            .arg(scrubbed(QString::fromUtf8(PQerrorMessage(m_conn)).trimmed())));
    char *literal = PQescapeLiteral(m_conn, verifier, std::strlen(verifier));
    PQfreemem(verifier);
    if (!literal)
        throw EngineError(errOutOfMemory, source, QStringLiteral("Memoria insufficiente."));
    const QString statement = QStringLiteral("ALTER ROLE CURRENT_USER PASSWORD ") + QString::fromUtf8(literal);
    PQfreemem(literal);
    exec(statement, {}, source);
    m_password = newPassword;
}

void PgSession::setLockTimeout(int milliseconds)
{
    m_lockTimeoutMs = milliseconds;
    if (m_conn && !m_broken)
        exec(QStringLiteral("SET lock_timeout = %1").arg(milliseconds));
}

int PgSession::backendPid() const
{
    return m_conn ? PQbackendPID(m_conn) : 0;
}

// ---- statements and errors ----

QByteArray numberedPlaceholders(const QString &sql, int *count)
{
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
            continue;
        }
        out += c;
    }
    *count = n;
    return out.toUtf8();
}

EngineError serverError(const QString &sqlState, const QString &message, const QString &table,
                        const QString &column, const QString &source)
{
    const QString code = codeSuffix(sqlState);
    auto error = [&](int number, const QString &text) { return EngineError(number, source, text + code); };
    if (sqlState == QLatin1String("40001") || sqlState == QLatin1String("40P01") || sqlState == QLatin1String("55P03"))
        return error(errRecordLocked, QStringLiteral("Impossibile aggiornare: il record è bloccato da un altro utente. Riprovare."));
    if (sqlState == QLatin1String("23502"))
        return error(errFieldRequired, QStringLiteral("Un campo obbligatorio non contiene un valore: %1.")
                                           .arg(table.isEmpty() ? column : table + QLatin1Char('.') + column));
    if (sqlState == QLatin1String("23505"))
        return error(3022, QStringLiteral("Impossibile salvare: la modifica creerebbe valori duplicati nella chiave primaria."));
    if (sqlState == QLatin1String("22001"))
        return error(3163, QStringLiteral("Il campo è troppo piccolo per accettare la quantità di dati che si è tentato di aggiungere."));
    if (sqlState == QLatin1String("22003"))
        return error(3349, QStringLiteral("Overflow numerico."));
    if (sqlState == QLatin1String("42501"))
        return error(errNotUpdatable, QStringLiteral("Impossibile aggiornare: l'archivio sul server è di sola lettura per questo utente."));
    if (sqlState == QLatin1String("53100"))
        return error(errDiskFull, QStringLiteral("Spazio su disco esaurito sul server: impossibile scrivere nell'archivio."));
    if (sqlState == QLatin1String("53200"))
        return error(errOutOfMemory, QStringLiteral("Memoria insufficiente sul server dell'archivio."));
    if (sqlState == QLatin1String("57014"))
        return error(3000, QStringLiteral("Operazione interrotta."));
    if (sqlState == QLatin1String("28P01") || sqlState == QLatin1String("28000"))
        return error(errNotValidPassword, QStringLiteral("Password non valida."));
    // Any other failure: the server's own words, for whoever looks after the office's server.
    return error(3000, QStringLiteral("Errore del server dell'archivio: %1").arg(message));
}

} // namespace dao::pg
