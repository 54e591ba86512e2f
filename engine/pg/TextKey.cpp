#include "engine/pg/TextKey.h"

#include "engine/jet/TextOrder.h"

#include <QChar>
#include <QHash>
#include <algorithm>
#include <set>

namespace dao::pg {

namespace {

// Below this the weight table speaks for every code point; above it a code point weighs as
// its lower-case letter unless the table says otherwise.
constexpr char32_t kTableEnd = 0x250;

char32_t plainPrimary(char32_t cp)
{
    return cp < kTableEnd ? cp : char32_t(QChar::toLower(cp));
}

bool isSurrogate(char32_t cp)
{
    return cp >= 0xD800 && cp <= 0xDFFF;
}

QString fromCodePoint(char32_t cp)
{
    return QString::fromUcs4(&cp, 1);
}

KeyTable buildTable()
{
    // Secondaries are ranked so that their order survives as characters.
    std::set<uint32_t> secondaries{0};
    std::vector<std::pair<char32_t, jet::Weight>> listed;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (isSurrogate(cp) || (cp >= kRankBase && cp < kRankBase + 0x100))
            continue;
        const jet::Weight weight = jet::weightOf(cp);
        if (weight.count == 1 && weight.secondary == 0 && weight.primary[0] == plainPrimary(cp))
            continue;
        listed.emplace_back(cp, weight);
        secondaries.insert(weight.secondary);
    }
    const std::vector<uint32_t> ranks(secondaries.begin(), secondaries.end());
    const auto rankOf = [&ranks](uint32_t secondary) {
        return fromCodePoint(kRankBase + char32_t(std::lower_bound(ranks.begin(), ranks.end(), secondary) - ranks.begin()));
    };
    KeyTable table;
    for (const auto &[cp, weight] : listed) {
        KeyEntry entry{cp, fromCodePoint(weight.primary[0]), rankOf(weight.secondary)};
        if (weight.count == 2) {
            entry.primaries += fromCodePoint(weight.primary[1]);
            entry.secondaries += rankOf(0);
            table.expansions.push_back(entry);
        } else {
            table.singles.push_back(entry);
        }
    }
    return table;
}

const QHash<char32_t, const KeyEntry *> &entryIndex()
{
    static const QHash<char32_t, const KeyEntry *> index = [] {
        QHash<char32_t, const KeyEntry *> built;
        for (const KeyEntry &entry : keyTable().singles)
            built.insert(entry.cp, &entry);
        for (const KeyEntry &entry : keyTable().expansions)
            built.insert(entry.cp, &entry);
        return built;
    }();
    return index;
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

const KeyTable &keyTable()
{
    static const KeyTable table = buildTable();
    return table;
}

// The same steps as jet_key on the server: compose, map through the table (or take the
// code point as it is), lower-case the primaries, drop trailing "no accent" ranks.
QByteArray textKey(QStringView text)
{
    if (isAscii(text)) {
        QByteArray key = text.toLatin1().toLower();
        key.append('\0');
        return key;
    }
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    const auto &index = entryIndex();
    QString primaries;
    QString secondaries;
    const QString noAccent = fromCodePoint(kRankBase);
    for (const char32_t cp : composed.toUcs4()) {
        if (const KeyEntry *entry = index.value(cp)) {
            primaries += entry->primaries;
            secondaries += entry->secondaries;
        } else {
            primaries += fromCodePoint(cp);
            secondaries += noAccent;
        }
    }
    QString lowered;
    for (const char32_t cp : primaries.toUcs4())
        lowered += fromCodePoint(QChar::toLower(cp));
    while (secondaries.endsWith(noAccent))
        secondaries.chop(noAccent.size());
    QByteArray key = lowered.toUtf8();
    key.append('\0');
    key.append(secondaries.toUtf8());
    return key;
}

} // namespace dao::pg
