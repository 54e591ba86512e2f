#include "engine/sqlite/UpperSearch.h"

#include <cstdint>
#include <cstring>

namespace dao::sqlite {

namespace {

bool isLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
unsigned char upper(unsigned char c) { return isLower(c) ? static_cast<unsigned char>(c - ('a' - 'A')) : c; }

// A text byte x reads as the term's byte c when (x | mask) == (c | mask), the mask taking
// in the lower-case letter too where c is an upper-case one.
unsigned char maskOf(unsigned char c) { return isUpper(c) ? 0x20 : 0; }

// Sixteen bytes compared at once: the bytes where both the first and the last byte of the
// term would match are the only places worth comparing whole.
using Bytes = unsigned char __attribute__((vector_size(16)));
using Flags = signed char __attribute__((vector_size(16)));

Bytes load(const char *at)
{
    Bytes bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

Bytes filled(unsigned char c)
{
    Bytes bytes;
    for (int i = 0; i < 16; ++i)
        bytes[i] = c;
    return bytes;
}

} // namespace

UpperSearch::UpperSearch(std::string_view term) : m_term(term)
{
    for (const char c : term)
        if (isLower(static_cast<unsigned char>(c)))
            m_never = true;
    if (term.empty())
        return;
    m_first = static_cast<unsigned char>(term.front());
    m_firstMask = maskOf(m_first);
    m_last = static_cast<unsigned char>(term.back());
    m_lastMask = maskOf(m_last);
}

bool UpperSearch::matchesAt(const char *at) const
{
    for (size_t i = 1; i + 1 < m_term.size(); ++i)
        if (upper(static_cast<unsigned char>(at[i])) != static_cast<unsigned char>(m_term[i]))
            return false;
    return true;
}

bool UpperSearch::foundIn(const char *text, size_t size) const
{
    if (m_term.empty())
        return true;
    const size_t length = m_term.size();
    if (m_never || size < length)
        return false;
    const size_t lastStart = size - length;   // the last place the term could start
    size_t at = 0;
    const Bytes first = filled(m_first | m_firstMask), firstMask = filled(m_firstMask);
    const Bytes last = filled(m_last | m_lastMask), lastMask = filled(m_lastMask);
    for (; at + 16 <= lastStart + 1; at += 16) {
        const Flags both = ((load(text + at) | firstMask) == first) & ((load(text + at + length - 1) | lastMask) == last);
        std::uint64_t halves[2];
        std::memcpy(halves, &both, sizeof halves);
        if ((halves[0] | halves[1]) == 0)
            continue;
        for (size_t i = 0; i < 16; ++i)
            if (both[i] && matchesAt(text + at + i))
                return true;
    }
    for (; at <= lastStart; ++at) {
        const auto head = static_cast<unsigned char>(text[at]);
        const auto tail = static_cast<unsigned char>(text[at + length - 1]);
        if ((head | m_firstMask) == (m_first | m_firstMask) && (tail | m_lastMask) == (m_last | m_lastMask)
            && matchesAt(text + at))
            return true;
    }
    return false;
}

} // namespace dao::sqlite
