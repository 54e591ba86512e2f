// Two-level order. Every character yields a primary weight (the letter with case and
// accents removed, or its folded code point for digits, punctuation and other scripts) and
// a secondary weight (its accents, 0 when none). Texts compare by their primaries first;
// only when those are equal does the first differing secondary decide. Letter case has no
// weight at all, so "Rossi" and "ROSSI" are equal.

#include "engine/jet/TextOrder.h"

#include "engine/jet/CodePoints.h"
#include "engine/jet/JetDialect.h"

#include <QChar>
#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>

namespace dao::jet {

namespace {

// Latin letters up to here come from the table; the rest are only case-folded.
constexpr char32_t kTableSize = 0x250;
constexpr char32_t kFirstMark = 0x300;  // combining diacritical marks U+0300..U+036F
constexpr char32_t kLastMark = 0x36F;
constexpr uint32_t kMarkRadix = kLastMark - kFirstMark + 2;

// Letters that have no canonical decomposition but sort with a base letter (or two).
// Their secondaries lie above any sequence of combining marks a table letter can carry.
constexpr uint32_t kVariant = 0x1000000;

struct Entry {
    char16_t primary[2] = {0, 0};
    uint8_t count = 1;
    uint32_t secondary = 0;
};

uint32_t addMark(uint32_t secondary, char32_t mark)
{
    return secondary * kMarkRadix + (mark - kFirstMark + 1);
}

bool isMark(char32_t cp)
{
    return cp >= kFirstMark && cp <= kLastMark;
}

struct Override {
    char16_t cp;
    const char *primary;
    uint32_t variant;
};

constexpr Override kOverrides[] = {
    {0x00DF, "ss", 1}, {0x00C6, "ae", 2}, {0x00E6, "ae", 2}, {0x0152, "oe", 2}, {0x0153, "oe", 2},
    {0x0132, "ij", 2}, {0x0133, "ij", 2}, {0x00D8, "o", 3},  {0x00F8, "o", 3},  {0x0110, "d", 3},
    {0x0111, "d", 3},  {0x0141, "l", 3},  {0x0142, "l", 3},  {0x0126, "h", 3},  {0x0127, "h", 3},
    {0x0166, "t", 3},  {0x0167, "t", 3},  {0x00D0, "d", 4},  {0x00F0, "d", 4},  {0x0131, "i", 5},
    {0x017F, "s", 5},  {0x013F, "l", 6},  {0x0140, "l", 6},
};

Entry entryFor(char32_t cp)
{
    for (const Override &o : kOverrides) {
        if (o.cp == cp) {
            Entry entry;
            entry.primary[0] = char16_t(o.primary[0]);
            entry.primary[1] = char16_t(o.primary[1]);
            entry.count = o.primary[1] ? 2 : 1;
            entry.secondary = kVariant + o.variant;
            return entry;
        }
    }
    // Follow canonical decompositions down to the base letter; an inner decomposition's
    // marks come before the outer one's, as they would in decomposed text.
    char32_t base = cp;
    QList<uint> marks;
    while (QChar::decompositionTag(base) == QChar::Canonical) {
        const QList<uint> points = QChar::decomposition(base).toUcs4();
        if (points.isEmpty())
            break;
        marks = points.mid(1) + marks;
        base = points[0];
    }
    uint32_t secondary = 0;
    for (uint mark : marks) {
        if (isMark(mark))
            secondary = addMark(secondary, mark);
    }
    Entry entry;
    entry.primary[0] = char16_t(QChar::toCaseFolded(base));
    entry.secondary = secondary;
    return entry;
}

const std::array<Entry, kTableSize> &table()
{
    static const std::array<Entry, kTableSize> entries = [] {
        std::array<Entry, kTableSize> built;
        for (char32_t cp = 0; cp < kTableSize; ++cp)
            built[cp] = entryFor(cp);
        return built;
    }();
    return entries;
}

struct Unit {
    char32_t primary = 0;
    uint32_t secondary = 0;
};

template <typename Reader>
class CollationReader final {
public:
    CollationReader(Reader reader, const std::array<Entry, kTableSize> &table)
        : m_reader(reader), m_table(table) {}

