#include "platform/LockFile.h"

#include "tests/support/ForkedChild.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using platform::LockFile;
using testsupport::ChildSide;
using testsupport::ForkedChild;
using Mode = LockFile::Mode;

class LockFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString archive() const { return m_dir.filePath(QStringLiteral("tavorio.mdb")); }
    QString lockPath() const { return m_dir.filePath(QStringLiteral("tavorio.ldb")); }
    std::unique_ptr<LockFile> acquire(Mode mode) const { return LockFile::acquire(archive(), mode); }

    QTemporaryDir m_dir;
};

TEST_F(LockFileTest, SharedHoldersGoTogetherAndTheLastRemovesTheFile)
{
    auto first = acquire(Mode::Shared);
    auto second = acquire(Mode::Shared);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->mode(), Mode::Shared);
    EXPECT_TRUE(QFile::exists(lockPath()));

    first.reset();
    EXPECT_TRUE(QFile::exists(lockPath())) << "a holder is still in";
    second.reset();
    EXPECT_FALSE(QFile::exists(lockPath()));
}

struct Conflict {
    Mode held;
    Mode wanted;
};

class LockFileConflict : public LockFileTest, public ::testing::WithParamInterface<Conflict> {};

TEST_P(LockFileConflict, RefusedWhileHeldThenGrantedAfterRelease)
{
    auto holder = acquire(GetParam().held);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(acquire(GetParam().wanted));
    EXPECT_TRUE(QFile::exists(lockPath())) << "a refused newcomer leaves the holder's file alone";

    holder.reset();
    auto next = acquire(GetParam().wanted);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->mode(), GetParam().wanted);
}

INSTANTIATE_TEST_SUITE_P(Modes, LockFileConflict,
                         ::testing::Values(Conflict{Mode::Shared, Mode::Exclusive},
                                           Conflict{Mode::Exclusive, Mode::Shared},
                                           Conflict{Mode::Exclusive, Mode::Exclusive}));

TEST_F(LockFileTest, LeftoverFileIsTakenOver)
{
    QFile leftover(lockPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("4711 crashed-host\n");
    leftover.close();

    auto lock = acquire(Mode::Exclusive);
    ASSERT_TRUE(lock);
    lock.reset();
    EXPECT_FALSE(QFile::exists(lockPath()));
}

TEST_F(LockFileTest, ReplacesTheExtensionOrAddsOne)
{
    EXPECT_EQ(LockFile::pathFor(QStringLiteral("/x/tavorio.mdb")), QStringLiteral("/x/tavorio.ldb"));
    EXPECT_EQ(LockFile::pathFor(QStringLiteral("/x.d/archivio")), QStringLiteral("/x.d/archivio.ldb"));
    EXPECT_EQ(LockFile::pathFor(QStringLiteral("a.b.mdb")), QStringLiteral("a.b.ldb"));
}

TEST_F(LockFileTest, MissingFolderThrows)
{
    EXPECT_THROW(LockFile::acquire(m_dir.filePath(QStringLiteral("none/tavorio.mdb")), Mode::Shared), std::runtime_error);
}

// The lock must hold against other processes, not only against this one.
TEST_F(LockFileTest, SharedHolderInAnotherProcessBlocksExclusive)
{
    ForkedChild child([&](ChildSide &side) {
        auto lock = acquire(Mode::Shared);
        if (!lock)
            return 1;
        side.signalReady();
        side.waitForRelease();
        return 0;
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.waitUntilReady());

    EXPECT_FALSE(acquire(Mode::Exclusive));
    auto shared = acquire(Mode::Shared);
    EXPECT_TRUE(shared);
    shared.reset();
    EXPECT_TRUE(QFile::exists(lockPath())) << "the child is still in";

    EXPECT_EQ(child.exitStatus(), 0);
    EXPECT_FALSE(QFile::exists(lockPath())) << "the child left last";
    EXPECT_TRUE(acquire(Mode::Exclusive));
}

// A holder killed on the spot leaves its file but no lock.
TEST_F(LockFileTest, FileOfAKilledHolderIsTakenOver)
{
    ForkedChild child([&](ChildSide &) {
        auto lock = acquire(Mode::Exclusive);
        ::_exit(lock ? 0 : 1); // no destructor runs
        return 1;
    });
    ASSERT_EQ(child.exitStatus(), 0);
    ASSERT_TRUE(QFile::exists(lockPath()));

    EXPECT_TRUE(acquire(Mode::Exclusive));
}

} // namespace

TEST_F(LockFileTest, LentLockServesThisProcessOnlyWhileTheLoanLives)
{
    const auto held = acquire(Mode::Exclusive);
    ASSERT_TRUE(held);
    EXPECT_FALSE(acquire(Mode::Shared));
    {
        const platform::LockLoan loan(*held, archive());
        const auto borrowed = acquire(Mode::Exclusive);
        ASSERT_TRUE(borrowed);
        // Leaving as a borrower neither releases the lender's lock nor removes the file.
    }
    EXPECT_TRUE(QFile::exists(LockFile::pathFor(archive())));
    EXPECT_FALSE(acquire(Mode::Shared));
}
