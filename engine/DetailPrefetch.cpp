#include "engine/DetailPrefetch.h"

#include "engine/Connection.h"
#include "engine/Constants.h"
#include "engine/TableInfo.h"
#include "engine/jet/Names.h"

#include <QSet>

namespace dao {

namespace {

// "([ID_SCHEDA]  = 17)", as the master link writes it: "(", a bracketed name, "=", a whole
// number of up to 18 digits, ")", with blanks (ASCII white space) around each. Read by hand:
// a walk through the cards asks it at every card.
bool parseEquality(const QString &condition, QString &column, qint64 &value)
{
    const QStringView text(condition);
    qsizetype at = 0;
    const auto blanks = [&] {
        while (at < text.size() && (text[at] == u' ' || (text[at] >= u'\t' && text[at] <= u'\r')))
            ++at;
    };
    const auto take = [&](char16_t c) {
        blanks();
        if (at >= text.size() || text[at] != c)
            return false;
        ++at;
        return true;
    };
    if (!take(u'(') || !take(u'['))
        return false;
    const qsizetype nameStart = at;
    while (at < text.size() && text[at] != u']')
        ++at;
    if (at == nameStart || at >= text.size())
        return false;
    const QStringView name = text.mid(nameStart, at - nameStart);
    ++at;
    if (!take(u'='))
        return false;
    blanks();
    const qsizetype numberStart = at;
    if (at < text.size() && text[at] == u'-')
        ++at;
    const qsizetype digitsStart = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    if (at == digitsStart || at - digitsStart > 18)
        return false;
    const QStringView number = text.mid(numberStart, at - numberStart);
    if (!take(u')'))
        return false;
    blanks();
    if (at != text.size())
        return false;
    column = name.toString();
    value = number.toLongLong();
    return true;
}

// Columns whose values the engine hands over as whole numbers, compared as numbers.
bool isWholeNumber(int type)
{
    return type == dbByte || type == dbInteger || type == dbLong || type == dbBigInt;
}

} // namespace

void DetailPrefetch::noteBlock(const std::shared_ptr<const TableInfo> &table,
                               std::shared_ptr<const std::vector<Row>> rows, quint64 readScope, quint64 writeSerial)
{
    m_blocks.insert(table->name.toLower(), Block{table, std::move(rows), readScope, writeSerial});
}

bool DetailPrefetch::lookup(Connection &connection, const std::shared_ptr<const TableInfo> &table,
                            const QString &condition, const QString &sort, std::vector<qint64> &keys,
                            std::shared_ptr<const std::vector<Row>> &rows)
{
    const quint64 scope = connection.readScope();
    if (scope == 0)
        return false;
    QString columnName;
    qint64 value = 0;
    if (!parseEquality(condition, columnName, value))
        return false;
    const int column = table->indexOf(columnName);
    if (column < 0 || !isWholeNumber(table->columns[size_t(column)].type))
        return false;

    const bool current = m_details.readScope == scope && m_details.writeSerial == connection.writeSerial()
                         && m_details.table == table->name && m_details.column == column && m_details.sort == sort;
    if (!current || !m_details.byValue.contains(value)) {
        // The master block that holds the value: its values of that column, in one statement.
        std::vector<qint64> values;
        for (const Block &block : std::as_const(m_blocks)) {
            const int masterColumn = block.table->indexOf(columnName);
            if (block.readScope != scope || block.writeSerial != connection.writeSerial() || masterColumn < 0)
                continue;
            QSet<qint64> seen;
            std::vector<qint64> candidates;
            for (const Row &row : *block.rows) {
                const Value &v = row[size_t(masterColumn)];
                if (v.isInt() && !seen.contains(v.asInt())) {
                    seen.insert(v.asInt());
                    candidates.push_back(v.asInt());
                }
            }
            if (seen.contains(value)) {
                values = std::move(candidates);
                break;
            }
        }
        if (values.empty() || !fetch(connection, *table, column, sort, values))
            return false;
    }
    const Details::Rows &found = m_details.byValue[value];
    keys = found.keys;
    rows = found.rows;
    return true;
}

bool DetailPrefetch::fetch(Connection &connection, const TableInfo &table, int column, const QString &sort,
                           const std::vector<qint64> &values)
{
    if (values.size() > size_t(kValues))
        return false;
    Details details;
    details.table = table.name;
    details.column = column;
    details.sort = sort;
    details.readScope = connection.readScope();
    details.writeSerial = connection.writeSerial();
    // Always kValues marks (the last value repeated), so the statement text stays the same.
    QStringList marks;
    std::vector<Value> params;
    for (int i = 0; i < kValues; ++i) {
        marks << QStringLiteral("?");
        params.emplace_back(values[std::min(size_t(i), values.size() - 1)]);
    }
    const QString order = connection.dialect().sort(sort, table.dialectColumns);
    const std::unique_ptr<Query> query = connection.prepare(
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %4 IN (%5) ORDER BY %6%1")
            .arg(table.rowid, table.selectList(), jet::quoteIdentifier(table.name),
                 jet::quoteIdentifier(table.columns[size_t(column)].name), marks.join(QLatin1Char(',')),
                 order.isEmpty() ? QString() : order + QLatin1String(", ")));
    query->bindAll(params);
    QHash<qint64, std::pair<std::vector<qint64>, std::vector<Row>>> gathered;
    for (qint64 v : values)
        gathered.insert(v, {});
    while (query->step()) {
        Row row;
        row.reserve(table.columns.size());
        for (size_t i = 0; i < table.columns.size(); ++i)
            row.push_back(typedFromStorage(table.columns[i], query->raw(int(i) + 1)));
        const Value &owner = row[size_t(column)];
        if (owner.isInt()) {
            auto &[keys, rows] = gathered[owner.asInt()];
            keys.push_back(query->int64(0));
            rows.push_back(std::move(row));
        }
    }
    query->reset();
    for (auto it = gathered.begin(); it != gathered.end(); ++it)
        details.byValue.insert(it.key(), {std::move(it->first),
                                          std::make_shared<const std::vector<Row>>(std::move(it->second))});
    m_details = std::move(details);
    return true;
}

} // namespace dao
