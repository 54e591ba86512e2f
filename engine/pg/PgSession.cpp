#include "engine/pg/PgSession.h"

#include "engine/StorageFaults.h"
#include "engine/jet/Names.h"
#include "engine/pg/PgErrors.h"
#include "engine/pg/PgParameters.h"
#include "engine/pg/PgSchema.h"
#include "platform/Secrets.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <libpq-fe.h>
#include <poll.h>
#include <thread>

namespace dao::pg {

namespace {

void ignoreNotice(void *, const char *) {}

} // namespace

// ---- PgSession ----

PgSession::PgSession() = default;

PgSession::~PgSession()
{
    close();
}

void PgSession::connect(const ServerAddress &address, const QString &password, const QString &source)
{
    // A copy of its own, which close() can wipe without touching the caller's.
    QString own(password.constData(), password.size());
    close();
    m_address = address;
    m_password.swap(own);
    open(source);
}

void PgSession::close()
{
    secrets::wipe(m_password);
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
    m_broken = m_transactionLost = false;
}

// Connects without blocking in libpq so that its messages can be asked verbose before the
// server answers: only the verbose form carries the SQLSTATE that tells a wrong password or a
// missing database from an unreachable server, whatever language the server speaks. The
// steps libpq went through tell a server that did not prove who it is (its TLS or login
// step refused on this side, no word from the server) from one that could not be reached.
void PgSession::open(const QString &source)
{
    PGconn *conn = nullptr;
    {
        ServerAddress::Keywords keywords = m_address.keywords(m_password);
        keywords.add("client_encoding", QStringLiteral("UTF8"));
        // The archive's tables live in schema public, its functions in a schema of their own;
        // whatever the role's own search path says, names resolve in these trusted schemas only.
        keywords.add("options", QStringLiteral("-c extra_float_digits=3 -c DateStyle=ISO -c bytea_output=hex "
                                               "-c standard_conforming_strings=on -c search_path=%1 -c lock_timeout=%2")
                                    .arg(QLatin1String(kSearchPath)).arg(m_lockTimeoutMs));
        conn = PQconnectStartParams(keywords.keys(), keywords.values(), 0);
    }   // the keywords' copy of the password is wiped here; libpq wipes its own when it ends
    if (!conn)
        throw EngineError(msg::outOfMemory, source);
    PQsetErrorVerbosity(conn, PQERRORS_VERBOSE);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(m_address.connectTimeout);
    bool timedOut = false;
    ConnStatusType lastStep = PQstatus(conn);
    PostgresPollingStatusType state = PQstatus(conn) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        if (PQsocket(conn) < 0) {
            state = PGRES_POLLING_FAILED;
            break;
        }
        pollfd pfd{PQsocket(conn), short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        const int wait = int(std::max<qint64>(0, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count()));
        const int ready = ::poll(&pfd, 1, wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            timedOut = true;
            break;
        }
        state = PQconnectPoll(conn);
        if (PQstatus(conn) != CONNECTION_BAD)
            lastStep = PQstatus(conn);
    }
    if (state == PGRES_POLLING_OK) {
        PQsetErrorVerbosity(conn, PQERRORS_DEFAULT);
        PQsetNoticeProcessor(conn, ignoreNotice, nullptr);
        m_conn = conn;
        m_broken = false;
        return;
    }
    const bool needsPassword = PQconnectionNeedsPassword(conn);
    const ServerFailure failure = parseServerFailure(QString::fromUtf8(PQerrorMessage(conn)));
    PQfinish(conn);
    if (timedOut)
        throw lostConnectionError(QStringLiteral("il server non ha risposto entro %1 secondi").arg(m_address.connectTimeout),
                                  {}, source);
    const bool refusedHere = failure.sqlState.isEmpty()
        && (lastStep == CONNECTION_SSL_STARTUP || lastStep == CONNECTION_AWAITING_RESPONSE);
    if (refusedHere && !needsPassword)
        throw unprovenServerError(scrubbed(failure.reason), source);
    throw connectError({failure.sqlState, scrubbed(failure.reason)}, needsPassword, m_address.database, source);
}

void PgSession::ensureConnected(const QString &source)
{
    if (m_conn && !m_broken)
        return;
    if (!m_broken)
        throw EngineError(msg::archiveClosed, source);
    if (m_transactionLost)
        throw lostConnectionError(QString::fromUtf8(msg::kTransactionLost), {}, source);
    if (m_conn)
        PQfinish(m_conn);
    m_conn = nullptr;
    open(source);
}

void PgSession::connectionLost(const QString &reason, const QString &sqlState, bool transactionLost, const QString &source)
{
    ServerFailure failure = parseServerFailure(reason);
    if (failure.sqlState.isEmpty())
        failure.sqlState = sqlState;
    m_broken = true;
    m_transactionLost = m_transactionLost || transactionLost;
    throw lostConnectionError(scrubbed(failure.reason), failure.sqlState, source);
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
    // No statement runs on in a new session as if the transaction lost with the old one
    // had never been: only commit() or rollback() close it.
    if (m_transactionLost)
        throw lostConnectionError(QString::fromUtf8(msg::kTransactionLost), {}, source);
    return run(sql, params, source, false);
}

PgResult PgSession::run(const QString &sql, const std::vector<Value> &params, const QString &source, bool ending)
{
    ensureConnected(source);
    const bool wasInTransaction = inTransaction();
    int count = 0;
    const QByteArray text = numberedPlaceholders(sql, &count);
    if (const auto injected = faults::injectedFailure(text.constData()))
        failAsInjected(*injected, wasInTransaction, source);
    if (size_t(count) != params.size())
        throw EngineError(errEngineFailure, source, QStringLiteral("Errore del motore di database: l'istruzione attende %1 valori, ne ha ricevuti %2.")
                                            .arg(count).arg(params.size()));
    const PgParameters p(params, source);
    PGresult *r = PQexecParams(m_conn, text.constData(), count, p.types(), p.values(),
                               p.lengths(), p.formats(), 0);
    PgResult result(r);
    const ExecStatusType status = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return result;
    const QString sqlState = r ? QString::fromLatin1(PQresultErrorField(r, PG_DIAG_SQLSTATE)) : QString();
    if (PQstatus(m_conn) == CONNECTION_BAD || isConnectionLostState(sqlState))
        // A commit or rollback lost on the way leaves nothing for a later rollback to undo.
        connectionLost(QString::fromUtf8(PQerrorMessage(m_conn)), sqlState, wasInTransaction && !ending, source);
    throw serverError(sqlState, QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : ""),
                      QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_TABLE_NAME) : ""),
                      QString::fromUtf8(r ? PQresultErrorField(r, PG_DIAG_COLUMN_NAME) : ""), source);
}

