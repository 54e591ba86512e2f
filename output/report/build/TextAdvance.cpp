#include "output/report/build/TextAdvance.h"

#include <algorithm>

const double *TextAdvance::Recent::find(const QString &key)
{
    if (const auto it = newer.constFind(key); it != newer.cend())
        return &it.value();
    if (const auto it = older.constFind(key); it != older.cend()) {
        const QString text = it.key();
        const double value = it.value();
        insert(text, value);
        return &newer.constFind(key).value();
    }
    return nullptr;
}

void TextAdvance::Recent::insert(const QString &key, double value)
{
    if (newer.size() >= kRemembered) {
        older.swap(newer);
        newer.clear();
    }
    newer.insert(key, value);
}

double TextAdvance::advance(const QString &text)
{
    if (text.size() > kRememberedLength)
        return measure(text);
    if (const double *known = m_texts.find(text))
        return *known;
    const double measured = measure(text);
    m_texts.insert(text, measured);
    return measured;
}

bool TextAdvance::summable(QChar c)
{
    // Below the combining marks, and no control character: a tab's width depends on where it
    // stands, a soft hyphen's on whether it ends the text.
    const char16_t u = c.unicode();
    return u >= 0x20 && u < 0x300 && !(u >= 0x7f && u <= 0xa0) && u != 0xad;
}

bool TextAdvance::shapedTogether(QChar left, QChar right)
{
    if (left.unicode() < 0x100 && right.unicode() < 0x100) {
        if (m_latinPairs.empty())
            m_latinPairs.assign(0x10000, 0);
        quint8 &known = m_latinPairs[size_t(left.unicode()) << 8 | right.unicode()];
        if (!known)
            known = measuredTogether(left, right) ? 2 : 1;
        return known == 2;
    }
    const quint32 key = (quint32(left.unicode()) << 16) | right.unicode();
    if (const auto it = m_pairs.constFind(key); it != m_pairs.cend())
        return *it;
    const bool together = measuredTogether(left, right);
    m_pairs.insert(key, together);
    return together;
}

bool TextAdvance::measuredTogether(QChar left, QChar right)
{
    const QChar pair[2] = {left, right};
    return m_metrics.horizontalAdvance(QString(pair, 2)) != run(QStringView(pair, 1)) + run(QStringView(pair + 1, 1));
}

double TextAdvance::run(QStringView text)
{
    // Most Latin letters are a run of their own: a table of them spares a lookup by text.
    if (text.size() == 1 && text.front().unicode() < 0x100) {
        if (m_latinChars.empty())
            m_latinChars.assign(0x100, -1);
        double &known = m_latinChars[text.front().unicode()];
        if (known < 0)
            known = m_metrics.horizontalAdvance(text.toString());
        return known;
    }
    if (const double *known = m_runs.find(QString::fromRawData(text.data(), text.size())))
        return *known;
    const QString key = text.toString();
    const double measured = m_metrics.horizontalAdvance(key);
    m_runs.insert(key, measured);
    return measured;
}

double TextAdvance::measure(QStringView text)
{
    if (text.isEmpty())
        return 0;
    if (!std::all_of(text.begin(), text.end(), summable))
        return m_metrics.horizontalAdvance(text.toString());
    double sum = 0;
    qsizetype start = 0;
    for (qsizetype i = 1; i < text.size(); ++i)
        if (!shapedTogether(text[i - 1], text[i])) {
            sum += run(text.mid(start, i - start));
            start = i;
        }
    return sum + run(text.mid(start));
}
