#include "output/report/file/ByteStream.h"

#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr qsizetype kMaxListLine = 1024;
constexpr qsizetype kMaxOldListLine = 255;
} // namespace

QByteArray ansiBytes(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
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

QString ByteReader::shortString()
{
    const quint8 length = u8();
    return ansiText(bytes(length));
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
            lines.append(ansiText(bytes(length)));
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
            lines.append(ansiText(line));
            line.clear();
            continue;
        }
        if (line.size() >= kMaxOldListLine)
            fail(QStringLiteral("riga troppo lunga"));
        line.append(char(b));
    }
    if (!line.isEmpty())
        lines.append(ansiText(line));
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

void ByteWriter::shortString(const QString &text)
{
    const QByteArray b = ansiBytes(text).left(255);
    u8(quint8(b.size()));
    bytes(b);
}

void ByteWriter::stringList(const QStringList &lines)
{
    const qsizetype count = std::min<qsizetype>(lines.size(), 0xFFFF);
    u16(quint16(count));
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArray b = ansiBytes(lines[i]).left(kMaxListLine);
        u16(quint16(b.size()));
        bytes(b);
    }
}
