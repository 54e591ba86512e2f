#include "db/CommaText.h"

namespace {

bool needsQuotes(const QString &item)
{
    if (item.isEmpty())
        return true;
    for (const QChar c : item)
        if (c.unicode() <= ' ' || c == QLatin1Char(',') || c == QLatin1Char('"'))
            return true;
    return false;
}

bool isBlank(QChar c) { return c.unicode() <= ' '; }

} // namespace

QString toCommaText(const QStringList &items)
{
    QStringList pieces;
    pieces.reserve(items.size());
    for (const QString &item : items) {
        if (!needsQuotes(item)) {
            pieces << item;
            continue;
        }
        QString quoted = item;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        pieces << QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return pieces.join(QLatin1Char(','));
}

QStringList fromCommaText(const QString &text)
{
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (isBlank(text[i]) || text[i] == QLatin1Char(',')) {
            ++i;
            continue;
        }
        QString item;
        if (text[i] == QLatin1Char('"')) {
            // A quoted piece runs to the lone closing quote; a doubled quote stands for one.
            for (++i; i < n; ++i) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i];
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(text[i]) && text[i] != QLatin1Char(','))
                ++i;
            item = text.mid(start, i - start);
        }
        if (!item.isEmpty())
            items << item;
    }
    return items;
}
