#pragma once
// Little-endian reading and writing of the layout and prepared-report files. The reader
// never reads past its end: a short read throws LayoutFormatError with the offset.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

class LayoutFormatError final : public std::runtime_error {
public:
    LayoutFormatError(const QString &what, qsizetype offset)
        : std::runtime_error(what.toStdString()), m_offset(offset) {}
    qsizetype offset() const { return m_offset; }

private:
    qsizetype m_offset;
};

// Texts are stored in the Windows Western code page, as the designer wrote them. A character
// the code page lacks becomes '?' there; `exact` tells whether the bytes hold the whole text.
struct AnsiText {
    QByteArray bytes;
    bool exact = true;
};
AnsiText ansiEncode(const QString &text);
QByteArray ansiBytes(const QString &text);
QString ansiText(const QByteArray &bytes);

// The texts the code page could not hold, by their place among the texts of a file (every
// short string and every line of a string list counts one, front to back), in full.
using WideTexts = QMap<quint32, QString>;

class ByteReader final {
public:
    explicit ByteReader(QByteArray data) : m_data(std::move(data)) {}

    qsizetype offset() const { return m_pos; }
    qsizetype remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    void rewind() { m_pos = 0; }

    quint8 u8();
    quint16 u16();
    quint32 u32();
    qint32 i32() { return qint32(u32()); }
    QByteArray bytes(qsizetype count);
    QString shortString();                       // length byte, bytes
    QStringList stringList(int version);         // see the layout reader's comment
    [[noreturn]] void fail(const QString &what) const;

    // The full texts to put back in place of their code-page stand-ins. A text is put back
    // only where the file holds exactly the stand-in it would have been written as, so a
    // record that does not belong to the texts before it changes nothing.
    void setWideTexts(WideTexts texts) { m_wide = std::move(texts); }
    // The record of full texts that follows its tag; nullopt when it is not one.
    std::optional<WideTexts> wideTexts();

private:
    void need(qsizetype count) const;
    QString text(const QByteArray &bytes, qsizetype limit);

    QByteArray m_data;
    qsizetype m_pos = 0;
    quint32 m_slot = 0;
    WideTexts m_wide;
};

class ByteWriter final {
public:
    const QByteArray &data() const { return m_data; }

    void u8(quint8 v) { m_data.append(char(v)); }
    void u16(quint16 v);
    void u32(quint32 v);
    void i32(qint32 v) { u32(quint32(v)); }
    void bytes(const QByteArray &b) { m_data.append(b); }
    void shortString(const QString &text);       // cut at 255 bytes
    void stringList(const QStringList &lines);   // the version 26 form, lines cut at 1024 bytes
    // The record of the texts written so far that the code page could not hold, opened by
    // `tag`; nothing when every text fitted.
    void wideTexts(quint8 tag);

private:
    void text(const QString &text, qsizetype limit, bool lengthByte);

    QByteArray m_data;
    quint32 m_slot = 0;
    WideTexts m_wide;
};
