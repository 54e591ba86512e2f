#include "engine/jet/JetDialect.h"
#include "engine/jet/JetError.h"

#include <QDate>
#include <QList>
#include <optional>

namespace dao::jet {

namespace {

[[noreturn]] void invalidDate(QStringView text)
{
    throwSyntaxError(QStringLiteral("data non valida #%1#").arg(text));
}

// Splits "a<sep>b<sep>c" into 2 or 3 numbers of at most four digits each.
std::optional<QList<int>> numbers(QStringView text, QChar separator)
{
    QList<int> result;
    for (QStringView part : text.split(separator)) {
        if (part.isEmpty() || part.size() > 4)
            return std::nullopt;
        int value = 0;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c.unicode() - u'0');
        }
        result.append(value);
    }
    if (result.size() < 2 || result.size() > 3)
        return std::nullopt;
    return result;
}

std::optional<double> datePart(QStringView text)
{
    const auto parts = numbers(text, u'/');
    if (!parts || parts->size() != 3)
        return std::nullopt;
    const qsizetype yearDigits = text.size() - text.lastIndexOf(u'/') - 1;
    int year = parts->at(2);
    // Two-digit years follow the engine's window: 00-29 are this century, 30-99 the last.
    if (yearDigits <= 2)
        year += year < 30 ? 2000 : 1900;
    else if (year < 100)
        return std::nullopt;
    const QDate date(year, parts->at(0), parts->at(1));
    if (!date.isValid())
        return std::nullopt;
    return double(engineDayOf(date));
}

std::optional<double> timePart(QStringView text)
{
    const auto parts = numbers(text, u':');
    if (!parts)
        return std::nullopt;
    const int hours = parts->at(0);
    const int minutes = parts->at(1);
    const int seconds = parts->size() == 3 ? parts->at(2) : 0;
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return (hours * 3600 + minutes * 60 + seconds) / 86400.0;
}

} // namespace

Date parseDateLiteral(QStringView text)
{
    const QList<QStringView> parts = text.trimmed().split(u' ', Qt::SkipEmptyParts);
    std::optional<double> days;
    std::optional<double> time;
    if (parts.size() == 1 && parts[0].contains(u':')) {
        time = timePart(parts[0]);
        days = 0.0;
        if (!time)
            invalidDate(text);
    } else if (parts.size() == 1 || parts.size() == 2) {
        days = datePart(parts[0]);
        time = parts.size() == 2 ? timePart(parts[1]) : std::optional<double>(0.0);
        if (!days || !time)
            invalidDate(text);
    } else {
        invalidDate(text);
    }
    // Before the epoch the time of day still counts forward from midnight while the whole
    // part counts back, so -1.25 is 29 December 1899 at 6:00.
    return Date{*days < 0 ? *days - *time : *days + *time};
}

} // namespace dao::jet
