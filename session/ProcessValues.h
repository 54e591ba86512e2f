#pragma once
// Values that hold for the whole run and that several windows read: the application folder
// (every file of the program is relative to it), the password that opened the archive, and
// whether a printed list is being produced right now.

#include <QString>

namespace ProcessValues {

// The working folder at start-up with a trailing "/"; empty before the start-up ran.
QString applicationFolder();
void setApplicationFolder(const QString &folder);
// applicationFolder() + name.
QString inApplicationFolder(const QString &name);

// Empty while the archive has no password.
QString archivePassword();
void setArchivePassword(const QString &password);

bool printFilterMode();
void setPrintFilterMode(bool on);

// The archive is the demo one, of invented families: the window says so, so that nobody
// types real families into it.
bool demoArchive();
void setDemoArchive(bool demo);

// Back to the values a fresh process starts with.
void reset();

} // namespace ProcessValues
