#pragma once
// Which table and field of an Access file fills which table and field of the archive:
// matched by name (Access ignores letter case in names) and checked by type. What the file
// has beyond the archive's tables is listed; what the archive needs and the file lacks, or
// holds with another type, stops the import.

#include "engine/TableSpec.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace accessdb {

class AccessFile;

struct MappedTable {
    dao::TableSpec archive;        // the archive's table
    QString accessName;            // the file's table
    std::vector<int> columns;      // for each archive field, its column in the file's table
    qint64 nextCounter = 0;        // the file's next AutoNumber value; 0: none
};

struct AccessMapping {
    std::vector<MappedTable> tables;   // every archive table, in the archive's order
    QStringList extras;                // tables and fields of the file the archive has not
    QStringList problems;              // why the file cannot fill the archive; empty: it can
};

AccessMapping mapToArchive(const AccessFile &file);

} // namespace accessdb
