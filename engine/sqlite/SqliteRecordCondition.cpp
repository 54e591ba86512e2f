// Record conditions on the file: each column's text in its form made by jet_text, the
// record text searched by jet_record_contains (RecordText.h), texts compared byte for byte.

#include "engine/sqlite/SqliteDialect.h"

#include "engine/jet/Names.h"

namespace dao::sqlite {

using jet::Columns;
using jet::SqlFragment;

namespace {

QString columnName(const TextColumn &column, const Columns &columns)
{
    return jet::quoteIdentifier(jet::resolveColumn(column.name, columns));
}

QString formCode(TextForm form)
{
    return QString(QLatin1Char(char(form)));
}

} // namespace

SqlFragment translateRecordCondition(const RecordCondition &condition, const Columns &columns)
{
    SqlFragment out;
    QStringList terms;
    for (const RecordCondition::Equals &equals : condition.equals) {
        const QString name = columnName(equals.column, columns);
        // Texts are compared byte for byte: the same length, characters and case.
        if (equals.column.form == TextForm::Plain) {
            terms << QStringLiteral("%1 = ? COLLATE BINARY").arg(name);
        } else {
            terms << QStringLiteral("jet_text(%1, ?) = ? COLLATE BINARY").arg(name);
            out.params.push_back(Value(formCode(equals.column.form)));
        }
        out.params.push_back(Value(equals.text));
    }
    for (const RecordCondition::Contains &contains : condition.contains) {
        QString forms;
        QStringList names;
        for (const TextColumn &column : contains.columnsToRead()) {
            names << columnName(column, columns);
            forms += formCode(column.form);
        }
        terms << QStringLiteral("jet_record_contains(?, ?%1%2)")
                     .arg(names.isEmpty() ? QString() : QStringLiteral(", "), names.join(QLatin1String(", ")));
        out.params.push_back(Value(contains.text));
        out.params.push_back(Value(forms));
    }
    if (terms.isEmpty())
        return out;
    out.sql = QLatin1Char('(') + terms.join(QLatin1String(") AND (")) + QLatin1Char(')');
    return out;
}

} // namespace dao::sqlite
