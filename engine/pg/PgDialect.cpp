// The server's spelling of the condition grammar. The file's storage library applies its
// affinity rules per row: a number field compared with a text reads the text as a number
// when it is one, a text field compared with a literal number reads the number as text,
// a function's text and a literal are compared as they are, with numbers before texts and
// texts before binary values. Here the same is decided from the field types and the
// literals' kinds; only a number field against a text field or a function's text needs a
// decision per row (jet_num).

#include "engine/pg/PgDialect.h"

#include "engine/jet/ConditionSpelling.h"
#include "engine/jet/LikePattern.h"
#include "engine/pg/FileValues.h"
#include "engine/pg/PgStorage.h"
#include "engine/pg/TextKey.h"

namespace dao::pg {

namespace {

using jet::Operand;
using jet::Params;

QString truthText(std::optional<bool> value)
{
    if (!value)
        return QStringLiteral("NULL::boolean");
    return *value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

// A result fixed by the kinds alone, null when a value is null.
QString fixedUnlessNull(const QStringList &values, bool result)
{
    QStringList tests;
    for (const QString &value : values)
        tests << value + QStringLiteral(" IS NULL");
    return QStringLiteral("(CASE WHEN %1 THEN NULL ELSE %2 END)").arg(tests.join(QStringLiteral(" OR ")), truthText(result));
}

QString mirrored(QStringView op)
{
    if (op == u"<")
        return QStringLiteral(">");
    if (op == u">")
        return QStringLiteral("<");
    if (op == u"<=")
        return QStringLiteral(">=");
    if (op == u">=")
        return QStringLiteral("<=");
    return op.toString();
}

int classOrder(ValueClass left, ValueClass right)
{
    return (left > right) - (left < right);
}

// The element's code point as a regular-expression escape, so no character is special.
QString regexCodePoint(char32_t cp)
{
    return QStringLiteral("\\U%1").arg(uint(cp), 8, 16, QLatin1Char('0'));
}

// A Jet LIKE pattern as an anchored regular expression over the lower-cased value.
QString likeExpression(const QString &pattern)
{
    const jet::LikePattern compiled(pattern);
    using Kind = jet::LikePattern::Kind;
    QString regex = QStringLiteral("^");
    for (const jet::LikePattern::Element &element : compiled.elements()) {
        switch (element.kind) {
        case Kind::Literal:
            regex += regexCodePoint(element.literal);
            break;
        case Kind::AnyOne:
            regex += u'.';
            break;
        case Kind::Digit:
            regex += QStringLiteral("[0-9]");
            break;
        case Kind::AnyRun:
            regex += QStringLiteral(".*");
            break;
        case Kind::Set: {
            QString ranges;
            for (size_t r = element.firstRange; r < element.endRange; ++r) {
                const auto &range = compiled.ranges()[r];
                if (range.low <= range.high)
                    ranges += regexCodePoint(range.low) + u'-' + regexCodePoint(range.high);
            }
            if (!ranges.isEmpty())
                regex += QStringLiteral("[%1%2]").arg(element.negated ? QStringLiteral("^") : QString(), ranges);
            else
                regex += element.negated ? QStringLiteral(".") : QStringLiteral("[^\\U00000001-\\U0010ffff]");
            break;
        }
        }
    }
    return regex + u'$';
}

class PgDialect final : public Dialect {
public:
    QString operand(const Operand &value, Params &params) const override
    {
        switch (value.kind) {
        case Operand::Kind::Literal:
            return parameter(value.value, params);
        case Operand::Kind::Null:
            return QStringLiteral("NULL");
        case Operand::Kind::Column:
        case Operand::Kind::Computed:
            break;
        }
        return value.sql;
    }

    QString truth(const Operand &value, Params &) const override
    {
        switch (value.kind) {
        case Operand::Kind::Null:
            return truthText(std::nullopt);
        case Operand::Kind::Literal:
            return truthText(truthOf(value.value));
        case Operand::Kind::Computed:
            return QStringLiteral("jet_truth(%1)").arg(value.sql);
        case Operand::Kind::Column:
            break;
        }
        const Storage storage = storageOf(value.type);
        if (storage == Storage::Text || storage == Storage::Binary)
            return QStringLiteral("jet_truth(%1)").arg(columnText(value.sql, storage));
        return QStringLiteral("(%1 <> 0)").arg(value.sql);
    }

    QString comparison(const Operand &left, QStringView op, const Operand &right, Params &params) const override
    {
        if (left.kind == Operand::Kind::Null || right.kind == Operand::Kind::Null)
            return truthText(std::nullopt);
        if (left.kind == Operand::Kind::Literal && right.kind == Operand::Kind::Literal) {
            const std::optional<int> order = compareValues(left.value, right.value);
            return truthText(order ? std::optional<bool>(satisfies(*order, op)) : std::nullopt);
        }
        if (left.kind == Operand::Kind::Literal)
            return withLiteral(right, mirrored(op), left.value, params);
        if (right.kind == Operand::Kind::Literal)
            return withLiteral(left, op.toString(), right.value, params);
        return betweenValues(left, op, right);
    }

    QString like(const Operand &value, const Operand &pattern, Params &params) const override
    {
        if (value.kind == Operand::Kind::Null || pattern.kind == Operand::Kind::Null)
            return truthText(std::nullopt);
        if (pattern.kind != Operand::Kind::Literal)
            return QStringLiteral("jet_like(%1, %2)").arg(textOf(value, params), textOf(pattern, params));
        const QString patternText = textOfValue(pattern.value);
        if (value.kind == Operand::Kind::Literal)
            return truthText(jet::likeMatch(textOfValue(value.value), patternText));
        const QString text = textOf(value, params);
        return QStringLiteral("(jet_like_lower(%1) ~ %2)").arg(text, parameter(Value(likeExpression(patternText)), params));
    }

    Operand changeCase(bool upper, const Operand &argument, Params &params) const override
    {
        if (argument.kind == Operand::Kind::Null)
            return Operand{};
        if (argument.kind == Operand::Kind::Literal) {
            const QString text = textOfValue(argument.value);
            return Operand{Operand::Kind::Literal, QString(), Value(upper ? text.toUpper() : text.toLower()), 0, 0, {}};
        }
        const QString sql = QStringLiteral("%1(%2)").arg(upper ? QStringLiteral("jet_ucase") : QStringLiteral("jet_lcase"),
                                                          textOf(argument, params));
        return Operand{Operand::Kind::Computed, sql, Value(), 0, 0, {}};
    }

    QString sortItem(const jet::Column &column, bool descending) const override
    {
        QString key = quoted(column.name);
        if (storageOf(column.type) == Storage::Text)
            key = QStringLiteral("jet_key(%1)").arg(key);
        // The file puts nulls before every value.
        return key + (descending ? QStringLiteral(" DESC NULLS LAST") : QStringLiteral(" ASC NULLS FIRST"));
    }

    jet::SqlFragment recordCondition(const RecordCondition &condition, const jet::Columns &columns) const override
    {
        return translateRecordCondition(condition, columns);
    }

    QString textEquals(const QString &quotedColumn) const override
    {
        return QStringLiteral("jet_key(%1) = jet_key(?::text)").arg(quotedColumn);
    }
    // Dates and numbers are double precision columns; a cast to bigint would round.
    QString storedNumber(const QString &quotedColumn) const override { return quotedColumn; }
    QString truncated(const QString &number) const override { return QStringLiteral("trunc(%1)::bigint").arg(number); }
    QString fence() const override { return QStringLiteral(" OFFSET 0"); }

private:
    static QString quoted(const QString &name)
    {
        QString inner = name;
        inner.replace(u'"', QStringLiteral("\"\""));
        return u'"' + inner + u'"';
    }

    // Text, number field or computed text: which way the file would read it.
    static bool numericColumn(const Operand &value)
    {
        return value.kind == Operand::Kind::Column && isNumeric(storageOf(value.type));
    }

    static bool binaryColumn(const Operand &value)
    {
        return value.kind == Operand::Kind::Column && storageOf(value.type) == Storage::Binary;
    }

    QString textOf(const Operand &value, Params &params) const
    {
        switch (value.kind) {
        case Operand::Kind::Literal:
            return parameter(Value(textOfValue(value.value)), params);
        case Operand::Kind::Null:
            return QStringLiteral("NULL::text");
        case Operand::Kind::Computed:
            return value.sql;
        case Operand::Kind::Column:
            break;
        }
        return columnText(value.sql, storageOf(value.type));
    }

    // A field or computed text against a literal.
    QString withLiteral(const Operand &value, const QString &op, Value literal, Params &params) const
    {
        if (numericColumn(value)) {
            if (literal.isText()) {
                if (const std::optional<Value> number = numberOfText(literal.asText()))
                    literal = *number;
            }
            const ValueClass stored = binaryColumn(value) ? ValueClass::Binary : ValueClass::Number;
            if (stored != classOf(literal) || stored == ValueClass::Binary)
                return fixedUnlessNull({value.sql}, satisfies(classOrder(stored, classOf(literal)), op));
            return QStringLiteral("(%1 %2 %3)").arg(value.sql, op, parameter(literal, params));
        }
        if (value.kind == Operand::Kind::Column)  // a text field reads the literal as text
            literal = Value(textOfValue(literal));
        if (!literal.isText())
            return fixedUnlessNull({value.sql}, satisfies(classOrder(ValueClass::Text, classOf(literal)), op));
        const QString key = parameter(Value(textKey(literal.asText())), params);
        return QStringLiteral("(jet_key(%1) %2 %3)").arg(value.sql, op, key);
    }

    // Two fields, or a field and a computed text, or two computed texts.
    QString betweenValues(const Operand &left, QStringView op, const Operand &right) const
    {
        const bool leftNumeric = numericColumn(left);
        const bool rightNumeric = numericColumn(right);
        if (!leftNumeric && !rightNumeric)
            return QStringLiteral("(jet_key(%1) %2 jet_key(%3))").arg(left.sql, op, right.sql);
        const ValueClass leftClass = binaryColumn(left) ? ValueClass::Binary : leftNumeric ? ValueClass::Number : ValueClass::Text;
        const ValueClass rightClass = binaryColumn(right) ? ValueClass::Binary : rightNumeric ? ValueClass::Number : ValueClass::Text;
        if (leftClass == rightClass)
            return QStringLiteral("(%1 %2 %3)").arg(left.sql, op, right.sql);
        if (leftClass == ValueClass::Binary || rightClass == ValueClass::Binary)
            return fixedUnlessNull({left.sql, right.sql}, satisfies(classOrder(leftClass, rightClass), op));
        // A number field against a text: the text counts as a number when it is one.
        const QString number = leftNumeric ? left.sql : right.sql;
        const QString text = QStringLiteral("jet_num(%1)").arg(leftNumeric ? right.sql : left.sql);
        return QStringLiteral("(CASE WHEN %1 IS NULL OR %2 IS NULL THEN NULL WHEN %3 IS NULL THEN %4 ELSE %5 %6 %7 END)")
            .arg(left.sql, right.sql, text, truthText(satisfies(classOrder(leftClass, rightClass), op)),
                 leftNumeric ? number : text, op.toString(), leftNumeric ? text : number);
    }
};

} // namespace

const Dialect &dialect()
{
    static const PgDialect dialect;
    return dialect;
}

} // namespace dao::pg
