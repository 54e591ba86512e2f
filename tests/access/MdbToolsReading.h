#pragma once
// An Access file as mdbtools reads it: its command-line tools for the tables, the schema and
// every cell's text, its library for what the text cannot show (a null text apart from an
// empty one).

#include "tests/support/AccessFileWriter.h"

#include <QStringList>

#include <vector>

namespace accesstest {

using Cells = std::vector<QStringList>;

// mdb-export prints a null and an empty text alike; both come back as this.
inline const QString kNoText = QStringLiteral("<NULL>");

QStringList mdbTables(const QString &path);
QString mdbSchema(const QString &path);
// Every live row's cells as mdb-export prints them (dates as yyyy-MM-dd HH:mm:ss).
Cells mdbExport(const QString &path, const QString &table);
// For every live row, which cells the row marks null (Yes/No cells: false).
std::vector<std::vector<bool>> mdbNulls(const QString &path, const QString &table);

// What mdbExport() must print for the rows of a description.
Cells expectedCells(const testsupport::AccessTable &table);
std::vector<std::vector<bool>> expectedNulls(const testsupport::AccessTable &table);

} // namespace accesstest
