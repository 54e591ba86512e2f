#pragma once
// An archive on a PostgreSQL server as the program's windows show it (whether a location is a
// server's address is asked of dao::ArchiveLocation). The address never holds a password (the
// engine refuses one that does).

#include <QString>

namespace store {

// Whether a password sent to the server is protected by a server that proved who it is:
// false only for a server's address that turns TLS or channel binding off.
bool isProtectedLink(const QString &location);
// The location as windows show it: a server's address in its tidy form, a file's path as it is.
QString shownLocation(const QString &location);
// The login a server's address names (empty for a file or an address without one).
QString serverRole(const QString &location);

} // namespace store
