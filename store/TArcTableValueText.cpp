#include "store/TArcTableValueText.h"

#include "db/TField.h"
#include "db/ValueText.h"
#include "engine/Constants.h"
#include "engine/jet/JetDialect.h"

#include <cmath>

namespace arctable {

namespace {

constexpr qint64 kMsPerDay = 86400000;

bool isDateType(TFieldType type)
{
    return type == TFieldType::ftDate || type == TFieldType::ftTime || type == TFieldType::ftDateTime;
}

QString numberText(const dao::Value &value)
{
    if (value.isInt() || value.isBool())
        return QString::number(value.asInt());
    return ValueText::floatText(value.asDouble());
}

} // namespace

QString dateValueText(dao::Date date)
{
    // The engine counts like the platform's date type: the whole part names the day (also
    // below zero), the fraction's magnitude the time of day.
    double whole = std::trunc(date.days);
    qint64 ms = std::llround(std::fabs(date.days - whole) * double(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += 1;   // the next calendar day, below zero too
    }
    // Every date of every record read goes through here: the two numbers written straight
    // into one text, as QString::number writes them.
    char16_t digits[48];
    char16_t *end = digits + 48;
    char16_t *at = end;
    const auto put = [&at](qint64 value) {
        const bool negative = value < 0;
        quint64 magnitude = negative ? 0 - quint64(value) : quint64(value);
        do {
            *--at = char16_t(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
        if (negative)
            *--at = u'-';
    };
    put(ms);
    *--at = u' ';
    put(qint64(whole) + kEngineEpochDay);
    return QString(reinterpret_cast<const QChar *>(at), end - at);
}

std::optional<std::pair<QDate, int>> calendarOf(const QString &valueText)
{
    QDate date;
    int ms = 0;
    if (!TField::parseDateTimeParts(valueText, date, ms))
        return std::nullopt;
    return std::make_pair(date, ms);
}

std::optional<dao::Date> engineDate(const QString &valueText)
{
    const auto calendar = calendarOf(valueText);
    if (!calendar)
        return std::nullopt;
    const qint64 day = dao::engineDayOf(calendar->first);
    const double fraction = double(calendar->second) / double(kMsPerDay);
    return dao::Date{day < 0 ? double(day) - fraction : double(day) + fraction};
}

QString valueText(const dao::Value &value, TFieldType type)
{
    if (value.isNull())
        return {};
    if (value.isBool())
        return value.asBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (value.isDate() || (isDateType(type) && (value.isDouble() || value.isInt())))
        return dateValueText(dao::Date{value.asDouble()});
    switch (type) {
    case TFieldType::ftSmallint: case TFieldType::ftInteger: case TFieldType::ftAutoInc:
    case TFieldType::ftFloat: case TFieldType::ftCurrency:
        return value.isText() ? value.asText() : numberText(value);
    case TFieldType::ftBytes: case TFieldType::ftVarBytes: case TFieldType::ftBlob:
        return QString::fromLatin1(value.asBytes());
    default:
        return value.asText();
    }
}

std::optional<dao::Value> engineValue(const QString &text, TFieldType type)
{
    if (text.isEmpty())
        return dao::Value();
    if (isDateType(type)) {
        const auto date = engineDate(text);
        if (!date)
            return std::nullopt;
        return dao::Value(*date);
    }
    if (type == TFieldType::ftBlob || type == TFieldType::ftBytes || type == TFieldType::ftVarBytes)
        return dao::Value(text.toLatin1());
    return dao::Value(text);
}

TFieldType fieldTypeOf(int engineType, int attributes, const std::optional<QString> &format)
{
    switch (engineType) {
    case dao::dbBoolean: return TFieldType::ftBoolean;
    case dao::dbByte: case dao::dbInteger: return TFieldType::ftSmallint;
    case dao::dbLong:
        return (attributes & dao::dbAutoIncrField) ? TFieldType::ftAutoInc : TFieldType::ftInteger;
    case dao::dbCurrency: return TFieldType::ftCurrency;
    case dao::dbSingle: case dao::dbDouble: case dao::dbNumeric: case dao::dbDecimal: case dao::dbFloat:
        return TFieldType::ftFloat;
    case dao::dbDate: {
        if (!format)
            return TFieldType::ftDateTime;
        const QString f = *format;
        if (f == QLatin1String("Long Time") || f == QLatin1String("Medium Time") || f == QLatin1String("Short Time"))
            return TFieldType::ftTime;
        return f == QLatin1String("General Date") ? TFieldType::ftDateTime : TFieldType::ftDate;
    }
    case dao::dbBinary: case dao::dbGUID: return TFieldType::ftBytes;
    case dao::dbText: case dao::dbChar: return TFieldType::ftString;
    case dao::dbLongBinary: case dao::dbVarBinary: return TFieldType::ftBlob;
    case dao::dbMemo: return TFieldType::ftMemo;
    case dao::dbBigInt: return TFieldType::ftInteger;
    default: return TFieldType::ftUnknown;
    }
}

int definitionSize(int engineType, int size)
{
    switch (engineType) {
    case dao::dbText: case dao::dbChar:
        return size == 0 ? 255 : size;
    case dao::dbBinary: case dao::dbLongBinary: case dao::dbMemo: case dao::dbGUID: case dao::dbVarBinary:
        return size;
    default:
        return 0;
    }
}

QString defaultValueText(const QString &engineDefault, TFieldType type)
{
    QString text = engineDefault;
    if (text.compare(QLatin1String("Null"), Qt::CaseInsensitive) == 0)
        return {};
    const auto enclosedIn = [&text](QChar mark) {
        return text.size() >= 2 && text.startsWith(mark) && text.endsWith(mark);
    };
    if ((type == TFieldType::ftString || type == TFieldType::ftMemo) && enclosedIn(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    if (isDateType(type)) {
        if (!enclosedIn(QLatin1Char('#')))
            return {};
        // The engine writes date defaults as date literals: #m/d/yyyy# with an optional time.
        try {
            return dateValueText(dao::jet::parseDateLiteral(QStringView(text).mid(1, text.size() - 2)));
        } catch (const dao::EngineError &) {
            return {};
        }
    }
    return text;
}

} // namespace arctable
