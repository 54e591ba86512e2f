#include "engine/sqlite/PieceWriter.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <unistd.h>
#include <vector>

using dao::sqlite::PieceWriter;

namespace {

// A file that keeps what reaches it, in order, and refuses the write numbered failAt.
struct FakeFile {
    sqlite3_file base;
    std::vector<std::pair<long long, char>> writes;   // offset, first byte
    int failAt = -1;
};

int fakeWrite(sqlite3_file *file, const void *data, int, sqlite3_int64 offset)
{
    auto *fake = reinterpret_cast<FakeFile *>(file);
    if (int(fake->writes.size()) == fake->failAt) {
        fake->failAt = -1;
        fake->writes.push_back({-1, 0});
        return SQLITE_IOERR_WRITE;
    }
    fake->writes.push_back({offset, *static_cast<const char *>(data)});
    return SQLITE_OK;
}

const sqlite3_io_methods kFakeMethods = [] {
    sqlite3_io_methods methods{};
    methods.iVersion = 1;
    methods.xWrite = fakeWrite;
    return methods;
}();

int handOver(PieceWriter &writer, long long offset, char mark)
{
    char *piece = writer.buffer();
    std::memset(piece, mark, 16);
    return writer.write(piece, 16, offset);
}

} // namespace

// More pieces than buffers, a page written again after others: the file gets them in the
// order given. Once one is refused, the failure is what every later call reports and
// nothing more reaches the file, so the copy cannot end as if whole.
TEST(PieceWriter, WritesInTheOrderGivenAndKeepsReportingTheFirstFailure)
{
    FakeFile file{};
    file.base.pMethods = &kFakeMethods;
    {
        PieceWriter writer(&file.base, -1);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(handOver(writer, i * 16, char('a' + i)), SQLITE_OK);
        EXPECT_EQ(handOver(writer, 0, 'z'), SQLITE_OK);
        EXPECT_EQ(writer.drain(), SQLITE_OK);
    }
    ASSERT_EQ(file.writes.size(), 11u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(file.writes[size_t(i)], std::make_pair(i * 16LL, char('a' + i)));
    EXPECT_EQ(file.writes.back(), std::make_pair(0LL, 'z'));

    file.writes.clear();
    file.failAt = 1;
    PieceWriter writer(&file.base, -1);
    EXPECT_EQ(handOver(writer, 0, 'a'), SQLITE_OK);
    handOver(writer, 16, 'b');   // refused, reported later
    handOver(writer, 32, 'c');
    EXPECT_EQ(writer.drain(), SQLITE_IOERR_WRITE);
    EXPECT_EQ(handOver(writer, 48, 'd'), SQLITE_IOERR_WRITE);
    EXPECT_EQ(writer.drain(), SQLITE_IOERR_WRITE);
    ASSERT_EQ(file.writes.size(), 2u);   // the first, then the refused one; nothing after
    EXPECT_EQ(file.writes[0], std::make_pair(0LL, 'a'));
}

// The copy is brought to disk on a second thread as it grows; a sync the system refuses
// (here on a pipe, which cannot be synced) fails the copy like a refused write, even when
// it comes after the last piece was written.
TEST(PieceWriter, ASyncThatFailsFailsTheCopy)
{
    FakeFile file{};
    file.base.pMethods = &kFakeMethods;
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    int rc = SQLITE_OK;
    {
        PieceWriter writer(&file.base, pipeEnds[1]);
        // Past the amount after which a sync is asked for.
        for (long long offset = 0; offset < 9LL * 1024 * 1024; offset += PieceWriter::kPieceSize)
            writer.write(writer.buffer(), PieceWriter::kPieceSize, offset);
        rc = writer.finish();
    }
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    EXPECT_EQ(rc, SQLITE_IOERR_FSYNC);
}
