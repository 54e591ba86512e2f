#include "engine/jet/LikePattern.h"

#include "engine/jet/CodePoints.h"
#include "engine/jet/JetDialect.h"

#include <QChar>

namespace dao::jet {

namespace {

template <typename Reader>
void appendLoweredFrom(std::u32string &out, Reader reader)
{
    while (!reader.atEnd())
        out.push_back(QChar::toLower(takeCodePoint(reader)));
}

} // namespace

void LikePattern::appendLowered(std::u32string &out, QStringView text)
{
    appendLoweredFrom(out, Utf16Reader(text));
}

void LikePattern::appendLowered(std::u32string &out, const char *utf8, qsizetype size)
{
    appendLoweredFrom(out, Utf8Reader(utf8, size));
}

LikePattern::LikePattern(QStringView pattern)
{
    std::u32string chars;
    appendLowered(chars, pattern);
    const std::u32string_view view(chars);
    for (size_t i = 0; i < view.size(); ++i) {
        const char32_t c = view[i];
        switch (c) {
        case U'*':
            // Consecutive stars match no more than one does.
            if (m_elements.empty() || m_elements.back().kind != Kind::AnyRun)
                m_elements.push_back(Element{Kind::AnyRun});
            break;
        case U'?':
            m_elements.push_back(Element{Kind::AnyOne});
            break;
        case U'#':
            m_elements.push_back(Element{Kind::Digit});
            break;
        case U'[': {
            // The first "]" closes the set, so "[[]" is a literal "["; with no "]" at all
            // the "[" is taken literally rather than refused.
            const size_t close = view.find(U']', i + 1);
            if (close == std::u32string_view::npos) {
                m_elements.push_back(Element{Kind::Literal, false, c});
                break;
            }
            addSet(view.substr(i + 1, close - i - 1));
            i = close;
            break;
        }
        default:
            m_elements.push_back(Element{Kind::Literal, false, c});
        }
    }
}

void LikePattern::addSet(std::u32string_view inside)
{
    if (inside.empty())
        return;  // "[]" stands for the empty text
    Element element{Kind::Set};
    if (inside.size() > 1 && inside.front() == U'!') {
        element.negated = true;
        inside.remove_prefix(1);
    }
    if (!element.negated && inside.size() == 1) {
        m_elements.push_back(Element{Kind::Literal, false, inside.front()});
        return;
    }
    element.firstRange = m_ranges.size();
    for (size_t i = 0; i < inside.size();) {
        if (i + 2 < inside.size() && inside[i + 1] == U'-') {
            m_ranges.push_back(Range{inside[i], inside[i + 2]});
            i += 3;
        } else {
            m_ranges.push_back(Range{inside[i], inside[i]});
            ++i;
        }
    }
    element.endRange = m_ranges.size();
    m_elements.push_back(element);
}

bool LikePattern::matchesOne(const Element &element, char32_t c) const
{
    switch (element.kind) {
    case Kind::Literal:
        return c == element.literal;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::Set: {
        bool inSet = false;
        for (size_t r = element.firstRange; r < element.endRange && !inSet; ++r)
            inSet = c >= m_ranges[r].low && c <= m_ranges[r].high;
        return inSet != element.negated;
    }
    case Kind::AnyRun:
        break;
    }
    return false;
}

// Every element but * takes exactly one character, so on a mismatch it is enough to let
// the latest * swallow one more character and retry from there: earlier stars never need
// revisiting, which keeps the match within value length x pattern length steps.
bool LikePattern::matches(std::u32string_view value) const
{
    const size_t npos = size_t(-1);
    size_t v = 0;
    size_t p = 0;
    size_t starElement = npos;
    size_t starValue = 0;
    while (v < value.size()) {
        if (p < m_elements.size() && m_elements[p].kind == Kind::AnyRun) {
            starElement = p++;
            starValue = v;
        } else if (p < m_elements.size() && matchesOne(m_elements[p], value[v])) {
            ++p;
            ++v;
        } else if (starElement != npos) {
            p = starElement + 1;
            v = ++starValue;
        } else {
            return false;
        }
    }
    while (p < m_elements.size() && m_elements[p].kind == Kind::AnyRun)
        ++p;
    return p == m_elements.size();
}

bool likeMatch(QStringView value, QStringView pattern)
{
    std::u32string lowered;
    LikePattern::appendLowered(lowered, value);
    return LikePattern(pattern).matches(lowered);
}

} // namespace dao::jet
