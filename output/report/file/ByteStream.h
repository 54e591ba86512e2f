#pragma once
// Little-endian reading and writing of the layout and prepared-report files. The reader
// never reads past its end: a short read throws LayoutFormatError with the offset.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

class LayoutFormatError final : public std::runtime_error {
public:
    LayoutFormatError(const QString &what, qsizetype offset)
        : std::runtime_error(what.toStdString()), m_offset(offset) {}
    qsizetype offset() const { return m_offset; }

private:
    qsizetype m_offset;
};

// Texts are stored in the Windows Western code page, as the designer wrote them.
QByteArray ansiBytes(const QString &text);
QString ansiText(const QByteArray &bytes);

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

private:
    void need(qsizetype count) const;

    QByteArray m_data;
    qsizetype m_pos = 0;
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

private:
    QByteArray m_data;
};
