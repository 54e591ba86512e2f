#include "store/TArcTableCondition.h"

#include "db/DatabaseError.h"
#include "store/TArcTableValueText.h"

namespace arctable {

namespace {

const QString kSeparator = QStringLiteral(" -> ");

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString dateLiteral(const QString &valueText, TFieldType type)
{
    const auto calendar = calendarOf(valueText);
    if (!calendar)
        return {};
    const QDate &d = calendar->first;
    const int seconds = calendar->second / 1000;
    const QString date = twoDigits(d.month()) + QLatin1Char('/') + twoDigits(d.day()) + QLatin1Char('/')
        + QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
    const QString time = twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60)
        + QLatin1Char(':') + twoDigits(seconds % 60);
    switch (type) {
    case TFieldType::ftDate: return date;
    case TFieldType::ftTime: return time;
    default: return date + QLatin1Char(' ') + time;
    }
}

bool isTextLike(TFieldType type)
{
    return type == TFieldType::ftString || type == TFieldType::ftMemo || type == TFieldType::ftBlob
        || type == TFieldType::ftBytes;
}

// The parts shared by the master condition and a locate: everything but texts.
QString nonTextPart(const KeyValue &value)
{
    switch (value.type) {
    case TFieldType::ftBoolean:
        if (value.text.isEmpty())
            return QStringLiteral(" IS NULL");
        return value.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
                || value.text == QLatin1String("-1")
            ? QStringLiteral(" = True") : QStringLiteral(" = False");
    case TFieldType::ftDate: case TFieldType::ftTime: case TFieldType::ftDateTime:
        return QStringLiteral(" = #") + dateLiteral(value.text, value.type) + QLatin1Char('#');
    case TFieldType::ftSmallint: case TFieldType::ftInteger: case TFieldType::ftAutoInc:
    case TFieldType::ftFloat: case TFieldType::ftCurrency: {
        if (value.text.isEmpty())
            return QStringLiteral(" IS NULL");
        // Value texts already write numbers with "." and no thousand separators.
        return QStringLiteral(" = ") + value.text;
    }
    default:
        throw EDatabaseError(QStringLiteral("Unable to build Master/Detail SQL Relationship!"));
    }
}

} // namespace

QString sortText(const QStringList &items)
{
    QString text;
    for (qsizetype i = 0; i < items.size(); ++i) {
        text += items[i];
        if (i + 1 < items.size())
            text += QLatin1Char(',');
        text += QLatin1Char(' ');
    }
    return text;
}

QString fieldNameText(const QString &name, bool useBrackets)
{
    if (!useBrackets)
        return name;
    QString inner = name;
    inner.replace(QLatin1Char('.'), QLatin1String("].["));
    return QLatin1Char('[') + inner + QLatin1Char(']');
}

QString quotedText(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString masterValuePart(const KeyValue &value)
{
    if (value.isNull)
        return QStringLiteral("IS NULL");
    if (isTextLike(value.type))
        return QStringLiteral(" = ") + quotedText(value.text);
    return nonTextPart(value);
}

QString locateValuePart(const KeyValue &value, bool caseInsensitive, bool partialKey)
{
    if (value.isNull)
        return QStringLiteral("IS NULL");
    if (!isTextLike(value.type))
        return nonTextPart(value);
    QString v = caseInsensitive ? value.text.toLower() : value.text;
    if (partialKey) {
        // The pattern's own wildcard characters stand for themselves.
        QString escaped;
        for (QChar c : v) {
            if (QStringLiteral("!#*-?[]").contains(c))
                escaped += QLatin1Char('[') + c + QLatin1Char(']');
            else
                escaped += c;
        }
        v = escaped + QLatin1Char('*');
    }
    const QString op = partialKey ? QStringLiteral(" LIKE ") : QStringLiteral(" = ");
    if (caseInsensitive)
        return op + QStringLiteral("LCASE(") + quotedText(v) + QLatin1Char(')');
    return op + quotedText(v);
}

QString term(const QString &name, const QString &valuePart, bool useBrackets)
{
    return QLatin1Char('(') + fieldNameText(name, useBrackets) + QLatin1Char(' ') + valuePart + QLatin1Char(')');
}

QString joinTerms(const QStringList &terms)
{
    return terms.join(QLatin1String(" AND "));
}

LinkPairs parseMasterFields(const QStringList &lines)
{
    LinkPairs pairs;
    if (lines.size() == 1 && lines.front().contains(QLatin1Char(';'))) {
        for (const QString &name : lines.front().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pairs.detail << name.trimmed();
            pairs.master << name.trimmed();
        }
        return pairs;
    }
    for (const QString &line : lines) {
        const qsizetype at = line.indexOf(kSeparator);
        if (at < 0)
            continue;
        pairs.detail << line.left(at).trimmed();
        pairs.master << line.mid(at + kSeparator.size()).trimmed();
    }
    return pairs;
}

QString combineWithFilter(const QString &condition, const QString &filter)
{
    if (condition.isEmpty())
        return filter;
    if (filter.isEmpty())
        return condition;
    return QLatin1Char('(') + condition + QStringLiteral(") AND (") + filter + QLatin1Char(')');
}

QString selectText(const QString &table, const QString &condition, const QString &sort)
{
    QString sql = QStringLiteral("Select * From [") + table + QStringLiteral("] Where ") + condition;
    if (!sort.isEmpty())
        sql += QStringLiteral(" Order By ") + sort;
    return sql + QLatin1Char(';');
}

} // namespace arctable
