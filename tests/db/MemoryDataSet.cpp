#include "MemoryDataSet.h"

#include "db/DatabaseError.h"
#include "db/TField.h"

#include <QBuffer>

namespace {

// Hands the written content to the dataset when the field closes the stream.
class PendingBlobStream : public QBuffer {
public:
    explicit PendingBlobStream(QString *target) : m_target(target) { open(QIODevice::WriteOnly); }
    ~PendingBlobStream() override { *m_target = QString::fromUtf8(data()); }

private:
    QString *m_target;
};

bool isBlob(TFieldType type)
{
    return type == TFieldType::ftMemo || type == TFieldType::ftBlob;
}

} // namespace

MemoryDataSet::MemoryDataSet(std::vector<Column> columns) : m_columns(std::move(columns))
{
}

MemoryDataSet::~MemoryDataSet()
{
    closeForDestruction();
}

void MemoryDataSet::addRow(const QStringList &values)
{
    m_rows.push_back(Row{m_nextId++, values});
}

QStringList MemoryDataSet::column(int index) const
{
    QStringList result;
    for (const Row &row : m_rows)
        result << row.values.value(index);
    return result;
}

void MemoryDataSet::internalOpen()
{
    mutableFieldDefs().clear();
    for (const Column &c : m_columns)
        mutableFieldDefs().add(c.name, c.type, c.size, c.required);
    bindFields();
    m_open = true;
    setCursor(-1, true);
}

void MemoryDataSet::internalClose()
{
    m_open = false;
    m_pendingBlobs.clear();
}

void MemoryDataSet::setCursor(int row, bool onCrack)
{
    m_cursor = row;
    m_onCrack = onCrack;
}

int MemoryDataSet::rowOf(qint32 id) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return int(i);
    }
    return -1;
}

bool MemoryDataSet::loadAccepted(TRecordBuffer &buffer, int row)
{
    const Row &r = m_rows[size_t(row)];
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const QString value = r.values.value(int(c));
        buffer.values[c] = isBlob(m_columns[c].type) && !value.isEmpty() ? QString::number(value.toUtf8().size())
                                                                         : value;
    }
    buffer.position = row;
    buffer.bookmark = r.id;
    buffer.flag = TBookmarkFlag::bfCurrent;
    return filterAccepts(buffer);
}

TGetResult MemoryDataSet::getRecord(TRecordBuffer &buffer, TGetMode mode, bool)
{
    const int count = int(m_rows.size());
    switch (mode) {
    case TGetMode::gmCurrent:
        if (m_onCrack || m_cursor < 0 || m_cursor >= count)
            return TGetResult::grError;
        return loadAccepted(buffer, m_cursor) ? TGetResult::grOK : TGetResult::grError;
    case TGetMode::gmNext:
        for (int row = m_cursor + 1; row < count; ++row) {
            if (loadAccepted(buffer, row)) {
                setCursor(row, false);
                return TGetResult::grOK;
            }
        }
        setCursor(count - 1, true);
        return TGetResult::grEOF;
    case TGetMode::gmPrior:
        for (int row = m_onCrack ? m_cursor : m_cursor - 1; row >= 0; --row) {
            if (loadAccepted(buffer, row)) {
                setCursor(row, false);
                return TGetResult::grOK;
            }
        }
        setCursor(-1, true);
        return TGetResult::grBOF;
    }
    return TGetResult::grError;
}

void MemoryDataSet::internalFirst()
{
    setCursor(-1, true);
}

void MemoryDataSet::internalLast()
{
    setCursor(int(m_rows.size()) - 1, true);
}

