#include "engine/sqlite/UpperSearch.h"

#include <cstdint>
#include <cstring>
#include <string>

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

// A text's last few places are searched in a zero-filled copy, sixteen at once: on the
// stack when the term is short enough, as nearly every term is.
constexpr size_t kTailCopy = 64;

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
    m_firsts = filled(m_first | m_firstMask);
    m_firstMasks = filled(m_firstMask);
    m_lasts = filled(m_last | m_lastMask);
    m_lastMasks = filled(m_lastMask);
}

bool UpperSearch::matchesAt(const char *at) const
{
    for (size_t i = 1; i + 1 < m_term.size(); ++i)
        if (upper(static_cast<unsigned char>(at[i])) != static_cast<unsigned char>(m_term[i]))
            return false;
    return true;
}

bool UpperSearch::foundInSixteen(const char *at, size_t places) const
{
    const Flags both = ((load(at) | m_firstMasks) == m_firsts) & ((load(at + m_term.size() - 1) | m_lastMasks) == m_lasts);
    std::uint64_t halves[2];
    std::memcpy(halves, &both, sizeof halves);
    if ((halves[0] | halves[1]) == 0)
        return false;
    for (size_t i = 0; i < places; ++i)
        if (both[i] && matchesAt(at + i))
            return true;
    return false;
}

bool UpperSearch::foundIn(const char *text, size_t size) const
{
    if (m_term.empty())
        return true;
    const size_t length = m_term.size();
    if (m_never || size < length)
        return false;
    const size_t places = size - length + 1;   // the places the term could start
    size_t at = 0;
    for (; at + 16 <= places; at += 16)
        if (foundInSixteen(text + at, 16))
            return true;
    if (at == places)
        return false;
    const size_t rest = size - at;
    if (15 + length <= kTailCopy) {
        char tail[kTailCopy] = {};
        std::memcpy(tail, text + at, rest);
        return foundInSixteen(tail, places - at);
    }
    thread_local std::string longTail;
    longTail.assign(text + at, rest);
    longTail.resize(15 + length, '\0');
    return foundInSixteen(longTail.data(), places - at);
}

} // namespace dao::sqlite
