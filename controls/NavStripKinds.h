#pragma once
// The vocabulary of the record navigator: its button kinds in strip order, sets of them,
// picture sizes and orientation.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

enum class TNavStripBtn {
    nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh,
    nbSearch, nbSetBookmark, nbGotoBookMark,
};

inline constexpr int kNavStripButtonCount = 13;

constexpr int navIndex(TNavStripBtn kind) { return static_cast<int>(kind); }
constexpr TNavStripBtn navKind(int index) { return static_cast<TNavStripBtn>(index); }

// Every kind in strip order, for range-for loops.
constexpr std::array<TNavStripBtn, kNavStripButtonCount> allNavStripBtns()
{
    std::array<TNavStripBtn, kNavStripButtonCount> kinds{};
    for (int i = 0; i < kNavStripButtonCount; ++i)
        kinds[std::size_t(i)] = navKind(i);
    return kinds;
}

class TNavStripButtonSet final {
public:
    constexpr TNavStripButtonSet() = default;
    constexpr TNavStripButtonSet(std::initializer_list<TNavStripBtn> kinds)
    {
        for (TNavStripBtn kind : kinds)
            insert(kind);
    }
    // What a new navigator shows: first to refresh.
    static constexpr TNavStripButtonSet standard()
    {
        TNavStripButtonSet set;
        for (int i = 0; i <= navIndex(TNavStripBtn::nbRefresh); ++i)
            set.insert(navKind(i));
        return set;
    }

    constexpr bool contains(TNavStripBtn kind) const { return (m_bits >> navIndex(kind)) & 1u; }
    constexpr void insert(TNavStripBtn kind) { m_bits |= std::uint16_t(1u << navIndex(kind)); }
    constexpr void remove(TNavStripBtn kind) { m_bits &= std::uint16_t(~(1u << navIndex(kind))); }
    constexpr int count() const
    {
        int n = 0;
        for (std::uint16_t bits = m_bits; bits; bits &= std::uint16_t(bits - 1))
            ++n;
        return n;
    }
    constexpr bool operator==(const TNavStripButtonSet &) const = default;

private:
    std::uint16_t m_bits = 0;
};

enum class TNavGlyphSize { gsSmall, gsLarge, gsCustom };
enum class TNavOrientation { noHorizontal, noVertical };
