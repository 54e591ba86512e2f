#include "output/report/expr/FloatFormat.h"

#include "output/report/expr/ExprValue.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int kMaxDecimals = 18;

QStringList splitSections(const QString &picture)
{
    QStringList sections(1);
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

struct Picture {
    QString before;
    QString after;
    int integerZeros = 0;   // '0' placeholders before the decimal point
    int decimals = 0;       // placeholders after it
    int decimalZeros = 0;   // '0' placeholders after it: decimals always shown
    bool grouping = false;
    bool hasDigits = false;
};

Picture readPicture(const QString &section)
{
    Picture p;
    QChar quote;
    bool inDecimals = false;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (p.hasDigits ? p.after : p.before) += c;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            p.hasDigits = true;
            if (inDecimals) {
                ++p.decimals;
                if (c == QLatin1Char('0'))
                    p.decimalZeros = p.decimals;
            } else if (c == QLatin1Char('0')) {
                ++p.integerZeros;
            }
        } else if (c == QLatin1Char('.') && !inDecimals) {
            inDecimals = true;
            p.hasDigits = true;
        } else if (c == QLatin1Char(',') && !inDecimals) {
            p.grouping = true;
        } else {
            (p.hasDigits ? p.after : p.before) += c;
        }
    }
    p.decimals = std::min(p.decimals, kMaxDecimals);
    p.decimalZeros = std::min(p.decimalZeros, kMaxDecimals);
    return p;
}

double roundHalfUp(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e17)
        return value;   // beyond a double's digits there is nothing left to round
    return std::round(scaled + std::copysign(std::fabs(scaled) * 1e-13, scaled)) / scale;
}

QString digits(const Picture &p, double magnitude)
{
    QString text = QString::number(roundHalfUp(magnitude, p.decimals), 'f', p.decimals);
    QString whole = text.section(QLatin1Char('.'), 0, 0);
    QString fraction = text.section(QLatin1Char('.'), 1);
    while (fraction.size() > p.decimalZeros && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (whole == QLatin1String("0") && p.integerZeros == 0)
        whole.clear();
    while (whole.size() < p.integerZeros)
        whole.prepend(QLatin1Char('0'));
    if (p.grouping) {
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char('.'));
    }
    return fraction.isEmpty() ? whole : whole + QLatin1Char(',') + fraction;
}

} // namespace

QString formatFloat(const QString &picture, double value)
{
    if (picture.isEmpty() || !std::isfinite(value))
        return numberText(value);
    const QStringList sections = splitSections(picture);
    int index = 0;
    if (value < 0 && sections.size() > 1 && !sections.at(1).isEmpty())
        index = 1;
    const Picture first = readPicture(sections.at(0));
    if (sections.size() > 2 && !sections.at(2).isEmpty() && roundHalfUp(value, first.decimals) == 0)
        index = 2;
    const Picture p = index == 0 ? first : readPicture(sections.at(index));
    if (!p.hasDigits)
        return p.before;
    QString number = digits(p, std::fabs(value));
    const bool showsNonZero = std::any_of(number.begin(), number.end(),
                                          [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    if (value < 0 && index == 0 && showsNonZero)
        number.prepend(QLatin1Char('-'));
    return p.before + number + p.after;
}

} // namespace report