void MemoryDataSet::internalSetToRecord(const TRecordBuffer &buffer)
{
    const int row = rowOf(buffer.bookmark);
    if (row < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    setCursor(row, false);
}

void MemoryDataSet::internalGotoBookmark(const TBookmark &bookmark)
{
    const int row = rowOf(bookmarkToId(bookmark));
    if (row < 0)
        throw EDatabaseError(QStringLiteral("Record not found"));
    setCursor(row, false);
}

void MemoryDataSet::internalInitRecord(TRecordBuffer &buffer)
{
    for (size_t c = 0; c < m_columns.size(); ++c)
        buffer.values[c] = m_columns[c].defaultText;
}

void MemoryDataSet::internalEdit()
{
    if (failEdits > 0) {
        --failEdits;
        throw EDatabaseError(QStringLiteral("Edit failed"));
    }
}

std::vector<QString> MemoryDataSet::storedValues(const TRecordBuffer &buffer) const
{
    std::vector<QString> values(buffer.values.begin(), buffer.values.end());
    const int row = rowOf(buffer.bookmark);
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (!isBlob(m_columns[c].type))
            continue;
        const auto pending = m_pendingBlobs.find(int(c));
        if (pending != m_pendingBlobs.end())
            values[c] = pending->second;
        else
            values[c] = row >= 0 && buffer.flag == TBookmarkFlag::bfCurrent ? m_rows[size_t(row)].values.value(int(c))
                                                                            : QString();
    }
    return values;
}

void MemoryDataSet::internalPost()
{
    if (failPosts > 0) {
        --failPosts;
        throw EDatabaseError(QStringLiteral("Post failed"));
    }
    const TRecordBuffer &buffer = *activeBuffer();
    const std::vector<QString> values = storedValues(buffer);
    QStringList list(values.begin(), values.end());
    if (state() == TDataSetState::dsInsert) {
        int at = int(m_rows.size());
        if (buffer.flag == TBookmarkFlag::bfBOF)
            at = 0;
        else if (buffer.flag == TBookmarkFlag::bfInserted && rowOf(buffer.bookmark) >= 0)
            at = rowOf(buffer.bookmark);
        m_rows.insert(m_rows.begin() + at, Row{m_nextId++, list});
        setCursor(at, false);
    } else {
        const int row = rowOf(buffer.bookmark);
        m_rows[size_t(row)].values = list;
        setCursor(row, false);
    }
    m_pendingBlobs.clear();
    ++postCount;
}

void MemoryDataSet::internalCancel()
{
    m_pendingBlobs.clear();
}

void MemoryDataSet::internalDelete()
{
    if (failDeletes > 0) {
        --failDeletes;
        throw EDatabaseError(QStringLiteral("Delete failed"));
    }
    m_rows.erase(m_rows.begin() + m_cursor);
    setCursor(m_cursor - 1, true);
}

int MemoryDataSet::recordCount()
{
    checkActive();
    TRecordBuffer scratch;
    int count = 0;
    for (int row = 0; row < int(m_rows.size()); ++row) {
        scratch.reset(m_columns.size(), activeBuffer() ? activeBuffer()->calculated.size() : 0);
        count += loadAccepted(scratch, row) ? 1 : 0;
    }
    return count;
}

int MemoryDataSet::recNo()
{
    checkActive();
    const TRecordBuffer *buffer = activeBuffer();
    if (!buffer || buffer->flag != TBookmarkFlag::bfCurrent)
        return -1;
    TRecordBuffer scratch;
    int number = 0;
    for (int row = 0; row <= buffer->position && row < int(m_rows.size()); ++row) {
        scratch.reset(m_columns.size(), buffer->calculated.size());
        number += loadAccepted(scratch, row) ? 1 : 0;
    }
    return number;
}

bool MemoryDataSet::bookmarkValid(const TBookmark &bookmark)
{
    return rowOf(bookmarkToId(bookmark)) >= 0;
}

std::unique_ptr<QIODevice> MemoryDataSet::createBlobStream(TField *field, TBlobStreamMode mode)
{
    const int column = field->fieldNo() - 1;
    if (mode != TBlobStreamMode::bmRead)
        return std::make_unique<PendingBlobStream>(&m_pendingBlobs[column]);
    if (failBlobReads > 0) {
        --failBlobReads;
        throw EDatabaseError(QStringLiteral("Record is deleted"));
    }
    const TRecordBuffer *buffer = activeBuffer();
    QString content;
    if (const auto pending = m_pendingBlobs.find(column); pending != m_pendingBlobs.end() && buffer
        && buffer->modified[size_t(column)])
        content = pending->second;
    else if (buffer && rowOf(buffer->bookmark) >= 0 && buffer->flag == TBookmarkFlag::bfCurrent)
        content = m_rows[size_t(rowOf(buffer->bookmark))].values.value(column);
    auto stream = std::make_unique<QBuffer>();
    stream->setData(content.toUtf8());
    stream->open(QIODevice::ReadOnly);
    return stream;
}
