#pragma once
// The number of rows meeting a recordset's criteria, counted a range of row ids at a time, so
// that a caller can spread a long count over short steps (between two keystrokes, say) and
// drop it half way when nobody wants it any more. Each step is one statement run to its end:
// nothing stays open on the storage between steps, so a dropped count leaves nothing to
// cancel there.

#include "engine/Errors.h"
#include "engine/Value.h"

#include <QString>
#include <memory>
#include <vector>

namespace dao {

class Connection;
class Query;
struct TableInfo;

class SelectionCount {
public:
    // where: the criteria as the storage's condition ("?" for each of params); empty: every row.
    SelectionCount(std::shared_ptr<Connection> connection, ErrorsPtr errors, std::shared_ptr<const TableInfo> table,
                   QString where, std::vector<Value> params);
    ~SelectionCount();

    // Counts the rows among the next `span` row ids (the first step also finds the range of
    // row ids to go through). True once the count is complete. Fails with an engine error,
    // after which the count is to be dropped.
    bool Step(qint64 span);
    bool Done() const { return m_done; }
    // The rows counted so far: the count, once Done.
    qint64 Count() const { return m_count; }

private:
    std::shared_ptr<Connection> m_connection;
    ErrorsPtr m_errors;
    std::shared_ptr<const TableInfo> m_table;
    QString m_where;
    std::vector<Value> m_params;
    std::unique_ptr<Query> m_countRange;
    bool m_started = false;
    bool m_done = false;
    qint64 m_next = 0;    // the lowest row id not yet counted
    qint64 m_last = 0;    // the highest row id when the count began
    qint64 m_count = 0;
};

} // namespace dao
