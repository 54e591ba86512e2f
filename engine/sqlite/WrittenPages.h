#pragma once
// What the storage library wrote to a copy: each page's place, size and a digest of its
// bytes. Once the copy is closed and synced, the file is read back and compared page by
// page, so that a write lost or damaged anywhere below the library (the layer that
// gathers the writes, the system, the disk) fails the copy before it can replace anything.

#include <QString>
#include <mutex>
#include <vector>

namespace dao::sqlite {

class WrittenPages {
public:
    // Records size bytes written at offset, made of the library's writes of grain bytes
    // each, in the order written: a later write of the same place replaces an earlier one.
    // Safe from any thread.
    void wrote(const void *data, int size, long long offset, int grain);
    void truncated(long long size);
    // Empty when the file at path holds every page as written and ends where the last one
    // does; otherwise what differs, in Italian.
    QString differences(const QByteArray &path) const;

private:
    struct Page {
        long long offset;
        int size;
        quint64 digest;
    };
    mutable std::mutex m_mutex;
    std::vector<Page> m_pages;
    long long m_end = 0;
};

} // namespace dao::sqlite