    bool next(Unit &unit)
    {
        if (m_pending) {
            unit = Unit{m_pending, 0};
            m_pending = 0;
            return true;
        }
        if (m_reader.atEnd())
            return false;
        char32_t cp = takeCodePoint(m_reader);
        if (cp >= kTableSize)
            cp = QChar::toCaseFolded(cp);
        if (cp < kTableSize) {
            const Entry &entry = m_table[cp];
            unit = Unit{entry.primary[0], entry.secondary};
            if (entry.count == 2)
                m_pending = entry.primary[1];
        } else {
            unit = Unit{cp, 0};
        }
        // Decomposed input ("e" followed by U+0301) weighs the same as the composed letter.
        while (!m_reader.atEnd()) {
            int length = 0;
            const char32_t mark = m_reader.peek(length);
            if (!isMark(mark))
                break;
            unit.secondary = addMark(unit.secondary, mark);
            m_reader.advance(length);
        }
        return true;
    }

private:
    Reader m_reader;
    const std::array<Entry, kTableSize> &m_table;
    char32_t m_pending = 0;
};

template <typename Reader>
int compareWith(Reader a, Reader b)
{
    const auto &entries = table();
    CollationReader<Reader> left(a, entries);
    CollationReader<Reader> right(b, entries);
    int secondaryOrder = 0;
    Unit l;
    Unit r;
    for (;;) {
        const bool hasLeft = left.next(l);
        const bool hasRight = right.next(r);
        if (!hasLeft || !hasRight)
            return hasLeft ? 1 : hasRight ? -1 : secondaryOrder;
        if (l.primary != r.primary)
            return l.primary < r.primary ? -1 : 1;
        if (secondaryOrder == 0 && l.secondary != r.secondary)
            secondaryOrder = l.secondary < r.secondary ? -1 : 1;
    }
}

} // namespace

Weight weightOf(char32_t cp)
{
    if (cp >= kTableSize)
        cp = QChar::toCaseFolded(cp);
    if (cp >= kTableSize)
        return Weight{{cp, 0}, 1, 0};
    const Entry &entry = table()[cp];
    return Weight{{entry.primary[0], entry.primary[1]}, entry.count, entry.secondary};
}

// Sorting a table compares most names many times over, and names are mostly plain ASCII: a
// character below 0x80 that no byte above ASCII follows (a combining mark would) weighs its
// case-folded self with no secondary, so a run of them is compared here, and the rest of
// both texts from the first other character on takes the full reading.
int compareUtf8(const char *a, qsizetype aSize, const char *b, qsizetype bSize) noexcept
{
    if (!a)
        aSize = 0;
    if (!b)
        bSize = 0;
    const auto *left = reinterpret_cast<const unsigned char *>(a);
    const auto *right = reinterpret_cast<const unsigned char *>(b);
    const auto &entries = table();
    const qsizetype common = std::min(aSize, bSize);
    qsizetype i = 0;
    for (; i < common; ++i) {
        const unsigned char x = left[i];
        const unsigned char y = right[i];
        if ((x | y) >= 0x80 || (i + 1 < aSize && left[i + 1] >= 0x80) || (i + 1 < bSize && right[i + 1] >= 0x80))
            break;
        if (x != y && entries[x].primary[0] != entries[y].primary[0])
            return entries[x].primary[0] < entries[y].primary[0] ? -1 : 1;
    }
    return compareWith(Utf8Reader(a + i, aSize - i), Utf8Reader(b + i, bSize - i));
}

int compareText(QStringView a, QStringView b)
{
    return compareWith(Utf16Reader(a), Utf16Reader(b));
}

} // namespace dao::jet
