#pragma once
// A compiled Jet LIKE pattern: * any run, ? one character, # one digit, [abc] [a-z] [!a-z]
// a set, a bracketed special character ([*] [?] [#] [[]) itself, [] nothing. Matching
// ignores letter case but not accents; both sides are compared lower-cased.

#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

namespace dao::jet {

class LikePattern final {
public:
    explicit LikePattern(QStringView pattern);

    // `value` must already be lower-cased code points (see appendLowered).
    bool matches(std::u32string_view value) const;

    // Appends the lower-cased code points of a text, read from UTF-16 or UTF-8.
    static void appendLowered(std::u32string &out, QStringView text);
    static void appendLowered(std::u32string &out, const char *utf8, qsizetype size);

    // The compiled elements, for a storage that writes the pattern in its own language.
    enum class Kind : unsigned char { Literal, AnyOne, Digit, Set, AnyRun };
    struct Range {
        char32_t low;
        char32_t high;
    };
    struct Element {
        Kind kind = Kind::Literal;
        bool negated = false;
        char32_t literal = 0;
        size_t firstRange = 0;  // Set: its ranges are m_ranges[firstRange, endRange)
        size_t endRange = 0;
    };

    const std::vector<Element> &elements() const { return m_elements; }
    const std::vector<Range> &ranges() const { return m_ranges; }

private:
    void addSet(std::u32string_view inside);
    bool matchesOne(const Element &element, char32_t c) const;

    std::vector<Element> m_elements;
    std::vector<Range> m_ranges;
};

} // namespace dao::jet