bool PgSession::inTransaction() const
{
    if (!m_conn || m_broken)
        return false;
    const PGTransactionStatusType status = PQtransactionStatus(m_conn);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

// A test's fault as the server would give it: a lock held past the wait is the server's
// lock timeout, any other failure a connection that went away.
void PgSession::failAsInjected(faults::Fault fault, bool inTransaction, const QString &source)
{
    if (fault == faults::Fault::Busy || fault == faults::Fault::Locked)
        throw serverError(QStringLiteral("55P03"), QStringLiteral("lock timeout"), {}, {}, source);
    connectionLost(QStringLiteral("connessione interrotta"), QStringLiteral("08006"), inTransaction, source);
}

void PgSession::begin(const QString &source)
{
    exec(QStringLiteral("BEGIN"), {}, source);
}

// The transaction's number is asked before COMMIT leaves: when the link drops before the
// answer arrives, the server is asked on a new connection whether that transaction
// committed, and the save is reported as it ended.
void PgSession::commit(const QString &source)
{
    qint64 transaction = 0;
    if (!m_transactionLost && !m_broken && m_conn && PQtransactionStatus(m_conn) == PQTRANS_INTRANS) {
        try {
            const Value number = run(QStringLiteral("SELECT txid_current_if_assigned()"), {}, source, false).value(0, 0);
            transaction = number.isNull() ? 0 : number.asInt();
        } catch (const EngineError &) {
            // The COMMIT below reports the transaction as it stands (lost, aborted).
        }
    }
    if (m_transactionLost) {
        m_transactionLost = false;   // over: the server undid the work when the connection went
        throw lostConnectionError(QString::fromUtf8(msg::kTransactionLost), {}, source);
    }
    ensureConnected(source);
    // The server answers COMMIT of a transaction that a failed statement aborted with a
    // rollback and no error: that must not look like success.
    const bool aborted = PQtransactionStatus(m_conn) == PQTRANS_INERROR;
    try {
        run(QStringLiteral("COMMIT"), {}, source, true);
    } catch (const EngineError &) {
        if (transaction == 0 || !m_broken)
            throw;
        if (!committedAfterAll(transaction, source))
            throw lostConnectionError(QString::fromUtf8(msg::kTransactionLost), {}, source);
        return;
    }
    if (aborted)
        throw EngineError(errEngineFailure, source, QStringLiteral("La transazione è stata annullata da un errore precedente: "
                                                       "nessuna modifica è stata salvata."));
}

bool PgSession::committedAfterAll(qint64 transaction, const QString &source)
{
    // The server may still be finishing the COMMIT it received: asked again for a while.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(std::max(1, m_address.connectTimeout));
    for (;;) {
        QString status;
        try {
            status = exec(QStringLiteral("SELECT txid_status(?::bigint)"), {Value(transaction)}, source).value(0, 0).asText();
        } catch (const EngineError &) {
            if (Clock::now() >= deadline)
                throw unknownOutcomeError(source);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        if (status == QLatin1String("committed"))
            return true;
        if (status != QLatin1String("in progress"))
            return false;
        if (Clock::now() >= deadline)
            throw unknownOutcomeError(source);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

EngineError PgSession::unknownOutcomeError(const QString &source)
{
    return EngineError(errServerUnreachable, source,
                       QStringLiteral("Il collegamento con il server si è interrotto mentre il salvataggio veniva "
                                      "confermato e il server non ha potuto dire se è stato salvato: controllare i "
                                      "dati prima di salvarli di nuovo."));
}

void PgSession::rollback(const QString &source)
{
    if (m_transactionLost || m_broken) {
        m_transactionLost = false;   // the server undid the work when the connection went
        return;
    }
    try {
        run(QStringLiteral("ROLLBACK"), {}, source, true);
    } catch (const EngineError &e) {
        if (e.number() != errServerUnreachable)
            throw;
        // Lost on the way: the server undoes the work all the same.
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
    const QString literal = passwordVerifier(QString::fromUtf8(PQuser(handleFor(source))), newPassword, source);
    exec(QStringLiteral("ALTER ROLE CURRENT_USER PASSWORD ") + literal, {}, source);
    secrets::wipe(m_password);
    m_password = QString(newPassword.constData(), newPassword.size());
}

pg_conn *PgSession::handleFor(const QString &source)
{
    ensureConnected(source);
    return m_conn;
}

QString PgSession::passwordVerifier(const QString &role, const QString &password, const QString &source)
{
    PGconn *conn = handleFor(source);
    const secrets::SecretBytes clear(password);
    char *verifier = PQencryptPasswordConn(conn, clear.constData(), role.toUtf8().constData(), "scram-sha-256");
    if (!verifier)
        throw EngineError(errEngineFailure, source, QStringLiteral("Impossibile preparare la nuova password: %1")
                                            .arg(scrubbed(QString::fromUtf8(PQerrorMessage(conn)).trimmed())));
    char *literal = PQescapeLiteral(conn, verifier, std::strlen(verifier));
    PQfreemem(verifier);
    if (!literal)
        throw EngineError(msg::outOfMemory, source);
    const QString quoted = QString::fromUtf8(literal);
    PQfreemem(literal);
    return quoted;
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

} // namespace dao::pg
