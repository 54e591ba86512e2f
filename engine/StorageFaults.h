#pragma once
// A seam in front of the storages for tests: statements whose text contains a given piece
// fail as the storage would on a locked, vanished or failing archive, so that every
// caller's way out of a rare failure can be exercised. The faults are named here; each
// storage turns one into its own library's failure. Disarmed, it costs one load.

#include <QString>
#include <optional>

namespace dao::faults {

enum class Fault {
    Busy,         // another user's lock held past the wait
    Locked,       // a lock within this process
    NotArchive,   // the file is no archive (or the key is wrong)
    Corrupt,
    Constraint,   // a rule of the table refused the row
    ReadOnly,
    Full,         // no room left on the disk
    CannotOpen,   // the file vanished or cannot be reached
    Io,           // a read or write failed
    NoMemory,
    Interrupted,
    Aborted,
    Other,
};

// From now on, every preparation or step of a statement whose SQL contains `piece` fails
// with `fault`, after `skip` calls that still succeed, `times` times (-1: until cleared).
// An empty piece matches every statement.
void failStatements(const QString &piece, Fault fault, int skip = 0, int times = -1);
// From now on, the pieces of a copy being written (a compacted archive, one under a new
// password) are lost after `skip` that still reach the file, `times` times (-1: until
// cleared): reported as written, they never reach it, as on a disk that drops writes.
void loseCopyWrites(int skip, int times = -1);
void clear();

// For the storages' statement layers: the fault a call on this SQL must fail with, if any.
std::optional<Fault> injectedFailure(const char *sql);
// For the layer that writes a copy: whether the piece about to be written is to be lost.
bool copyWriteLost();

// Clears the faults when it goes out of scope, so a failing test leaves none behind.
struct Scope {
    Scope() = default;
    ~Scope() { clear(); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

} // namespace dao::faults
