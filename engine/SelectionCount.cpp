#include "engine/SelectionCount.h"

#include "engine/Connection.h"
#include "engine/Guard.h"
#include "engine/TableInfo.h"
#include "engine/jet/Names.h"

namespace dao {

SelectionCount::SelectionCount(std::shared_ptr<Connection> connection, ErrorsPtr errors,
                               std::shared_ptr<const TableInfo> table, QString where, std::vector<Value> params)
    : m_connection(std::move(connection)), m_errors(std::move(errors)), m_table(std::move(table)),
      m_where(std::move(where)), m_params(std::move(params))
{
}

SelectionCount::~SelectionCount() = default;

// Rows added after the count began (above its last row id) are not counted: the count is of
// the selection as it stood when it began, as a keyset's is.
bool SelectionCount::Step(qint64 span)
{
    if (m_done)
        return true;
    return guarded(*m_errors, QStringLiteral("DAO.Recordset"), [&] {
        m_connection->ensureOpen();
        const QString table = jet::quoteIdentifier(m_table->name);
        if (!m_started) {
            const std::unique_ptr<Query> range =
                m_connection->prepare(QStringLiteral("SELECT min(%1), max(%1) FROM %2").arg(m_table->rowid, table));
            m_started = true;
            if (!range->step() || range->raw(0).isNull()) {
                m_done = true;
                return true;
            }
            m_next = range->int64(0);
            m_last = range->int64(1);
        }
        if (!m_countRange) {
            QString sql = QStringLiteral("SELECT count(*) FROM %2 WHERE %1 >= ? AND %1 <= ?").arg(m_table->rowid, table);
            if (!m_where.isEmpty())
                sql += QStringLiteral(" AND (%1)").arg(m_where);
            m_countRange = m_connection->prepare(sql);
        }
        const qint64 upto = m_last - m_next < span ? m_last : m_next + std::max<qint64>(span, 1) - 1;
        std::vector<Value> values{Value(m_next), Value(upto)};
        values.insert(values.end(), m_params.begin(), m_params.end());
        m_countRange->bindAll(values);
        if (m_countRange->step())
            m_count += m_countRange->int64(0);
        m_countRange->reset();
        m_next = upto + 1;
        m_done = upto >= m_last;
        return m_done;
    });
}

} // namespace dao
