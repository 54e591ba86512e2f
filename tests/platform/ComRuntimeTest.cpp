#include "platform/ComRuntime.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr int Unexpected = int(0x8000FFFF);

class ComRuntime : public ::testing::Test {
protected:
    void SetUp() override { drain(); }
    void TearDown() override { drain(); }
    static void drain()
    {
        for (int left = platform::coInitCount(); left > 0; --left)
            platform::coUninitialize();
        ASSERT_EQ(platform::coInitCount(), 0);
    }
};

TEST_F(ComRuntime, FirstInitialiseReturnsZeroLaterOnesOne)
{
    EXPECT_EQ(platform::coInitialize(), 0);
    EXPECT_EQ(platform::coInitialize(), 1);
    EXPECT_EQ(platform::coInitialize(), 1);
    EXPECT_EQ(platform::coInitCount(), 3);

    platform::coUninitialize();
    platform::coUninitialize();
    EXPECT_EQ(platform::coInitCount(), 1);
    platform::coUninitialize();
    EXPECT_EQ(platform::coInitialize(), 0) << "balanced again, the next one is a first one";
}

TEST_F(ComRuntime, UninitialiseNeverGoesBelowZero)
{
    platform::coUninitialize();
    EXPECT_EQ(platform::coInitCount(), 0);
    EXPECT_EQ(platform::coInitialize(), 0);
}

TEST_F(ComRuntime, InjectedFailureCountsNothingAndOnlyOnce)
{
    platform::failNextCoInitialize(Unexpected);
    EXPECT_EQ(platform::coInitialize(), Unexpected);
    EXPECT_EQ(platform::coInitCount(), 0);
    EXPECT_EQ(platform::coInitialize(), 0);
    EXPECT_EQ(platform::coInitCount(), 1);
}

TEST_F(ComRuntime, InjectedSuccessIsCounted)
{
    platform::failNextCoInitialize(1);
    EXPECT_EQ(platform::coInitialize(), 1);
    EXPECT_EQ(platform::coInitCount(), 1);
}

TEST_F(ComRuntime, EachThreadCountsOnItsOwn)
{
    platform::coInitialize();
    platform::failNextCoInitialize(Unexpected);
    int otherFirst = -1;
    int otherCount = -1;
    std::thread other([&] {
        otherFirst = platform::coInitialize();
        otherCount = platform::coInitCount();
    });
    other.join();
    EXPECT_EQ(otherFirst, 0) << "neither this thread's count nor its injected failure leak across";
    EXPECT_EQ(otherCount, 1);
    EXPECT_EQ(platform::coInitCount(), 1);
    EXPECT_EQ(platform::coInitialize(), Unexpected);
}

} // namespace
