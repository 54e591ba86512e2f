#pragma once
// Access files for the importer's tests: the archive's seven tables as the program expects
// them, and inputs that are not such an archive (damaged, foreign, not a database at all).
// An empty file is simply an empty QByteArray.

#include "AccessFileWriter.h"

namespace testsupport {

// The seven tables of the archive, with their fields, types and sizes, and no rows.
AccessDatabase archiveTables();
// The table of that description named `name`; nullptr when there is none.
AccessTable *findTable(AccessDatabase &database, const QString &name);

// A small archive exercising every kind of value: accented, Greek, Cyrillic and Arabic names
// (and characters the compressed form cannot carry),
// null and empty texts, memos longer than a page and with line breaks, dates before 1900
// (1899-12-30 and 31) and after 2030 and with a time, Yes/No, 16- and 32-bit numbers,
// counters with gaps and deleted rows (Anagrafica's next counter value is 15, past its
// largest live key 12), duplicate lookup values.
AccessDatabase sampleArchive();
// `cards` cards with three members each (keys from 1, no gaps), and the lookup tables filled.
AccessDatabase largeArchive(int cards);
// The sample with a field the archive does not have (Anagrafica.Codice_fiscale, Text(16)).
AccessDatabase archiveWithExtraField();
// The sample without the table `name`.
AccessDatabase archiveWithoutTable(const QString &name);

// Inputs that must be refused.
QByteArray truncatedAccessFile(const QByteArray &whole); // cut inside a page two thirds in
QByteArray randomBytes(int size, quint32 seed);
// A valid Access file of an invoicing program's tables (Clienti, Fatture), and its description.
AccessDatabase foreignDatabase();
QByteArray foreignAccessFile();

} // namespace testsupport
