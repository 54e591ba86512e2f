#pragma once
// The rows of a detail table for a whole block of master rows at once. A walk through a
// master table (the cards of a printed list) opens, at every card, the detail's rows of
// that card ("[ID_SCHEDA] = 17"): one statement, one round trip to a server, per card. Inside
// a read transaction the engine remembers the last block of rows it read from each table;
// when a detail is opened by the value of a column that block holds, the detail's rows for
// every value of the block are read with one statement and handed out from there, while
// the same read transaction lasts and nothing was written.

#include "engine/Value.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace dao {

class Connection;
struct TableInfo;

class DetailPrefetch {
public:
    using Row = std::vector<Value>;

    // A block of table's rows, in its columns' order, just read; kept shared, not copied.
    void noteBlock(const std::shared_ptr<const TableInfo> &table, std::shared_ptr<const std::vector<Row>> rows,
                   quint64 readScope, quint64 writeSerial);

    // The keys, in the order sort gives, and rows of table where condition holds, when the
    // condition is one column equal to a whole number that the last block of some table
    // holds in a column of the same name. False otherwise: the caller reads as usual.
    // The rows are shared with the prefetch, not copied: a walk takes them for every master.
    bool lookup(Connection &connection, const std::shared_ptr<const TableInfo> &table, const QString &condition,
                const QString &sort, std::vector<qint64> &keys, std::shared_ptr<const std::vector<Row>> &rows);

    static constexpr int kValues = 200;   // master values per statement

private:
    struct Block {
        std::shared_ptr<const TableInfo> table;
        std::shared_ptr<const std::vector<Row>> rows;
        quint64 readScope = 0;
        quint64 writeSerial = 0;
    };
    struct Details {
        QString table;
        int column = -1;
        QString sort;
        quint64 readScope = 0;
        quint64 writeSerial = 0;
        struct Rows {
            std::vector<qint64> keys;
            std::shared_ptr<const std::vector<Row>> rows;
        };
        QHash<qint64, Rows> byValue;   // every value asked has an entry
    };
    bool fetch(Connection &connection, const TableInfo &table, int column, const QString &sort,
               const std::vector<qint64> &values);

    QHash<QString, Block> m_blocks;   // by table name, lower case
    Details m_details;
};

} // namespace dao
