// Record conditions on the server: each column's text form written as an expression, the
// record text as their concatenation and the search as strpos, a plain WHERE the server
// evaluates without calling back into anything slower than its own functions.

#include "engine/jet/Names.h"
#include "engine/pg/FileValues.h"
#include "engine/pg/PgDialect.h"
#include "engine/pg/PgStorage.h"

#include <QStringList>
#include <algorithm>

namespace dao::pg {

namespace {

struct FormColumn {
    QString name;  // quoted
    Storage storage;
};

FormColumn formColumn(const TextColumn &column, const jet::Columns &columns)
{
    const QString &name = jet::resolveColumn(column.name, columns);
    const auto it = std::find_if(columns.begin(), columns.end(), [&name](const jet::Column &c) { return &c.name == &name; });
    return {jet::quoteIdentifier(name), storageOf(it->type)};
}

// The column's text in its form; null when the value is null.
QString formText(const FormColumn &column, TextForm form)
{
    const QString &name = column.name;
    const bool numeric = isNumeric(column.storage) && column.storage != Storage::Binary;
    switch (form) {
    case TextForm::Plain:
        if (column.storage == Storage::WholeOrReal)
            return QStringLiteral("jet_number_text(%1, false)").arg(name);
        if (column.storage == Storage::Real)
            return QStringLiteral("jet_real_text(%1, false)").arg(name);
        return columnText(name, column.storage);
    case TextForm::Number:
        if (column.storage == Storage::Integer)
            return name + QStringLiteral("::text");
        if (numeric)
            return QStringLiteral("round(%1::numeric)::text").arg(name);
        return QStringLiteral("CASE WHEN %1 IS NOT NULL THEN coalesce(round(jet_num(%1))::text, '0') END").arg(name);
    case TextForm::Boolean: {
        // A text reads as true only when it says so.
        const QString on = numeric ? QStringLiteral("%1 <> 0").arg(name)
                                   : QStringLiteral("lower(btrim(%1, E' \\t\\n\\r\\f\\v')) IN ('true', 'yes', '-1', 'on', '1')")
                                         .arg(columnText(name, column.storage));
        return QStringLiteral("CASE WHEN %1 IS NULL THEN NULL WHEN %2 THEN 'True' ELSE 'False' END").arg(name, on);
    }
    case TextForm::Date: case TextForm::DateTime: case TextForm::Time:
        if (!numeric)
            return QStringLiteral("jet_text_date_text(%1, '%2')").arg(columnText(name, column.storage), QChar(char(form)));
        return QStringLiteral("jet_date_text(%1, '%2')").arg(name, QChar(char(form)));
    }
    return name;
}

QString equalsTerm(const RecordCondition::Equals &equals, const jet::Columns &columns, std::vector<Value> &params)
{
    const FormColumn column = formColumn(equals.column, columns);
    if (equals.column.form != TextForm::Plain || column.storage == Storage::Text)
        return QStringLiteral("%1 = %2").arg(formText(column, equals.column.form), parameter(Value(equals.text), params));
    // A number field compared with a text: equal only to a text that is that number.
    const std::optional<Value> number = numberOfText(equals.text);
    if (!number || column.storage == Storage::Binary)
        return QStringLiteral("(CASE WHEN %1 IS NULL THEN NULL ELSE FALSE END)").arg(column.name);
    return QStringLiteral("%1 = %2").arg(column.name, parameter(*number, params));
}

QString containsTerm(const RecordCondition::Contains &contains, const jet::Columns &columns, std::vector<Value> &params)
{
    // The record text: a blank before each column's text, letters a to z upper-cased (under
    // the collation "C" upper() changes those and nothing else).
    QStringList parts;
    for (const TextColumn &textColumn : contains.columnsToRead()) {
        const FormColumn column = formColumn(textColumn, columns);
        QString text = formText(column, textColumn.form);
        if (textColumn.form == TextForm::Plain || textColumn.form == TextForm::Boolean)
            text = QStringLiteral("upper(%1 COLLATE \"C\")").arg(text);
        parts << QStringLiteral("' '") << QStringLiteral("coalesce(%1, '')").arg(text);
    }
    const QString record = parts.isEmpty() ? QStringLiteral("''") : parts.join(QStringLiteral(" || "));
    return QStringLiteral("strpos(%1, %2) > 0").arg(record, parameter(Value(contains.text), params));
}

} // namespace

jet::SqlFragment translateRecordCondition(const RecordCondition &condition, const jet::Columns &columns)
{
    jet::SqlFragment out;
    QStringList terms;
    for (const RecordCondition::Equals &equals : condition.equals)
        terms << equalsTerm(equals, columns, out.params);
    for (const RecordCondition::Contains &contains : condition.contains)
        terms << containsTerm(contains, columns, out.params);
    if (!terms.isEmpty())
        out.sql = QLatin1Char('(') + terms.join(QLatin1String(") AND (")) + QLatin1Char(')');
    return out;
}

} // namespace dao::pg
