#include "db/ValueText.h"

#include <QLocale>
#include <QRegularExpression>
#include <QtMath>

namespace ValueText {

namespace {

int expandYear(const QString &digits)
{
    int year = digits.toInt();
    if (digits.size() > 2)
        return year;
    const int pivot = QDate::currentDate().year() - 50;
    year += pivot / 100 * 100;
    if (year < pivot)
        year += 100;
    return year;
}

} // namespace

std::optional<qint64> parseInteger(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

std::optional<double> parseFloat(const QString &text)
{
    // Most numbers a record holds are whole ("17", "-3"), read at every print of them: such
    // a text is read at once, to the value toDouble gives (up to 15 digits a whole number is
    // exact in a double; "-0" stays the negative zero).
    if (const qsizetype n = text.size(); n > 0 && n <= 15) {
        const bool negative = text.front() == QLatin1Char('-');
        qint64 whole = 0;
        bool digits = n > (negative ? 1 : 0);
        for (qsizetype i = negative ? 1 : 0; digits && i < n; ++i) {
            const char16_t c = text[i].unicode();
            digits = c >= u'0' && c <= u'9';
            whole = whole * 10 + (c - u'0');
        }
        if (digits)
            return negative ? -double(whole) : double(whole);
    }
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && qIsFinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString floatText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<TypedDateTime> parseTyped(const QString &text)
{
    static const QRegularExpression datePattern(QStringLiteral(R"(^(\d{1,2})[/.\-](\d{1,2})[/.\-](\d{4}|\d{2})$)"));
    static const QRegularExpression timePattern(QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?$)"));
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.size() > 2)
        return std::nullopt;
    TypedDateTime result;
    for (const QString &part : parts) {
        if (const auto m = datePattern.match(part); m.hasMatch() && !result.date && !result.time) {
            const QDate date(expandYear(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt());
            if (!date.isValid())
                return std::nullopt;
            result.date = date;
        } else if (const auto t = timePattern.match(part); t.hasMatch() && !result.time) {
            const QTime time(t.captured(1).toInt(), t.captured(2).toInt(), t.captured(3).toInt());
            if (!time.isValid())
                return std::nullopt;
            result.time = time;
        } else {
            return std::nullopt;
        }
    }
    return result;
}

} // namespace ValueText
