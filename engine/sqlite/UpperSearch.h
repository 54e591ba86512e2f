#pragma once
// Finds a term in a text as the text reads with the letters a to z upper-cased, without
// making that upper-cased copy: a search for a rare term reads the record text of nearly
// every card, and copying and converting it cost more than the search itself.

#include <cstddef>
#include <string_view>

namespace dao::sqlite {

class UpperSearch {
public:
    explicit UpperSearch(std::string_view term);

    // Whether the term occurs in text read upper-cased. A term holding a letter a to z
    // occurs nowhere but in an empty term's place: no upper-cased text holds one.
    bool foundIn(const char *text, size_t size) const;
    bool findsEverything() const { return m_term.empty(); }
    bool findsNothing() const { return m_never; }
    // A blank separates the columns of a record text: only a term with one can reach from
    // one column's text into the next.
    bool hasBlank() const { return m_term.find(' ') != std::string_view::npos; }

private:
    using Bytes = unsigned char __attribute__((vector_size(16)));

    bool matchesAt(const char *at) const;
    // Whether the term starts at one of the first `places` (at most sixteen) places from
    // `at`; the sixteen places' bytes, up to `at + 15 + length - 1`, must all be readable.
    bool foundInSixteen(const char *at, size_t places) const;

    std::string_view m_term;
    bool m_never = false;
    unsigned char m_first = 0;
    unsigned char m_firstMask = 0;   // 0x20 when the first byte is a letter: either case matches
    unsigned char m_last = 0;
    unsigned char m_lastMask = 0;
    // The same, sixteen times over.
    Bytes m_firsts{};
    Bytes m_firstMasks{};
    Bytes m_lasts{};
    Bytes m_lastMasks{};
};

} // namespace dao::sqlite
