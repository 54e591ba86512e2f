// SQLite's spelling of the dialect: every literal a bound parameter, comparisons under the
// engine's collation, LIKE and the case functions through the functions registered on the
// connection. SQLite's own affinity rules then settle what a comparison of mixed kinds means.

#include "engine/sqlite/SqliteDialect.h"

#include "engine/jet/Names.h"
#include "engine/sqlite/SqlFunctions.h"
#include "engine/sqlite/SummaryTally.h"

namespace dao::sqlite {

namespace {

using jet::Operand;
using jet::Params;

class SqliteDialect final : public Dialect {
public:
    QString operand(const Operand &value, Params &params) const override
    {
        switch (value.kind) {
        case Operand::Kind::Literal:
            params.push_back(value.value);
            return parenthesized(value, QStringLiteral("?"));
        case Operand::Kind::Null:
            return parenthesized(value, QStringLiteral("NULL"));
        case Operand::Kind::Computed:
            if (!value.argument.empty())
                return parenthesized(value, value.sql.arg(operand(value.argument.front(), params)));
            break;
        case Operand::Kind::Column:
            break;
        }
        return parenthesized(value, value.sql);
    }

    QString truth(const Operand &value, Params &params) const override { return operand(value, params); }

    QString comparison(const Operand &left, QStringView op, const Operand &right, Params &params) const override
    {
        const QString l = operand(left, params);
        const QString r = operand(right, params);
        return QStringLiteral("(%1 %2 %3 COLLATE %4)").arg(l, op, r, QLatin1StringView(kCollation));
    }

    QString like(const Operand &value, const Operand &pattern, Params &params) const override
    {
        const QString v = operand(value, params);
        const QString p = operand(pattern, params);
        return QStringLiteral("jet_like(%1, %2)").arg(v, p);
    }

    Operand changeCase(bool upper, const Operand &argument, Params &) const override
    {
        const QString sql = upper ? QStringLiteral("jet_ucase(%1)") : QStringLiteral("jet_lcase(%1)");
        return Operand{Operand::Kind::Computed, sql, Value(), 0, 0, {argument}};
    }

    QString sortItem(const jet::Column &column, bool descending) const override
    {
        return QStringLiteral("%1 COLLATE %2 %3")
            .arg(jet::quoteIdentifier(column.name), QLatin1StringView(kCollation),
                 descending ? QLatin1StringView("DESC") : QLatin1StringView("ASC"));
    }

    jet::SqlFragment recordCondition(const RecordCondition &condition, const jet::Columns &columns) const override
    {
        return translateRecordCondition(condition, columns);
    }

    QString textEquals(const QString &quotedColumn) const override
    {
        return QStringLiteral("%1 = ? COLLATE %2").arg(quotedColumn, QLatin1StringView(kCollation));
    }
    // A column of the file may hold a value of any kind.
    QString storedNumber(const QString &quotedColumn) const override
    {
        return QStringLiteral("(CASE WHEN typeof(%1) IN ('integer', 'real') THEN %1 END)").arg(quotedColumn);
    }
    QString truncated(const QString &number) const override { return QStringLiteral("CAST(%1 AS INTEGER)").arg(number); }
    QString fence() const override { return QStringLiteral(" LIMIT -1 OFFSET 0"); }
    QString tallyFunction() const override { return QString::fromLatin1(kTallyFunction); }
};

} // namespace

const Dialect &dialect()
{
    static const SqliteDialect dialect;
    return dialect;
}

} // namespace dao::sqlite
