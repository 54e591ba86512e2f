#include "engine/TableInfo.h"

#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "engine/jet/Names.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace dao {

using jet::quoteIdentifier;

namespace {

const QString kFieldSource = QStringLiteral("DAO.Field");

struct TypeWord {
    const char *word;
    int type;
    const char *format;
};

// Declared words of the archive format, in the order they are tried.
const TypeWord kTypeWords[] = {
    {"LONGTEXT", dbMemo, ""},       {"LONGBINARY", dbLongBinary, ""},
    {"TEXT", dbText, ""},           {"BINARY", dbBinary, ""},
    {"LONG", dbLong, ""},           {"SHORT", dbInteger, ""},
    {"BYTE", dbByte, ""},           {"BIT", dbBoolean, ""},
    {"CURRENCY", dbCurrency, ""},   {"SINGLE", dbSingle, ""},
    {"DOUBLE", dbDouble, ""},       {"DATETIME", dbDate, ""},
    {"DATE", dbDate, "Short Date"}, {"TIME", dbDate, "Short Time"},
    {"GUID", dbGUID, ""},           {"BIGINT", dbBigInt, ""},
};

const char *wordFor(int type, const QString &format)
{
    if (type == dbDate)
        return format == QLatin1String("Short Date") ? "DATE"
             : format == QLatin1String("Short Time") ? "TIME" : "DATETIME";
    for (const TypeWord &w : kTypeWords)
        if (w.type == type)
            return w.word;
    return "LONGTEXT";
}

int fixedSize(int type)
{
    switch (type) {
    case dbBoolean: case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong: case dbSingle: return 4;
    case dbDouble: case dbDate: case dbCurrency: case dbBigInt: return 8;
    case dbGUID: return 16;
    default: return 0;
    }
}

[[noreturn]] void mismatch(const ColumnInfo &column)
{
    throw EngineError(errDataTypeConversion, kFieldSource,
                      QStringLiteral("Tipo di dati non corrispondente per il campo '%1'.").arg(column.name));
}

// The default as stored in the declaration, parsed back into a typed value.
Value parseDefault(const QString &sql, int type)
{
    QString s = sql.trimmed();
    if (s.isEmpty() || s.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return {};
    if (s.startsWith(QLatin1Char('\'')) && s.endsWith(QLatin1Char('\'')) && s.size() >= 2)
        return Value(s.mid(1, s.size() - 2).replace(QLatin1String("''"), QLatin1String("'")));
    bool ok = false;
    const double d = s.toDouble(&ok);
    if (!ok)
        return {};
    switch (type) {
    case dbBoolean: return Value(d != 0.0);
    case dbDate: return Value(Date{d});
    case dbSingle: case dbDouble: case dbCurrency: case dbNumeric: case dbDecimal: case dbFloat:
        return Value(d);
    default: return Value(qint64(std::llround(d)));
    }
}

QString twoDigits(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

} // namespace

QString defaultLiteral(const Value &v)
{
    if (v.isText())
        return QLatin1Char('\'') + v.asText().replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    if (v.isBool())
        return v.asBool() ? QStringLiteral("-1") : QStringLiteral("0");
    if (v.isInt())
        return QString::number(v.asInt());
    return QString::number(v.asDouble(), 'g', 17);
}

bool ColumnInfo::isText() const
{
    return type == dbText || type == dbMemo || type == dbChar;
}

int ColumnInfo::attributes(bool updatableRecordset) const
{
    int a = (type == dbText || type == dbMemo || type == dbLongBinary || type == dbBinary)
                ? dbVariableField : dbFixedField;
    if (autoIncrement)
        return a | dbAutoIncrField;
    if (updatableRecordset)
        a |= dbUpdatableField;
    return a;
}

QString ColumnInfo::defaultText() const
{
    if (defaultValue.isNull())
        return {};
    switch (type) {
    case dbBoolean:
        return defaultValue.asBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    case dbText: case dbMemo: case dbChar:
        return QLatin1Char('"') + defaultValue.asText() + QLatin1Char('"');
    case dbDate: {
        const QDate date = calendarDateOf(qint64(std::floor(defaultValue.asDouble())));
        return QStringLiteral("#%1/%2/%3#").arg(twoDigits(date.month()), twoDigits(date.day()))
            .arg(date.year(), 4, 10, QLatin1Char('0'));
    }
    default:
        return defaultValue.asText();
    }
}

int TableInfo::indexOf(const QString &column) const
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString TableInfo::selectList() const
{
    QStringList names;
    for (const ColumnInfo &c : columns)
        names << quoteIdentifier(c.name);
    return names.join(QLatin1String(", "));
}

ColumnInfo columnFromStorage(const QString &name, const QString &declaredType, bool notNull,
                             const QString &defaultSql, bool primaryKey)
{
    ColumnInfo c;
    c.name = name;
    c.required = notNull;
    const QString decl = declaredType.trimmed().toUpper();
    static const QRegularExpression sized(QStringLiteral("^([A-Z]+)\\s*\\(\\s*(\\d+)\\s*\\)$"));
    QString word = decl;
    if (const auto m = sized.match(decl); m.hasMatch()) {
        word = m.captured(1);
        c.size = m.captured(2).toInt();
    }
    if (primaryKey && word == QLatin1String("INTEGER")) {
        c.type = dbLong;
        c.autoIncrement = true;
        c.required = false;
    } else {
        for (const TypeWord &w : kTypeWords) {
            if (word == QLatin1String(w.word)) {
                c.type = w.type;
                c.format = QLatin1String(w.format);
                break;
            }
        }
        if (c.type == 0) {
            // A declaration of another origin: judge it by the storage library's affinity words.
            if (word.contains(QLatin1String("CHAR")) || word.contains(QLatin1String("CLOB"))
                || word.contains(QLatin1String("TEXT")))
                c.type = c.size > 0 ? dbText : dbMemo;
            else if (word.contains(QLatin1String("INT")))
                c.type = dbLong;
            else if (word.contains(QLatin1String("REAL")) || word.contains(QLatin1String("FLOA"))
                     || word.contains(QLatin1String("DOUB")))
                c.type = dbDouble;
            else
                c.type = dbLongBinary;
        }
    }
    if (c.type == dbText && c.size == 0)
        c.size = 255;
    if (c.size == 0)
        c.size = fixedSize(c.type);
    c.defaultValue = parseDefault(defaultSql, c.type);
    return c;
}

QString createTableSql(const TableSpec &definition)
{
    QStringList cols;
    for (const FieldSpec &f : definition.fields) {
        QString col = quoteIdentifier(f.name) + QLatin1Char(' ');
        if (f.autoIncrement) {
            col += QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT");
        } else {
            col += QLatin1String(wordFor(f.type, f.format));
            if ((f.type == dbText || f.type == dbBinary) && f.size > 0)
                col += QStringLiteral("(%1)").arg(f.size);
            if (f.required)
                col += QLatin1String(" NOT NULL");
            if (!f.defaultValue.isNull())
                col += QLatin1String(" DEFAULT ") + defaultLiteral(f.defaultValue);
        }
        cols << col;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(definition.name), cols.join(QLatin1String(", ")));
}

Value coerceForColumn(const ColumnInfo &column, const Value &value)
{
    if (value.isNull())
        return {};
    switch (column.type) {
    case dbBoolean: {
        if (value.isBool())
            return value;
        if (value.isInt() || value.isDouble())
            return Value(value.asDouble() != 0.0);
        const QString t = value.asText().trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("on")
            || t == QLatin1String("-1") || t == QLatin1String("1"))
            return Value(true);
        if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("off")
            || t == QLatin1String("0"))
            return Value(false);
        mismatch(column);
    }
    case dbByte: case dbInteger: case dbLong: case dbBigInt: {
        qint64 n = 0;
        if (value.isText()) {
            bool ok = false;
            const QString t = value.asText().trimmed();
            n = t.toLongLong(&ok);
            if (!ok) {
                const double d = t.toDouble(&ok);
                if (!ok || !std::isfinite(d))
                    mismatch(column);
                n = qint64(std::llround(d));
            }
        } else if (value.isBytes()) {
            mismatch(column);
        } else {
            n = value.asInt();
        }
        const qint64 lo = column.type == dbByte ? 0 : column.type == dbInteger ? -32768 : column.type == dbLong ? INT32_MIN : INT64_MIN;
        const qint64 hi = column.type == dbByte ? 255 : column.type == dbInteger ? 32767 : column.type == dbLong ? INT32_MAX : INT64_MAX;
        if (n < lo || n > hi)
            throw EngineError(errNumericOverflow, kFieldSource, QStringLiteral("Overflow numerico nel campo '%1'.").arg(column.name));
        return Value(n);
    }
    case dbCurrency: case dbSingle: case dbDouble: case dbNumeric: case dbDecimal: case dbFloat: {
        if (value.isText()) {
            bool ok = false;
            const double d = value.asText().trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(d))
                mismatch(column);
            return Value(d);
        }
        if (value.isBytes())
            mismatch(column);
        return Value(value.asDouble());
    }
    case dbDate: {
        if (value.isDate())
            return value;
        if (value.isInt() || value.isDouble())
            return Value(Date{value.asDouble()});
        if (value.isText())
            return Value(jet::parseDateLiteral(value.asText().trimmed()));
        mismatch(column);
    }
    case dbBinary: case dbLongBinary: case dbVarBinary: case dbGUID:
        return Value(value.asBytes());
    default:
        return Value(value.asText());
    }
}

Value typedFromStorage(const ColumnInfo &column, const Value &stored)
{
    if (stored.isNull())
        return {};
    switch (column.type) {
    case dbBoolean:
        return Value(stored.isText() ? coerceForColumn(column, stored).asBool() : stored.asDouble() != 0.0);
    case dbByte: case dbInteger: case dbLong: case dbBigInt:
        return stored.isInt() ? stored : Value(stored.asInt());
    case dbCurrency: case dbSingle: case dbDouble: case dbNumeric: case dbDecimal: case dbFloat:
        return Value(stored.asDouble());
    case dbDate:
        return stored.isText() ? stored : Value(Date{stored.asDouble()});
    case dbBinary: case dbLongBinary: case dbVarBinary: case dbGUID:
        return Value(stored.asBytes());
    default:
        return stored.isText() ? stored : Value(stored.asText());
    }
}

} // namespace dao
