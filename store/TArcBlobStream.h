#pragma once
// A stream over one memo or binary field of the table dataset's current record. Reading
// streams hold the field's content as the archive has it (or, in a new record, as written
// in this insert); writing streams start empty and store every write in the record buffer
// with the modified mark, for the post to send to the engine.

#include "db/DbTypes.h"

#include <QByteArray>
#include <QIODevice>
#include <QPointer>

class TArcTable;
class TField;
struct TRecordBuffer;

class TArcBlobStream final : public QIODevice {
    Q_OBJECT
public:
    TArcBlobStream(TArcTable &table, TField &field, TRecordBuffer &buffer, TBlobStreamMode mode,
                   const QString &content);
    ~TArcBlobStream() override;

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }
    bool written() const { return m_written; }

    // Memos travel as UTF-8, binary values as their bytes one to one.
    static QByteArray encode(const QString &content, bool memo);
    static QString decode(const QByteArray &data, bool memo);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    QPointer<TArcTable> m_table;
    TField *m_field;
    TRecordBuffer *m_buffer;
    int m_index;
    bool m_memo;
    QByteArray m_data;
    bool m_written = false;
};
