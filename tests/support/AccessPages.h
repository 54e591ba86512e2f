#pragma once
// The pages of a Jet 4 file under construction and the row packing shared by data pages and
// long-value pages.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace testsupport::jet {

constexpr int kPageSize = 4096;
constexpr int kDataHeader = 14; // type, 1, free space, owner, 4 unknown, row count
// A deleted row's offset carries both high bits: 0x8000 is the deleted flag of the format's
// description, 0x4000 the one mdbtools tests; with both, every reader skips the row.
constexpr quint16 kDeletedRow = 0xc000;

inline void put16(QByteArray &bytes, int at, quint16 value)
{
    bytes[at] = char(value & 0xff);
    bytes[at + 1] = char(value >> 8);
}

inline void put32(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

inline void append16(QByteArray &bytes, quint16 value)
{
    bytes.append(char(value & 0xff)).append(char(value >> 8));
}

inline void append32(QByteArray &bytes, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

// A row's address: its page in the upper three bytes, its number on the page in the lowest.
inline quint32 rowPointer(int page, int row)
{
    return (quint32(page) << 8) | quint32(row);
}

// Every page of the file, numbered from 0 (the database header).
class PageFile {
public:
    int allocate();
    QByteArray &page(int number) { return pages_[number]; }
    int count() const { return int(pages_.size()); }
    QByteArray bytes() const;

private:
    std::vector<QByteArray> pages_;
};

// Fills pages of type 1 from the end towards the header, each row's offset in the table after
// the header. The owner is the table definition's page, or the word "LVAL" on long-value pages.
class RowPacker {
public:
    RowPacker(PageFile &file, quint32 owner) : file_(file), owner_(owner) {}
    // Where the row went. A deleted row keeps its bytes and carries the deleted flag.
    quint32 add(const QByteArray &row, bool deleted = false);
    // A row alone on a fresh page (for a long value's chain, whose pages are known beforehand).
    quint32 addOnPage(int page, const QByteArray &row);
    // The next page this packer would open, reserved now.
    int reservePage() { return file_.allocate(); }
    const std::vector<int> &pages() const { return pages_; }

    static constexpr int kMaxRow = kPageSize - kDataHeader - 2;

private:
    void open(int page);
    quint32 place(const QByteArray &row, bool deleted);

    PageFile &file_;
    quint32 owner_;
    std::vector<int> pages_;
    int current_ = -1;
    int rows_ = 0;
    int top_ = kPageSize; // lowest byte used by a row
};

} // namespace testsupport::jet
