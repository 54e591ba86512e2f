// SQLite's spelling of the dialect: every literal a bound parameter, comparisons under the
// engine's collation, LIKE and the case functions through the functions registered on the
// connection. SQLite's own affinity rules then settle what a comparison of mixed kinds means.

#include "engine/jet/ConditionSpelling.h"
#include "engine/jet/Names.h"

namespace dao::jet {

namespace {

class SqliteSpelling final : public ConditionSpelling {
public:
    QString operand(const Operand &value, Params &params) override
    {
        switch (value.kind) {
        case Operand::Kind::Literal:
            params.push_back(value.value);
            return parenthesized(value, QStringLiteral("?"));
        case Operand::Kind::Null:
            return parenthesized(value, QStringLiteral("NULL"));
        case Operand::Kind::Column:
        case Operand::Kind::Computed:
            break;
        }
        return parenthesized(value, value.sql);
    }

    QString truth(const Operand &value, Params &params) override { return operand(value, params); }

    QString comparison(const Operand &left, QStringView op, const Operand &right, Params &params) override
    {
        const QString l = operand(left, params);
        const QString r = operand(right, params);
        return QStringLiteral("(%1 %2 %3 COLLATE %4)").arg(l, op, r, QLatin1StringView(kCollation));
    }

    QString like(const Operand &value, const Operand &pattern, Params &params) override
    {
        const QString v = operand(value, params);
        const QString p = operand(pattern, params);
        return QStringLiteral("jet_like(%1, %2)").arg(v, p);
    }

    Operand changeCase(bool upper, const Operand &argument, Params &params) override
    {
        const QString sql = QStringLiteral("%1(%2)").arg(upper ? QStringLiteral("jet_ucase") : QStringLiteral("jet_lcase"),
                                                          operand(argument, params));
        return Operand{Operand::Kind::Computed, sql, Value(), 0, 0};
    }

    QString sortItem(const Column &column, bool descending) override
    {
        return QStringLiteral("%1 COLLATE %2 %3")
            .arg(quoteIdentifier(column.name), QLatin1StringView(kCollation),
                 descending ? QLatin1StringView("DESC") : QLatin1StringView("ASC"));
    }
};

} // namespace

SqlFragment translateCondition(const QString &condition, const Columns &columns)
{
    SqliteSpelling spelling;
    return translateCondition(condition, columns, spelling);
}

QString translateSort(const QString &sort, const Columns &columns)
{
    SqliteSpelling spelling;
    return translateSort(sort, columns, spelling);
}

} // namespace dao::jet
