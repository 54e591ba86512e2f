#pragma once
// Compares a copy, open through the engine, with its source: the same tables with the same
// fields, the same number of rows, and every value of every row equal, rows in each table's
// own order (the order of their keys). What trasferisci and importa check their copy with.

#include <QString>
#include <QStringList>
#include <vector>

namespace dao {
class Database;
}

namespace cli {

class CopySource;

struct TableRows {
    QString table;
    qint64 rows = 0;
};

struct Comparison {
    int tables = 0;
    std::vector<TableRows> perTable;   // rows compared in each table
    qint64 rows = 0;            // rows compared, over every table
    QStringList differences;    // the first ones found, in Italian; empty: the same archive
};

Comparison compareArchives(dao::Database &expected, dao::Database &actual, int limit = 10);
Comparison compareWithSource(CopySource &expected, dao::Database &actual, int limit = 10);

// The archive's own tables (system objects left out), in the archive's order.
QStringList userTables(dao::Database &db);

} // namespace cli
