#include "store/TArcBlobStream.h"

#include "db/TField.h"
#include "db/TRecordBuffer.h"
#include "store/TArcTable.h"

#include <cstring>

namespace {

QIODevice::OpenMode openModeOf(TBlobStreamMode mode)
{
    switch (mode) {
    case TBlobStreamMode::bmRead: return QIODevice::ReadOnly | QIODevice::Unbuffered;
    case TBlobStreamMode::bmWrite: return QIODevice::WriteOnly | QIODevice::Unbuffered;
    case TBlobStreamMode::bmReadWrite: return QIODevice::ReadWrite | QIODevice::Unbuffered;
    }
    return QIODevice::ReadOnly | QIODevice::Unbuffered;
}

} // namespace

TArcBlobStream::TArcBlobStream(TArcTable &table, TField &field, TRecordBuffer &buffer, TBlobStreamMode mode,
                               const QString &content)
    : m_table(&table), m_field(&field), m_buffer(&buffer), m_index(field.fieldNo() - 1),
      m_memo(field.dataType() == TFieldType::ftMemo), m_data(encode(content, m_memo))
{
    open(openModeOf(mode));
}

TArcBlobStream::~TArcBlobStream()
{
    if (m_written && m_table)
        m_table->dataEvent(TDataEvent::deFieldChange, qintptr(m_field));
}

QByteArray TArcBlobStream::encode(const QString &content, bool memo)
{
    return memo ? content.toUtf8() : content.toLatin1();
}

QString TArcBlobStream::decode(const QByteArray &data, bool memo)
{
    return memo ? QString::fromUtf8(data) : QString::fromLatin1(data);
}

qint64 TArcBlobStream::readData(char *data, qint64 maxSize)
{
    const qint64 at = pos();
    const qint64 count = std::max<qint64>(0, std::min(maxSize, m_data.size() - at));
    if (count > 0)
        std::memcpy(data, m_data.constData() + at, size_t(count));
    return count;
}

qint64 TArcBlobStream::writeData(const char *data, qint64 size)
{
    // Whatever stood after the position is replaced by what is written.
    m_data = m_data.left(pos()) + QByteArray(data, size);
    m_written = true;
    if (m_table)
        m_table->storeBlobText(*m_buffer, m_index, decode(m_data, m_memo));
    return size;
}
