#include "output/report/expr/ExprConvert.h"

#include "output/report/expr/ExprValue.h"

#include <QCollator>
#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <climits>
#include <cmath>

namespace report {

std::optional<double> parseItalianNumber(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.contains(QLatin1Char(','))) {
        t.remove(QLatin1Char('.'));
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    } else {
        static const QRegularExpression grouped(QStringLiteral("^[+-]?\\d{1,3}(\\.\\d{3})+$"));
        if (grouped.match(t).hasMatch())
            t.remove(QLatin1Char('.'));
    }
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    if (!plain.match(t).hasMatch())
        return std::nullopt;
    return t.toDouble();
}

std::optional<double> parseItalianTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})[:.](\\d{1,2})(?:[:.](\\d{1,2}))?$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).isEmpty() ? 0 : match.captured(3).toInt());
    if (!time.isValid())
        return std::nullopt;
    return time.msecsSinceStartOfDay() / 86400000.0;
}

std::optional<double> parseItalianDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(?:(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{2}|\\d{4})|(\\d{4})-(\\d{1,2})-(\\d{1,2}))(?:\\s+(\\S+))?$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QDate date;
    if (!match.captured(1).isEmpty()) {
        int year = match.captured(3).toInt();
        if (match.captured(3).size() == 2)
            year += year < 50 ? 2000 : 1900;
        date = QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
    } else {
        date = QDate(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    }
    if (!date.isValid())
        return std::nullopt;
    double serial = serialOfDate(date);
    if (!match.captured(7).isEmpty()) {
        const auto time = parseItalianTime(match.captured(7));
        if (!time)
            return std::nullopt;
        serial += *time;
    }
    return serial;
}

int compareTexts(const QString &a, const QString &b)
{
    thread_local const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Italian, QLocale::Italy)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b);
}

int clampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}

} // namespace report
