#include "output/report/expr/DateTimeFormat.h"

#include <QLocale>
#include <algorithm>

namespace report {

namespace {

int runLength(const QString &picture, int i)
{
    const QChar c = picture.at(i).toLower();
    int n = 1;
    while (i + n < picture.size() && picture.at(i + n).toLower() == c)
        ++n;
    return n;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

QString formatDateTime(const QString &picture, const QDateTime &value)
{
    static const QLocale italian(QLocale::Italian, QLocale::Italy);
    const QDate date = value.date();
    const QTime time = value.time();
    QString out;
    bool afterHour = false;
    int i = 0;
    while (i < picture.size()) {
        const QChar c = picture.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int close = int(picture.indexOf(c, i + 1));
            const int end = close < 0 ? int(picture.size()) : close;
            out += picture.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const char letter = char(c.toLower().unicode() < 128 ? c.toLower().unicode() : 0);
        int n = runLength(picture, i);
        switch (letter) {
        case 'd':
            n = std::min(n, 4);
            out += n == 1 ? QString::number(date.day())
                 : n == 2 ? twoDigits(date.day())
                 : italian.dayName(date.dayOfWeek(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'm':
            n = std::min(n, afterHour ? 2 : 4);
            if (afterHour)
                out += n == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            else
                out += n == 1 ? QString::number(date.month())
                     : n == 2 ? twoDigits(date.month())
                     : italian.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case 'y':
            out += n <= 2 ? twoDigits(date.year() % 100) : QString::number(date.year());
            break;
        case 'h':
            n = std::min(n, 2);
            out += n == 1 ? QString::number(time.hour()) : twoDigits(time.hour());
            break;
        case 'n':
            n = std::min(n, 2);
            out += n == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            break;
        case 's':
            n = std::min(n, 2);
            out += n == 1 ? QString::number(time.second()) : twoDigits(time.second());
            break;
        case 'z':
            n = std::min(n, 3);
            out += n == 1 ? QString::number(time.msec()) : QStringLiteral("%1").arg(time.msec(), 3, 10, QLatin1Char('0'));
            break;
        default:
            n = 1;
            out += c;
            break;
        }
        afterHour = letter == 'h' || (afterHour && !QChar(letter).isLetter());
        i += n;
    }
    return out;
}

} // namespace report
