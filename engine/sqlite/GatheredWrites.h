#pragma once
// The file system layer the archive's handles open their files through: the platform's own,
// except for a copy being written (a compacted archive, or one under a new password). The
// storage library writes a file one page at a time; written so, a whole archive costs the
// system several times what the same bytes cost in large writes, both to write and to bring
// to disk. A copy's writes are therefore gathered in memory and handed on in large
// consecutive pieces; any other use of the file (a read, its size, a sync or the library's
// notice of a sync left out at a commit, closing it) first hands on what was gathered, so
// the file always reads back what was written, and a write that fails fails the commit.
// The pieces are written on a thread of their own (PieceWriter) while the copy goes on, and
// each page is noted as it goes (WrittenPages), so that the closed file can be read back
// and compared with what the library wrote.

#include <QString>
#include <memory>

namespace dao::sqlite {

class WrittenPages;

// The name of the layer, registered (not as the default) on first use.
const char *gatheredWritesVfs();

// While an instance lives, the file at `path` (as the library names it, the absolute path)
// is opened with its writes gathered.
class GatheredWrites {
public:
    explicit GatheredWrites(const QString &path);
    ~GatheredWrites();
    GatheredWrites(const GatheredWrites &) = delete;
    GatheredWrites &operator=(const GatheredWrites &) = delete;

    // Once the file is closed: empty when it reads back exactly as the library wrote it,
    // otherwise what differs (see WrittenPages).
    QString differences() const;

private:
    QByteArray m_path;
    std::shared_ptr<WrittenPages> m_written;
};

} // namespace dao::sqlite
