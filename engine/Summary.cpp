#include "engine/SummaryQuery.h"

#include "engine/Connection.h"
#include "engine/Constants.h"
#include "engine/TableInfo.h"
#include "engine/sqlite/SummaryTally.h"
#include "engine/jet/Names.h"

#include <QHash>

namespace dao {

namespace summary {

// The record text of a date counts its whole part as the day and rounds the fraction to the
// millisecond, so a time a hair before midnight shows the next day; a day before 1 January
// of year 1 (a whole part below engine day -693593) shows as no date, and so does a number
// beyond any calendar.
QString dayOf(const Dialect &dialect, const QString &number)
{
    const QString whole = dialect.truncated(number);
    return QStringLiteral("(CASE WHEN %1 > -693594 AND %1 < 1e12 THEN %2 + "
                          "CASE WHEN abs(%1 - %2) * 86400000 >= 86399999.5 THEN 1 ELSE 0 END END)")
        .arg(number, whole);
}

// Real division as the card's double arithmetic does it, on either storage.
QString ageAt(const Dialect &dialect, const QString &day, qint64 referenceDay)
{
    return QStringLiteral("(CASE WHEN %1 <> 0 THEN %2 END)")
        .arg(day, dialect.truncated(QStringLiteral("((%1 - %2) / CAST(365.25 AS DOUBLE PRECISION))").arg(referenceDay).arg(day)));
}

} // namespace summary

namespace {

// Row ids per statement when the selection is a list of them: well within the file
// library's limit of bound values, with room for the criteria's own.
constexpr size_t kRowIdsPerStatement = 500;

QString bands(const QString &measure, const std::vector<int> &bounds)
{
    if (bounds.empty())
        return measure;
    QString sql = QStringLiteral("(CASE");
    for (size_t i = 0; i < bounds.size(); ++i)
        sql += QStringLiteral(" WHEN %1 <= %2 THEN %3").arg(measure).arg(bounds[i]).arg(i);
    return sql + QStringLiteral(" WHEN %1 IS NOT NULL THEN %2 END)").arg(measure).arg(bounds.size());
}

// A group's kind and terms as one text, to add up the groups of several statements.
QString groupKey(const SummaryGroup &group)
{
    QString key = group.perSelectedRow ? QStringLiteral("n") : QStringLiteral("t");
    for (const Value &v : group.terms)
        key += QString::number(v.storage().index()) + u':' + v.asText() + u'\x1f';
    return key;
}

QString numbered(const char *name, qsizetype i)
{
    return QStringLiteral("summary_%1%2").arg(QLatin1String(name)).arg(i);
}

} // namespace

SummaryQuery::SummaryQuery(Connection &connection, std::shared_ptr<const TableInfo> selected, jet::SqlFragment where,
                           const Summary &summary)
    : m_connection(connection), m_selected(std::move(selected)), m_counted(m_selected), m_where(std::move(where)),
      m_summary(summary), m_referenceDay(engineDayOf(summary.reference))
{
    if (m_summary.details) {
        m_counted = m_connection.table(m_summary.details->table);
        if (!m_counted)
            throw EngineError(errItemNotFound, QStringLiteral("DAO.Recordset"),
                              QStringLiteral("Elemento '%1' non trovato in questo insieme.").arg(m_summary.details->table));
    }
    for (const SummaryTerm &term : m_summary.terms)
        if (term.measure == SummaryTerm::Measure::Stored)
            m_stored << term.column;
}

const ColumnInfo &SummaryQuery::columnInfo(const TableInfo &table, const QString &name) const
{
    const int index = table.indexOf(name);
    if (index < 0)
        throw EngineError(errItemNotFound, QStringLiteral("DAO.Recordset"),
                          QStringLiteral("Elemento '%1' non trovato in questo insieme.").arg(name));
    return table.columns[size_t(index)];
}

QString SummaryQuery::column(const TableInfo &table, const QString &name) const
{
    return jet::quoteIdentifier(columnInfo(table, name).name);
}

// The rows of `table` meeting `where` whose `notAfter` dates are not after the reference day,
// as columns summary_s<i> (the stored columns), summary_m<i> (the measures of the measured
// terms) and summary_y<i> (the Yes/No columns as numbers). Three steps, each computing its
// expressions once a row: the numbers the columns hold, their days, the measures.
QString SummaryQuery::rows(const TableInfo &table, const QString &where, const QStringList &notAfter,
                           const QStringList &stored, const std::vector<const SummaryTerm *> &measured,
                           const QStringList &yes) const
{
    const Dialect &dialect = m_connection.dialect();
    QStringList dates;
    for (const SummaryTerm *term : measured)
        if (!dates.contains(term->column, Qt::CaseInsensitive))
            dates << term->column;
    for (const QString &date : notAfter)
        if (!dates.contains(date, Qt::CaseInsensitive))
            dates << date;
    const auto dateIndex = [&](const QString &name) {
        for (qsizetype i = 0; i < dates.size(); ++i)
            if (dates[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return qsizetype(-1);
    };

    QStringList numbers{QStringLiteral("1 AS summary_row")}, days{QStringLiteral("summary_row")},
        measures{QStringLiteral("summary_row")};
    for (qsizetype i = 0; i < stored.size(); ++i) {
        numbers << column(table, stored[i]) + QLatin1String(" AS ") + numbered("s", i);
        days << numbered("s", i);
        measures << numbered("s", i);
    }
    for (qsizetype i = 0; i < dates.size(); ++i) {
        numbers << dialect.storedNumber(column(table, dates[i])) + QLatin1String(" AS ") + numbered("n", i);
        days << summary::dayOf(dialect, numbered("n", i)) + QLatin1String(" AS ") + numbered("d", i);
    }
    for (size_t i = 0; i < measured.size(); ++i) {
        const QString day = numbered("d", dateIndex(measured[i]->column));
        const QString measure = measured[i]->measure == SummaryTerm::Measure::Age
            ? summary::ageAt(dialect, day, m_referenceDay)
            : QStringLiteral("(%1 - %2)").arg(day).arg(m_referenceDay);
        measures << measure + QLatin1String(" AS ") + numbered("m", qsizetype(i));
    }
    for (qsizetype i = 0; i < yes.size(); ++i) {
        numbers << dialect.storedNumber(column(table, yes[i])) + QLatin1String(" AS ") + numbered("y", i);
        days << numbered("y", i);
        measures << numbered("y", i);
    }
    QStringList kept;
    for (const QString &date : notAfter) {
        const QString day = numbered("d", dateIndex(date));
        kept << QStringLiteral("(%1 IS NULL OR %1 <= %2)").arg(day).arg(m_referenceDay);
    }
    const QString comma = QStringLiteral(", ");
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(numbers.join(comma), jet::quoteIdentifier(table.name));
    if (!where.isEmpty())
        sql += QLatin1String(" WHERE ") + where;
    sql = QStringLiteral("SELECT %1 FROM (%2%3) AS summary_numbers%3").arg(days.join(comma), sql, dialect.fence());
    sql = QStringLiteral("SELECT %1 FROM (%2) AS summary_days").arg(measures.join(comma), sql);
    if (!kept.isEmpty())
        sql += QLatin1String(" WHERE ") + kept.join(QLatin1String(" AND "));
    return sql + dialect.fence();
}

// The condition of the selection: the recordset's criteria, and its rows among the row ids.
QString SummaryQuery::selection(const std::vector<qint64> *rowIds, size_t first, size_t count,
                                std::vector<Value> &params) const
{
    QStringList conditions;
    if (!m_where.sql.isEmpty()) {
        conditions << QLatin1Char('(') + m_where.sql + QLatin1Char(')');
        params = m_where.params;
    }
    if (rowIds) {
        QStringList marks;
        for (size_t i = first; i < first + count; ++i) {
            marks << QStringLiteral("?");
            params.push_back(Value((*rowIds)[i]));
        }
        conditions << QStringLiteral("%1 IN (%2)").arg(m_selected->rowid, marks.join(QLatin1String(", ")));
    }
    return conditions.join(QLatin1String(" AND "));
}

// The statements over one selection. With the storage's tally function one statement
// counts everything in one pass over the rows, its first column the groups by the terms and
// its second (when asked) the selected rows by their number of detail rows; otherwise each
// is a grouped statement of its own.
std::vector<SummaryQuery::Statement> SummaryQuery::statements(const QString &selection) const
{
    const auto &details = m_summary.details;
    const std::vector<const SummaryTerm *> measured = [&] {
        std::vector<const SummaryTerm *> terms;
        for (const SummaryTerm &term : m_summary.terms)
            if (term.measure != SummaryTerm::Measure::Stored)
                terms.push_back(&term);
        return terms;
    }();
    if (!details)
        return grouped(rows(*m_selected, selection, m_summary.selectionNotAfter, m_stored, measured, m_summary.yesCounts),
                       QString());
    const QString keys = QStringLiteral("SELECT summary_s0 FROM (%1) AS summary_selected")
                             .arg(rows(*m_selected, selection, m_summary.selectionNotAfter, {details->key}, {}, {}));
    const QString belonging = QStringLiteral("%1 IN (%2)").arg(column(*m_counted, details->link), keys);
    QStringList stored = m_stored;
    if (details->alsoPerSelectedRow)
        stored << details->link;
    const QString link = details->alsoPerSelectedRow ? numbered("s", m_stored.size()) : QString();
    return grouped(rows(*m_counted, belonging, details->notAfter, stored, measured, m_summary.yesCounts), link);
}

// Counts of the rows by the terms, stored values as they are and measures in their bands;
// and, with a `link` column, the linked rows by the number of rows each link value has.
std::vector<SummaryQuery::Statement> SummaryQuery::grouped(const QString &rows, const QString &link) const
{
    QStringList values;
    qsizetype stored = 0;
    qsizetype measured = 0;
    for (const SummaryTerm &term : m_summary.terms)
        values << (term.measure == SummaryTerm::Measure::Stored ? numbered("s", stored++)
                                                                : bands(numbered("m", measured++), term.bounds));
    QStringList yes;
    for (qsizetype i = 0; i < m_summary.yesCounts.size(); ++i)
        yes << numbered("y", i);
    const QString comma = QStringLiteral(", ");
    const QString tally = m_connection.dialect().tallyFunction();
    if (!tally.isEmpty()) {
        const QStringList arguments = QStringList{QString::number(values.size())} + values + yes;
        QString counts = QStringLiteral("%1(%2)").arg(tally, arguments.join(comma));
        if (!link.isEmpty())
            counts += QStringLiteral(", %1(-1, %2)").arg(tally, link);
        return {{QStringLiteral("SELECT %1 FROM (%2) AS summary_rows").arg(counts, rows), false}};
    }
    QStringList columns;
    QStringList groups;
    for (qsizetype i = 0; i < values.size(); ++i) {
        columns << values[i] + QLatin1String(" AS ") + numbered("term", i);
        groups << numbered("term", i);
    }
    columns << QStringLiteral("COUNT(*)");
    for (const QString &y : yes)
        columns << QStringLiteral("SUM(CASE WHEN %1 <> 0 THEN 1 ELSE 0 END)").arg(y);
    QString sql = QStringLiteral("SELECT %1 FROM (%2) AS summary_rows").arg(columns.join(comma), rows);
    if (!groups.isEmpty())
        sql += QLatin1String(" GROUP BY ") + groups.join(comma);
    std::vector<Statement> result{{sql, false}};
    if (!link.isEmpty())
        result.push_back({QStringLiteral("SELECT summary_count, COUNT(*) FROM (SELECT COUNT(*) AS summary_count FROM "
                                         "(%1) AS summary_details GROUP BY %2) AS summary_counts GROUP BY summary_count")
                              .arg(rows, link),
                          true});
    return result;
}

SummaryGroup SummaryQuery::typed(SummaryGroup group) const
{
    for (size_t i = 0; i < group.terms.size(); ++i) {
        const Value &raw = group.terms[i];
        const bool stored = !group.perSelectedRow && m_summary.terms[i].measure == SummaryTerm::Measure::Stored;
        group.terms[i] = stored ? typedFromStorage(columnInfo(*m_counted, m_summary.terms[i].column), raw)
                       : raw.isNull() ? Value()
                                      : Value(raw.asInt());
    }
    return group;
}

void SummaryQuery::readGroups(const Statement &statement, const std::vector<Value> &params,
                              std::vector<SummaryGroup> &groups) const
{
    const std::unique_ptr<Query> query = m_connection.prepare(statement.sql);
    query->bindAll(params);
    if (!m_connection.dialect().tallyFunction().isEmpty()) {
        if (!query->step())
            return;
        // The groups by the terms, then (second column) the counts per selected row.
        for (int column = 0; column < 2; ++column) {
            const bool perRow = column == 1;
            if (perRow && !(m_summary.details && m_summary.details->alsoPerSelectedRow))
                break;
            for (SummaryGroup &g : decodeTally(query->raw(column).asBytes(), perRow ? 1 : m_summary.terms.size())) {
                g.perSelectedRow = perRow;
                groups.push_back(typed(std::move(g)));
            }
        }
        return;
    }
    const size_t terms = statement.perSelectedRow ? 1 : m_summary.terms.size();
    while (query->step()) {
        SummaryGroup group;
        group.perSelectedRow = statement.perSelectedRow;
        for (size_t i = 0; i < terms; ++i)
            group.terms.push_back(query->raw(int(i)));
        group.rows = query->raw(int(terms)).asInt();
        if (!statement.perSelectedRow)
            for (qsizetype i = 0; i < m_summary.yesCounts.size(); ++i)
                group.yes.push_back(query->raw(int(terms) + 1 + int(i)).asInt());
        // Counting with no terms makes one group even over no rows.
        if (group.rows > 0)
            groups.push_back(typed(std::move(group)));
    }
}

std::vector<SummaryGroup> SummaryQuery::run(const std::vector<qint64> *rowIds) const
{
    std::vector<SummaryGroup> groups;
    if (!rowIds) {
        std::vector<Value> params;
        const QString where = selection(nullptr, 0, 0, params);
        for (const Statement &statement : statements(where))
            readGroups(statement, params, groups);
        return groups;
    }
    for (size_t first = 0; first < rowIds->size(); first += kRowIdsPerStatement) {
        std::vector<Value> params;
        const size_t count = std::min(kRowIdsPerStatement, rowIds->size() - first);
        const QString where = selection(rowIds, first, count, params);
        for (const Statement &statement : statements(where))
            readGroups(statement, params, groups);
    }
    // The same group from several statements counts once, its figures added up.
    std::vector<SummaryGroup> merged;
    QHash<QString, size_t> found;
    for (SummaryGroup &group : groups) {
        const QString key = groupKey(group);
        const auto it = found.constFind(key);
        if (it == found.cend()) {
            found.insert(key, merged.size());
            merged.push_back(std::move(group));
            continue;
        }
        SummaryGroup &into = merged[*it];
        into.rows += group.rows;
        for (size_t i = 0; i < into.yes.size(); ++i)
            into.yes[i] += group.yes[i];
    }
    return merged;
}

} // namespace dao
