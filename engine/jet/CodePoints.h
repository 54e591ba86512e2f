#pragma once
// Code point readers over UTF-8 bytes (what SQLite hands to collations and functions) and
// UTF-16 views, with the same interface so the text order and LIKE run over either without
// converting first. Malformed input reads as U+FFFD, one unit at a time.

#include <QStringView>
#include <cstdint>

namespace dao::jet {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

class Utf8Reader final {
public:
    Utf8Reader(const char *bytes, qsizetype size)
        : m_bytes(reinterpret_cast<const unsigned char *>(bytes)), m_size(bytes ? size : 0) {}

    bool atEnd() const { return m_pos >= m_size; }

    // The code point at the current position; `length` receives its size in bytes.
    char32_t peek(int &length) const
    {
        const unsigned char lead = m_bytes[m_pos];
        if (lead < 0x80) {
            length = 1;
            return lead;
        }
        int extra = 0;
        char32_t cp = 0;
        if (lead >= 0xC2 && lead < 0xE0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            length = 1;
            return kReplacementCharacter;
        }
        if (m_pos + extra >= m_size) {
            length = 1;
            return kReplacementCharacter;
        }
        for (int i = 1; i <= extra; ++i) {
            const unsigned char next = m_bytes[m_pos + i];
            if ((next & 0xC0) != 0x80) {
                length = 1;
                return kReplacementCharacter;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        length = extra + 1;
        return cp;
    }

    void advance(int length) { m_pos += length; }

private:
    const unsigned char *m_bytes;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

class Utf16Reader final {
public:
    explicit Utf16Reader(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    char32_t peek(int &length) const
    {
        const char16_t unit = m_text[m_pos].unicode();
        if (QChar::isHighSurrogate(unit) && m_pos + 1 < m_text.size()
            && QChar::isLowSurrogate(m_text[m_pos + 1].unicode())) {
            length = 2;
            return QChar::surrogateToUcs4(unit, m_text[m_pos + 1].unicode());
        }
        length = 1;
        return QChar::isSurrogate(unit) ? kReplacementCharacter : char32_t(unit);
    }

    void advance(int length) { m_pos += length; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// Reads the next code point and moves past it.
template <typename Reader>
char32_t takeCodePoint(Reader &reader)
{
    int length = 0;
    const char32_t cp = reader.peek(length);
    reader.advance(length);
    return cp;
}

} // namespace dao::jet
