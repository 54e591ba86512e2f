#pragma once
// A seam in front of the storage library for tests: statements whose text contains a given
// piece fail as the library would on a locked, vanished or failing file, so that every
// caller's way out of a rare failure can be exercised. Disarmed, it costs one load.

#include <QString>

namespace dao::faults {

// From now on, every preparation or step of a statement whose SQL contains `piece` fails
// with the library's result `code` (SQLITE_BUSY, SQLITE_IOERR, ...), after `skip` calls
// that still succeed, `times` times (-1: until cleared). An empty piece matches every
// statement.
void failStatements(const QString &piece, int code, int skip = 0, int times = -1);
void clear();

// For the statement layer: the result code a call on this SQL must fail with, or 0.
int injectedFailure(const char *sql);

// Clears the faults when it goes out of scope, so a failing test leaves none behind.
struct Scope {
    Scope() = default;
    ~Scope() { clear(); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

} // namespace dao::faults
