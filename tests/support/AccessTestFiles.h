#pragma once
// Access files for the importer's tests: the archive's seven tables as the program expects
// them, and inputs that are not such an archive (damaged, foreign, not a database at all).

#include "AccessFileWriter.h"

namespace testsupport {

// The seven tables of the archive, with their fields, types and sizes, and no rows.
AccessDatabase archiveTables();
// The table of that description named `name`; nullptr when there is none.
AccessTable *findTable(AccessDatabase &database, const QString &name);

// A small archive exercising every kind of value: accented, Greek, Cyrillic and Arabic names,
// null and empty texts, memos longer than a page, dates before 1900 and after 2030 and with a
// time, Yes/No, 16- and 32-bit numbers, counters with gaps and deleted rows.
AccessDatabase sampleArchive();
// `cards` cards with three members each, and the lookup tables filled.
AccessDatabase largeArchive(int cards);

// Inputs that must be refused.
QByteArray truncatedAccessFile(const QByteArray &whole); // cut inside its table definitions' pages
QByteArray randomBytes(int size, quint32 seed);
QByteArray foreignAccessFile(); // a valid Access file of some other application's tables

} // namespace testsupport
