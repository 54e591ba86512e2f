#pragma once
// The server's failures as the engine reports them: SQLSTATE to the engine's error number
// and an Italian text, the code appended as " (codice SQLSTATE)" like the file's codes.

#include "engine/EngineError.h"

#include <QString>

namespace dao::pg {

// The failure of a statement: its SQLSTATE, the server's message, and for a required field
// the table and column.
EngineError serverError(const QString &sqlState, const QString &message, const QString &table,
                        const QString &column, const QString &source);
// 3151: the server could not be reached or the connection dropped, for the given reason.
EngineError lostConnectionError(const QString &reason, const QString &sqlState, const QString &source);
// Whether a SQLSTATE means the connection is gone (class 08, the server shutting down).
bool isConnectionLostState(const QString &sqlState);

// A message of libpq, verbose or not ("FATAL:  28P01: message" and a LOCATION line): its
// SQLSTATE apart, and the reason on one line without either.
struct ServerFailure {
    QString sqlState;
    QString reason;
};
ServerFailure parseServerFailure(const QString &message);

// The failure of a connection attempt: 3031 for a wrong or missing password, 3024 for a
// database the server does not have, 3151 otherwise.
EngineError connectError(const ServerFailure &failure, bool passwordMissing, const QString &database,
                         const QString &source);
// A server that did not prove who it is: it declined TLS, its certificate did not check out,
// or it asked for a login not bound to the checked channel (a cleartext or MD5 password).
// Nothing secret was sent. 3151, never the wrong password's 3031; the reason is libpq's.
EngineError unprovenServerError(const QString &reason, const QString &source);

} // namespace dao::pg
