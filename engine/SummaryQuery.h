#pragma once
// The statement of a summary (Summary.h) over a recordset's selection, and its groups.

#include "engine/Summary.h"
#include "engine/jet/JetDialect.h"

#include <memory>

namespace dao {

class Connection;
struct TableInfo;
struct ColumnInfo;

class SummaryQuery {
public:
    // `where` selects the rows of `selected` (empty: all of them). Throws EngineError 3265
    // for a column or table the archive lacks.
    SummaryQuery(Connection &connection, std::shared_ptr<const TableInfo> selected, jet::SqlFragment where,
                 const Summary &summary);

    // The groups over the whole selection, or over its rows with these row ids only (then a
    // few statements for a long list, their groups added up).
    std::vector<SummaryGroup> run(const std::vector<qint64> *rowIds) const;

private:
    QString column(const TableInfo &table, const QString &name) const;
    const ColumnInfo &columnInfo(const TableInfo &table, const QString &name) const;
    QString rows(const TableInfo &table, const QString &where, const QStringList &notAfter, const QStringList &stored,
                 const std::vector<const SummaryTerm *> &measured, const QStringList &yes) const;
    QString selection(const std::vector<qint64> *rowIds, size_t first, size_t count, std::vector<Value> &params) const;
    struct Statement {
        QString sql;
        bool perSelectedRow = false;   // its rows are counts per selected row (no tally function)
    };
    std::vector<Statement> statements(const QString &selection) const;
    std::vector<Statement> grouped(const QString &rows, const QString &link) const;
    SummaryGroup typed(SummaryGroup group) const;
    void readGroups(const Statement &statement, const std::vector<Value> &params, std::vector<SummaryGroup> &groups) const;

    Connection &m_connection;
    std::shared_ptr<const TableInfo> m_selected;
    std::shared_ptr<const TableInfo> m_counted;   // the selected table, or the details'
    jet::SqlFragment m_where;
    Summary m_summary;
    qint64 m_referenceDay = 0;
    QStringList m_stored;     // the columns of the stored terms, in order
};

} // namespace dao
