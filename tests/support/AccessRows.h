#pragma once
// Jet 4 rows: the place of each column in a row, the bytes of one row, and text in UCS-2 or
// in its compressed form.

#include "AccessFileWriter.h"
#include "AccessPages.h"

namespace testsupport::jet {

// One column as the table definition and every row see it.
struct ColumnLayout {
    quint8 typeCode = 0;
    bool fixed = false;
    int fixedOffset = 0; // after the row's column count
    int varIndex = 0;
    int length = 0;      // bytes; 0 for a memo
    quint8 flags = 0;
};

class TableLayout {
public:
    TableLayout(const AccessTable &table, bool compressText);
    const std::vector<ColumnLayout> &columns() const { return columns_; }
    int varCount() const { return varCount_; }
    int fixedSize() const { return fixedSize_; }
    bool compressed() const { return compressed_; }

private:
    std::vector<ColumnLayout> columns_;
    int varCount_ = 0;
    int fixedSize_ = 0;
    bool compressed_ = false;
};

// Text as Jet 4 keeps it: UCS-2 little-endian, or, when `compress` and it comes out shorter,
// the compressed form (0xff 0xfe, then one byte per character below U+0100, a 0 byte switching
// between one-byte and two-byte runs). A text with a character whose low byte is 0 is never
// compressed: in a two-byte run it would read as a switch.
QByteArray jetText(const QString &text, bool compress);

// Builds the bytes of rows of one table; memos too long to sit in the row go to `longValues`.
class RowEncoder {
public:
    RowEncoder(const AccessTable &table, const TableLayout &layout, RowPacker &longValues);
    QByteArray encode(const AccessRow &row) const;

    // A memo up to this many bytes stays in its row.
    static constexpr int kInlineMemo = 64;

private:
    QByteArray varValue(const AccessColumn &definition, const QVariant &value) const;
    // A memo's or long binary's bytes: in the row when short, else on long-value pages.
    QByteArray longValue(const QByteArray &data) const;
    void fixedValue(QByteArray &out, const ColumnLayout &column, const AccessColumn &definition,
                    const QVariant &value) const;

    const AccessTable &table_;
    const TableLayout &layout_;
    RowPacker &longValues_;
};

} // namespace testsupport::jet
