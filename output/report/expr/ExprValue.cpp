#include "output/report/expr/ExprValue.h"

#include <cmath>

namespace report {

namespace {
constexpr qint64 kSerialZeroJulianDay = 2415019;   // 30 December 1899
constexpr double kMsPerDay = 86400000.0;
}

double serialOfDate(const QDate &date)
{
    return double(date.toJulianDay() - kSerialZeroJulianDay);
}

QDate dateOfSerial(double serial)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6)   // far beyond any calendar we print
        return {};
    return QDate::fromJulianDay(qint64(std::floor(serial)) + kSerialZeroJulianDay);
}

QString numberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    text.replace(QLatin1String("e+"), QLatin1String("E"));
    text.replace(QLatin1String("e-"), QLatin1String("E-"));
    return text;
}

ExprValue ExprValue::dateTime(double serial)
{
    ExprValue v;
    v.m_kind = Kind::DateTime;
    v.m_number = serial;
    return v;
}

ExprValue ExprValue::dateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    return dateTime(value.date(), value.time().msecsSinceStartOfDay());
}

ExprValue ExprValue::dateTime(const QDate &date, int msecs)
{
    return dateTime(serialOfDate(date) + msecs / kMsPerDay);
}

ExprValue ExprValue::date(const QDate &value)
{
    return value.isValid() ? dateTime(serialOfDate(value)) : ExprValue();
}

ExprValue ExprValue::time(const QTime &value)
{
    return value.isValid() ? dateTime(value.msecsSinceStartOfDay() / kMsPerDay) : ExprValue();
}

ExprValue ExprValue::nullOf(ExprFieldKind kind)
{
    switch (kind) {
    case ExprFieldKind::Text: return ExprValue(QString());
    case ExprFieldKind::Number: {
        ExprValue zero(0.0);
        zero.m_null = true;
        return zero;
    }
    case ExprFieldKind::Flag: return ExprValue(false);
    case ExprFieldKind::DateTime: break;
    }
    return {};
}

QDateTime ExprValue::toDateTime() const
{
    const QDate day = dateOfSerial(m_number);
    if (!day.isValid())
        return {};
    const double fraction = m_number - std::floor(m_number);
    const int ms = int(std::lround(fraction * kMsPerDay));
    // Serials carry no zone: reading them as UTC keeps daylight-saving days whole and spares
    // a look at the system's zone on every date printed.
    return QDateTime(day, QTime(0, 0), Qt::UTC).addMSecs(ms);
}

QString ExprValue::toText() const
{
    switch (m_kind) {
    case Kind::Empty: return {};
    case Kind::Text: return m_text;
    case Kind::Number: return numberText(m_number);
    case Kind::Flag: return m_number != 0 ? QStringLiteral("Sì") : QStringLiteral("No");
    case Kind::DateTime: break;
    }
    const QDateTime at = toDateTime();
    if (!at.isValid())
        return numberText(m_number);
    const bool hasDay = std::floor(m_number) != 0;
    const bool hasTime = at.time() != QTime(0, 0);
    const int year = at.date().year();
    if (year < 1 || year > 9999) {
        if (hasDay && hasTime)
            return at.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        if (!hasDay && hasTime)
            return at.toString(QStringLiteral("HH:mm:ss"));
        return at.toString(QStringLiteral("dd/MM/yyyy"));
    }
    // What toString writes with those pictures, digit by digit: a list prints a date on every
    // record, and reading the picture each time costs more than the rest of the record's text.
    QString text;
    text.reserve(19);
    const auto put = [&text](int value, int digits) {
        for (int unit = digits == 4 ? 1000 : 10; unit > 0; unit /= 10)
            text += QChar(u'0' + (value / unit) % 10);
    };
    if (hasDay || !hasTime) {
        put(at.date().day(), 2);
        text += QLatin1Char('/');
        put(at.date().month(), 2);
        text += QLatin1Char('/');
        put(year, 4);
    }
    if (hasTime) {
        if (hasDay)
            text += QLatin1Char(' ');
        put(at.time().hour(), 2);
        text += QLatin1Char(':');
        put(at.time().minute(), 2);
        text += QLatin1Char(':');
        put(at.time().second(), 2);
    }
    return text;
}

bool ExprValue::operator==(const ExprValue &other) const
{
    return m_kind == other.m_kind && m_text == other.m_text
        && (m_number == other.m_number || (std::isnan(m_number) && std::isnan(other.m_number)));
}

} // namespace report
