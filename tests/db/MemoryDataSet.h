#pragma once
// A dataset over rows held in memory, for the framework's tests. Each row keeps its value
// texts (a memo column holds its content; the record buffer only its length) and an id
// that serves as bookmark. The cursor is either on a row or on the crack after one.

#include "db/TDataSet.h"

#include <QStringList>
#include <map>

class MemoryDataSet : public TDataSet {
public:
    struct Column {
        QString name;
        TFieldType type = TFieldType::ftString;
        int size = 0;
        bool required = false;
        QString defaultText;
    };
    struct Row {
        qint32 id = 0;
        QStringList values;
    };

    explicit MemoryDataSet(std::vector<Column> columns);
    ~MemoryDataSet() override;

    void addRow(const QStringList &values);
    const std::vector<Row> &rows() const { return m_rows; }
    QStringList column(int index) const;   // one column of every stored row

    int recordCount() override;
    int recNo() override;
    bool bookmarkValid(const TBookmark &bookmark) override;
    std::unique_ptr<QIODevice> createBlobStream(TField *field, TBlobStreamMode mode) override;

    // Fault injection: the next N posts, edits or deletes throw EDatabaseError.
    int failPosts = 0;
    int failEdits = 0;
    int failDeletes = 0;
    int failBlobReads = 0;   // memo reads, as of a record another user deleted
    int postCount = 0;

protected:
    void internalOpen() override;
    void internalClose() override;
    bool isCursorOpen() const override { return m_open; }
    TGetResult getRecord(TRecordBuffer &buffer, TGetMode mode, bool doCheck) override;
    void internalFirst() override;
    void internalLast() override;
    void internalSetToRecord(const TRecordBuffer &buffer) override;
    void internalGotoBookmark(const TBookmark &bookmark) override;
    void internalInitRecord(TRecordBuffer &buffer) override;
    void internalEdit() override;
    void internalPost() override;
    void internalCancel() override;
    void internalDelete() override;
    void internalRefresh() override {}

private:
    bool loadAccepted(TRecordBuffer &buffer, int row);
    int rowOf(qint32 id) const;
    void setCursor(int row, bool onCrack);
    std::vector<QString> storedValues(const TRecordBuffer &buffer) const;

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    qint32 m_nextId = 1;
    bool m_open = false;
    int m_cursor = -1;       // the row, or the row before the crack
    bool m_onCrack = true;
    std::map<int, QString> m_pendingBlobs;   // column index -> content written in this edit
};
