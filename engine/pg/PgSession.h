#pragma once
// One connection to the archive's PostgreSQL server (libpq). Statements arrive with "?"
// placeholders and a vector of values; every value travels as a parameter, never inside
// the text. Results come back typed by column type. Every failure is an EngineError with
// the engine's number and an Italian text; the password is kept in memory only, to
// reconnect after a lost connection, and never reaches a message.

#include "engine/EngineError.h"
#include "engine/ServerAddress.h"
#include "engine/StorageFaults.h"
#include "engine/Value.h"
#include "engine/pg/PgResult.h"

#include <QString>
#include <vector>

struct pg_conn;

namespace dao::pg {

class PgSession {
public:
    PgSession();
    ~PgSession();
    PgSession(const PgSession &) = delete;
    PgSession &operator=(const PgSession &) = delete;

    // Opens the connection; throws 3151 (server unreachable), 3031 (wrong password) or
    // 3024 (no such database). source names the object that reports the failure.
    void connect(const ServerAddress &address, const QString &password,
                 const QString &source = QStringLiteral("DAO.Workspace"));
    void close();
    // A session that lost its connection stays open: its next call reconnects, however
    // often the reconnection fails meanwhile (the server switched off, the network down).
    bool isOpen() const { return m_conn != nullptr || m_broken; }
    // After a lost connection the session is broken until it reconnects.
    bool isBroken() const { return m_broken; }
    // Reconnects a broken session with the same address and password.
    void ensureConnected(const QString &source = QStringLiteral("DAO.Database"));

    // Runs one statement with "?" placeholders (renumbered $1..$n); reconnects first when the
    // previous call lost the connection, unless a transaction was lost with it (then only
    // commit() or rollback() close it). Transactions are begun and ended by the calls below,
    // never by a statement of this kind.
    PgResult exec(const QString &sql, const std::vector<Value> &params = {},
                  const QString &source = QStringLiteral("DAO.Database"));

    void begin(const QString &source = QStringLiteral("DAO.Database"));
    // Fails for a transaction that a failed statement aborted or the connection lost.
    void commit(const QString &source = QStringLiteral("DAO.Database"));
    // Never fails for a connection already lost: the server has undone the work itself.
    void rollback(const QString &source = QStringLiteral("DAO.Database"));
    void savepoint(const QString &name, const QString &source = QStringLiteral("DAO.Database"));
    void releaseSavepoint(const QString &name, const QString &source = QStringLiteral("DAO.Database"));
    void rollbackToSavepoint(const QString &name, const QString &source = QStringLiteral("DAO.Database"));
    // As the server reported it with the last answer; false once the connection is lost.
    bool inTransaction() const;

    // Gives the connected role a new password. The server receives a verifier computed here,
    // never the clear text, so the password is in no statement text or server log. An empty
    // password is refused: a role without one cannot log in over the network.
    void changePassword(const QString &newPassword, const QString &source = QStringLiteral("DAO.Database"));
    const QString &password() const { return m_password; }
    // The server's SCRAM verifier of a role's password, as ALTER ROLE ... PASSWORD takes it:
    // computed here, so that no statement text or server log holds the password.
    QString passwordVerifier(const QString &role, const QString &password, const QString &source = QStringLiteral("DAO.Database"));

    // How long a statement waits for another session's lock before failing with 3260.
    void setLockTimeout(int milliseconds);

    const ServerAddress &address() const { return m_address; }
    int backendPid() const;
    pg_conn *handle() const { return m_conn; }   // for libpq calls of its own (password verifiers)

private:
    void open(const QString &source);
    pg_conn *handleFor(const QString &source);
    // Runs one statement; ending: it closes the transaction (COMMIT, ROLLBACK), so a link
    // lost on the way leaves no transaction to report as lost.
    PgResult run(const QString &sql, const std::vector<Value> &params, const QString &source, bool ending);
    [[noreturn]] void failAsInjected(faults::Fault fault, bool inTransaction, const QString &source);
    // After a link lost on COMMIT: whether that transaction committed, asked on a new
    // connection; throws when the server cannot say.
    bool committedAfterAll(qint64 transaction, const QString &source);
    static EngineError unknownOutcomeError(const QString &source);
    [[noreturn]] void connectionLost(const QString &reason, const QString &sqlState, bool transactionLost,
                                     const QString &source);
    QString scrubbed(const QString &text) const;

    pg_conn *m_conn = nullptr;
    ServerAddress m_address;
    QString m_password;
    int m_lockTimeoutMs = 5000;
    bool m_broken = false;
    bool m_transactionLost = false;   // the connection went with a transaction open
};

} // namespace dao::pg
