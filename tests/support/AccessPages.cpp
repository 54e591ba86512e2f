#include "AccessPages.h"

#include <stdexcept>

namespace testsupport::jet {

int PageFile::allocate()
{
    pages_.emplace_back(kPageSize, '\0');
    return int(pages_.size()) - 1;
}

QByteArray PageFile::bytes() const
{
    QByteArray all;
    all.reserve(qsizetype(pages_.size()) * kPageSize);
    for (const QByteArray &page : pages_)
        all.append(page);
    return all;
}

void RowPacker::open(int page)
{
    current_ = page;
    rows_ = 0;
    top_ = kPageSize;
    pages_.push_back(page);
    QByteArray &bytes = file_.page(page);
    bytes[0] = 0x01;
    bytes[1] = 0x01;
    put32(bytes, 4, owner_);
}

quint32 RowPacker::place(const QByteArray &row, bool deleted)
{
    QByteArray &bytes = file_.page(current_);
    top_ -= int(row.size());
    std::copy(row.begin(), row.end(), bytes.begin() + top_);
    put16(bytes, kDataHeader + 2 * rows_, quint16(top_ | (deleted ? kDeletedRow : 0)));
    ++rows_;
    put16(bytes, 12, quint16(rows_));
    put16(bytes, 2, quint16(top_ - kDataHeader - 2 * rows_));
    return rowPointer(current_, rows_ - 1);
}

quint32 RowPacker::add(const QByteArray &row, bool deleted)
{
    if (row.size() > kMaxRow)
        throw std::invalid_argument("a row longer than a page");
    const int free = top_ - kDataHeader - 2 * rows_;
    // A row number is one byte; an empty row would have no end of its own.
    if (current_ < 0 || free < row.size() + 2 || rows_ == 255)
        open(file_.allocate());
    return place(row, deleted);
}

quint32 RowPacker::addOnPage(int page, const QByteArray &row)
{
    open(page);
    return place(row, false);
}

} // namespace testsupport::jet
