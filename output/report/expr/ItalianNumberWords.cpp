#include "output/report/expr/ItalianNumberWords.h"

#include <QStringList>
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

// A count of thousands before "mila", or of millions and billions before their word, drops
// the final vowel of "uno": ventunmila, trentun milioni.
QString beforeMultiplier(int n)
{
    QString words = belowThousand(n);
    if (words.endsWith(QLatin1String("uno")))
        words.chop(1);
    return words;
}

// Millions and billions are written apart ("un milione", "due milioni"); thousands join the
// rest of the number ("mille", "duemila").
QString apart(int n, const char *one, const char *many)
{
    if (n == 0)
        return {};
    if (n == 1)
        return QStringLiteral("un ") + QString::fromLatin1(one);
    return beforeMultiplier(n) + QLatin1Char(' ') + QString::fromLatin1(many);
}

QString thousandsAndUnits(int thousands, int units)
{
    QString words;
    if (thousands == 1)
        words = QStringLiteral("mille");
    else if (thousands > 1)
        words = beforeMultiplier(thousands) + QStringLiteral("mila");
    if (units)
        words += belowThousand(units);
    return words;
}

QString wholeWords(qint64 n)
{
    if (n == 0)
        return QStringLiteral("zero");
    const int billions = int(n / 1000000000);
    const int millions = int(n / 1000000 % 1000);
    QStringList parts{apart(billions, "miliardo", "miliardi"), apart(millions, "milione", "milioni"),
                      thousandsAndUnits(int(n / 1000 % 1000), int(n % 1000))};
    parts.removeAll(QString());
    QString words = parts.join(QLatin1Char(' '));
    // A final "tre" of a compound carries the accent: ventitré, centotré, milletré; a "tre"
    // standing alone after a million does not.
    const qsizetype lastWord = words.lastIndexOf(QLatin1Char(' ')) + 1;
    if (words.endsWith(QLatin1String("tre")) && words.size() - lastWord > 3)
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
