#include "platform/CrashPoints.h"

#include "tests/support/ForkedChild.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using testsupport::ChildSide;
using testsupport::ForkedChild;

constexpr int PassedThrough = 3;

int exitStatusOf(const std::function<void()> &steps)
{
    ForkedChild child([&](ChildSide &) {
        steps();
        return PassedThrough;
    });
    return child.exitStatus();
}

TEST(CrashPoints, ArmedPointEndsTheProcessWith77)
{
    EXPECT_EQ(exitStatusOf([] {
                  platform::armCrashPoint("compact.beforeRename");
                  platform::crashPoint("compact.afterExport");
                  platform::crashPoint("compact.beforeRename");
              }),
              77);
}

TEST(CrashPoints, OtherAndDisarmedPointsPassThrough)
{
    EXPECT_EQ(exitStatusOf([] {
                  platform::armCrashPoint("compact.beforeRename");
                  platform::crashPoint("compact.before");
                  platform::crashPoint("compact.beforeRename.x");
                  platform::disarmCrashPoints();
                  platform::crashPoint("compact.beforeRename");
              }),
              PassedThrough);
}

TEST(CrashPoints, RearmingReplacesThePoint)
{
    EXPECT_EQ(exitStatusOf([] {
                  platform::armCrashPoint("first");
                  platform::armCrashPoint("second");
                  platform::crashPoint("first");
              }),
              PassedThrough);
}

// A crash must not let buffered output reach the file, as a power cut would not.
TEST(CrashPoints, CrashDoesNotFlushBufferedOutput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("out.txt")));
    EXPECT_EQ(exitStatusOf([&] {
                  std::FILE *file = std::fopen(path.constData(), "w");
                  std::fputs("unflushed", file);
                  platform::armCrashPoint("write");
                  platform::crashPoint("write");
              }),
              77);
    QFile written(QString::fromLocal8Bit(path));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().isEmpty());
}

} // namespace
