#include "output/report/file/ByteStream.h"

#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr qsizetype kMaxShort = 255;
constexpr qsizetype kMaxListLine = 1024;
const QByteArray kWideMark = QByteArrayLiteral("UTF8");
constexpr qsizetype kMaxOldListLine = 255;
} // namespace

AnsiText ansiEncode(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid()) {
        const QByteArray latin = text.toLatin1();
        return {latin, QString::fromLatin1(latin) == text};
    }
    AnsiText out{encoder.encode(text), true};
    if (ansiText(out.bytes) == text)
        return out;
    // Some letter is not in the code page (the encoder would put a control byte for it):
    // each such character, a surrogate pair as one, is written as a plain '?'.
    out.bytes.clear();
    out.exact = false;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QString one = text.mid(i, n);
        QStringEncoder single("windows-1252");
        const QByteArray b = single.encode(one);
        out.bytes.append(ansiText(b) == one ? b : QByteArray("?"));
        i += n;
    }
    return out;
}

QByteArray ansiBytes(const QString &text)
{
    return ansiEncode(text).bytes;
}

QString ansiText(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

void ByteReader::fail(const QString &what) const
{
    throw LayoutFormatError(what, m_pos);
}

void ByteReader::need(qsizetype count) const
{
    if (count < 0 || count > remaining())
        fail(QStringLiteral("file finito prima del previsto"));
}

quint8 ByteReader::u8()
{
    need(1);
    return quint8(m_data[m_pos++]);
}

quint16 ByteReader::u16()
{
    need(2);
    const auto *p = reinterpret_cast<const uchar *>(m_data.constData() + m_pos);
    m_pos += 2;
    return quint16(p[0] | (p[1] << 8));
}

quint32 ByteReader::u32()
{
    need(4);
    const auto *p = reinterpret_cast<const uchar *>(m_data.constData() + m_pos);
    m_pos += 4;
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

QByteArray ByteReader::bytes(qsizetype count)
{
    need(count);
    QByteArray out = m_data.mid(m_pos, count);
    m_pos += count;
    return out;
}

QString ByteReader::text(const QByteArray &bytes, qsizetype limit)
{
    const quint32 slot = m_slot++;
    const auto wide = m_wide.constFind(slot);
    if (wide != m_wide.constEnd() && ansiBytes(*wide).left(limit) == bytes)
        return *wide;
    return ansiText(bytes);
}

QString ByteReader::shortString()
{
    const quint8 length = u8();
    return text(bytes(length), kMaxShort);
}

std::optional<WideTexts> ByteReader::wideTexts()
{
    // A record this reader does not know ends the layout; it is never a reason to fail.
    try {
        if (bytes(kWideMark.size()) != kWideMark)
            return std::nullopt;
        const quint32 count = u32();
        WideTexts texts;
        for (quint32 i = 0; i < count; ++i) {
            const quint32 slot = u32();
            const quint32 length = u32();
            if (qint64(length) > remaining())
                return std::nullopt;
            texts.insert(slot, QString::fromUtf8(bytes(qsizetype(length))));
        }
        return texts;
    } catch (const LayoutFormatError &) {
        return std::nullopt;
    }
}

QStringList ByteReader::stringList(int version)
{
    QStringList lines;
    if (version >= 26) {
        const quint16 count = u16();
        for (int i = 0; i < count; ++i) {
            const quint16 length = u16();
            if (length > kMaxListLine)
                fail(QStringLiteral("riga troppo lunga"));
            lines.append(text(bytes(length), kMaxListLine));
        }
        return lines;
    }
    // Older files: byte 13 ends a line, byte 0 the list.
    QByteArray line;
    for (;;) {
        const quint8 b = u8();
        if (b == 0)
            break;
        if (b == 13) {
            lines.append(text(line, kMaxOldListLine));
            line.clear();
            continue;
        }
        if (line.size() >= kMaxOldListLine)
            fail(QStringLiteral("riga troppo lunga"));
        line.append(char(b));
    }
    if (!line.isEmpty())
        lines.append(text(line, kMaxOldListLine));
    return lines;
}

void ByteWriter::u16(quint16 v)
{
    m_data.append(char(v & 0xFF));
    m_data.append(char(v >> 8));
}

void ByteWriter::u32(quint32 v)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_data.append(char((v >> shift) & 0xFF));
}

void ByteWriter::text(const QString &text, qsizetype limit, bool lengthByte)
{
    const AnsiText encoded = ansiEncode(text);
    const QByteArray b = encoded.bytes.left(limit);
    if (lengthByte)
        u8(quint8(b.size()));
    else
        u16(quint16(b.size()));
    bytes(b);
    if (!encoded.exact)
        m_wide.insert(m_slot, text);
    ++m_slot;
}

void ByteWriter::shortString(const QString &text)
{
    this->text(text, kMaxShort, true);
}

void ByteWriter::stringList(const QStringList &lines)
{
    const qsizetype count = std::min<qsizetype>(lines.size(), 0xFFFF);
    u16(quint16(count));
    for (qsizetype i = 0; i < count; ++i)
        text(lines[i], kMaxListLine, false);
}

void ByteWriter::wideTexts(quint8 tag)
{
    if (m_wide.isEmpty())
        return;
    u8(tag);
    bytes(kWideMark);
    u32(quint32(m_wide.size()));
    for (auto it = m_wide.cbegin(); it != m_wide.cend(); ++it) {
        const QByteArray utf8 = it.value().toUtf8();
        u32(it.key());
        u32(quint32(utf8.size()));
        bytes(utf8);
    }
}
