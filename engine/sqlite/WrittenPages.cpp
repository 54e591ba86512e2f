#include "engine/sqlite/WrittenPages.h"

#include "platform/UniqueFd.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dao::sqlite {

namespace {

// Not a cryptographic digest: it only has to tell a page that did not reach the file as it
// was written (lost, stale, shifted or zeroed), and must cost little beside the copy: two
// running sums of the page's 64-bit words, the second weighing each word by its place, take
// about a cycle per word.
quint64 digest(const unsigned char *data, size_t size)
{
    quint64 sum = 0, weighted = 0;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        sum += word;
        weighted += sum;
    }
    for (; i < size; ++i) {
        sum += data[i];
        weighted += sum;
    }
    return sum ^ (weighted * 0x9E3779B97F4A7C15ULL) ^ size;
}

// Reads exactly size bytes at offset; false on a short read or a failure.
bool readAt(int fd, char *buffer, size_t size, long long offset)
{
    while (size > 0) {
        const ssize_t n = ::pread(fd, buffer, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buffer += n;
        size -= size_t(n);
        offset += n;
    }
    return true;
}

} // namespace

void WrittenPages::wrote(const void *data, int size, long long offset, int grain)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    std::vector<Page> pages;
    pages.reserve(size_t(size / grain + 1));
    for (int at = 0; at < size; at += grain) {
        const int part = std::min(grain, size - at);
        pages.push_back({offset + at, part, digest(bytes + at, size_t(part))});
    }
    const std::lock_guard lock(m_mutex);
    m_pages.insert(m_pages.end(), pages.begin(), pages.end());
    m_end = std::max(m_end, offset + size);
}

void WrittenPages::truncated(long long size)
{
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_pages, [size](const Page &page) { return page.offset + page.size > size; });
    m_end = size;
}

QString WrittenPages::differences(const QByteArray &path) const
{
    const std::lock_guard lock(m_mutex);
    const platform::UniqueFd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC));
    struct stat st{};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0)
        return QStringLiteral("la copia non si rilegge");
    if (st.st_size != m_end)
        return QStringLiteral("la copia è di %1 byte invece di %2").arg(st.st_size).arg(m_end);

    // Each place once, as last written; read back in order, a large block at a time.
    std::vector<Page> pages = m_pages;
    std::stable_sort(pages.begin(), pages.end(), [](const Page &a, const Page &b) { return a.offset < b.offset; });
    constexpr long long kBlock = 1024 * 1024;
    std::vector<char> block;
    long long blockStart = 0;
    int differing = 0;
    long long first = -1;
    for (size_t i = 0; i < pages.size(); ++i) {
        const Page &page = pages[i];
        if (i + 1 < pages.size() && pages[i + 1].offset == page.offset)
            continue;   // written again later
        if (page.offset < blockStart || page.offset + page.size > blockStart + qint64(block.size())) {
            blockStart = page.offset;
            block.resize(size_t(std::min(std::max(kBlock, qint64(page.size)), m_end - blockStart)));
            if (!readAt(fd.get(), block.data(), block.size(), blockStart))
                return QStringLiteral("la copia non si rilegge dal byte %1").arg(blockStart);
        }
        const auto *bytes = reinterpret_cast<const unsigned char *>(block.data() + (page.offset - blockStart));
        if (digest(bytes, size_t(page.size)) != page.digest) {
            ++differing;
            if (first < 0)
                first = page.offset;
        }
    }
    if (differing > 0)
        return QStringLiteral("%1 pagine della copia differiscono da quanto scritto, la prima al byte %2")
            .arg(differing)
            .arg(first);
    return {};
}

} // namespace dao::sqlite
