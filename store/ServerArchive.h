#pragma once
// An archive on a PostgreSQL server as the program's windows see it: whether a location is a
// server's address, whether an address can be used, and how messages show it. The address
// never holds a password (the engine refuses one that does).

#include <QString>

namespace store {

bool isServerArchive(const QString &location);
// Empty when the address can be used; else the engine's Italian reason, which never repeats
// the address.
QString serverAddressProblem(const QString &address);
// Whether a password sent to the server is protected by a server that proved who it is:
// false only for a server's address that turns TLS or channel binding off.
bool isProtectedLink(const QString &location);
// The location as windows show it: a server's address in its tidy form, a file's path as it is.
QString shownLocation(const QString &location);
// The login a server's address names (empty for a file or an address without one).
QString serverRole(const QString &location);

} // namespace store
