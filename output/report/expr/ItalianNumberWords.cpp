#include "output/report/expr/ItalianNumberWords.h"

#include <cmath>

namespace report {

namespace {

const char *const kUnits[] = {
    "", "uno", "due", "tre", "quattro", "cinque", "sei", "sette", "otto", "nove", "dieci",
    "undici", "dodici", "tredici", "quattordici", "quindici", "sedici", "diciassette",
    "diciotto", "diciannove",
};
const char *const kTens[] = {
    "", "", "venti", "trenta", "quaranta", "cinquanta", "sessanta", "settanta", "ottanta", "novanta",
};

// 1 to 99.
QString belowHundred(int n)
{
    if (n < 20)
        return QString::fromLatin1(kUnits[n]);
    QString tens = QString::fromLatin1(kTens[n / 10]);
    const int unit = n % 10;
    if (unit == 1 || unit == 8)
        tens.chop(1);   // ventuno, trentotto
    return tens + QString::fromLatin1(kUnits[unit]);
}

// 1 to 999.
QString belowThousand(int n)
{
    const int hundreds = n / 100;
    const int rest = n % 100;
    QString words;
    if (hundreds > 0)
        words = (hundreds > 1 ? QString::fromLatin1(kUnits[hundreds]) : QString()) + QStringLiteral("cento");
    if (rest == 0)
        return words;
    if (hundreds > 0 && rest / 10 == 8)
        words.chop(1);   // centottanta
    return words + belowHundred(rest);
}

// A group of thousands with its multiplier word: "mille"/"mila", "milione"/"milioni", ...
QString group(int n, const char *one, const char *many, bool joinOne)
{
    if (n == 0)
        return {};
    if (n == 1)
        return (joinOne ? QStringLiteral("un") : QString()) + QString::fromLatin1(one);
    return belowThousand(n) + QString::fromLatin1(many);
}

QString wholeWords(qint64 n)
{
    if (n == 0)
        return QStringLiteral("zero");
    const int billions = int(n / 1000000000);
    const int millions = int(n / 1000000 % 1000);
    const int thousands = int(n / 1000 % 1000);
    const int units = int(n % 1000);
    QString words = group(billions, "miliardo", "miliardi", true) + group(millions, "milione", "milioni", true)
        + group(thousands, "mille", "mila", false) + (units ? belowThousand(units) : QString());
    // A final "tre" of a compound carries the accent: ventitré, centotré, milletré.
    if (words.endsWith(QLatin1String("tre")) && words.size() > 3)
        words.replace(words.size() - 1, 1, QStringLiteral("é"));
    return words;
}

} // namespace

std::optional<QString> italianNumberWords(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const qint64 cents = std::llround(std::fabs(value) * 100.0 + 1e-7);
    if (std::fabs(value) >= 1e12 || cents >= 100000000000000LL)
        return std::nullopt;
    QString words = wholeWords(cents / 100);
    if (cents % 100)
        words += QStringLiteral("/%1").arg(int(cents % 100), 2, 10, QLatin1Char('0'));
    if (value < 0 && cents != 0)
        words.prepend(QStringLiteral("meno "));
    return words;
}

} // namespace report
