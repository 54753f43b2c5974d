// The Windows clock and message-window scheduler. Bounds only from below: a loaded machine
// may make anything later, never earlier.
#include "common/DateTime.h"
#include "platform/win32/Win32ClockScheduler.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <windows.h>

using namespace kesmaro;

namespace {

class Win32SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!scheduler.isReady() && std::getenv("KESMARO_UNDER_WINE") != nullptr)
            GTEST_SKIP() << "Wine made no message-only window here (no display driver?)";
        ASSERT_TRUE(scheduler.isReady());
    }

    Win32Clock clock;
    Win32Scheduler scheduler;
};

} // namespace

TEST(Win32ClockTest, NowIsLocalTimeAndTicksNeverGoBack)
{
    Win32Clock clock;
    SYSTEMTIME local;
    GetLocalTime(&local);
    const DateTime expected = *DateTime::FromFields(local.wYear, local.wMonth, local.wDay,
                                                    local.wHour, local.wMinute, local.wSecond);
    const auto difference = clock.Now() - expected.time();
    EXPECT_LE(std::chrono::abs(difference), std::chrono::seconds(5));

    // Since boot, as GetTickCount64 counts, and far finer than its 16 ms steps.
    const std::int64_t first = clock.TickMs();
    EXPECT_LE(std::llabs(first - static_cast<std::int64_t>(GetTickCount64())), 1'000);
    std::int64_t last = first;
    for (int i = 0; i < 1000; ++i) {
        const std::int64_t now = clock.TickMs();
        EXPECT_GE(now, last);
        last = now;
    }
    Sleep(20);
    EXPECT_GE(clock.TickMs() - first, 20);
}

TEST_F(Win32SchedulerTest, WaitReturnsAfterMoreThanTheRequestedTime)
{
    std::int64_t start = clock.TickMs();
    scheduler.WaitMs(30);
    EXPECT_GE(clock.TickMs() - start, 31);
    for (int ms : {0, -5}) {
        start = clock.TickMs();
        scheduler.WaitMs(ms);
        EXPECT_GE(clock.TickMs() - start, 2);
    }
}

TEST_F(Win32SchedulerTest, TimersAndPostedMessagesRunInsideWaitsAndStopWhenDisabled)
{
    int ticks = 0;
    auto timer = scheduler.CreateTimer([&] { ++ticks; });
    timer->setInterval(10);
    EXPECT_EQ(ticks, 0);
    timer->setEnabled(true);
    for (int i = 0; i < 200 && ticks < 3; ++i)
        scheduler.WaitMs(10);
    EXPECT_GE(ticks, 3);

    // A tick due during the wait but disabled before it is taken does not run.
    timer->setEnabled(false);
    const int frozen = ticks;
    scheduler.WaitMs(50);
    EXPECT_EQ(ticks, frozen);
    timer->setEnabled(true);
    timer->setInterval(0);
    scheduler.WaitMs(50);
    EXPECT_EQ(ticks, frozen);
    EXPECT_TRUE(timer->isEnabled());
    EXPECT_EQ(timer->interval(), 0);

    // Other windows' messages of the thread are pumped too, and a quit is handed back.
    PostQuitMessage(7);
    scheduler.WaitMs(5);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7U);
}

TEST_F(Win32SchedulerTest, NestedWaitsRunOtherTimersButNotTheirOwnAndCatchUpAfter)
{
    int outerCalls = 0;
    int depth = 0;
    int maxDepth = 0;
    int otherTicksInside = 0;
    int otherTicks = 0;
    std::int64_t returnedAt = 0;
    std::int64_t nextAfterReturn = 0;
    auto other = scheduler.CreateTimer([&] { ++otherTicks; });
    auto outer = scheduler.CreateTimer([&] {
        if (outerCalls == 1 && nextAfterReturn == 0)
            nextAfterReturn = clock.TickMs();
        ++outerCalls;
        maxDepth = std::max(maxDepth, ++depth);
        if (outerCalls == 1) {
            const int before = otherTicks;
            scheduler.WaitMs(120); // several of its own intervals
            otherTicksInside = otherTicks - before;
            returnedAt = clock.TickMs();
        }
        --depth;
    });
    other->setInterval(10);
    other->setEnabled(true);
    outer->setInterval(20);
    outer->setEnabled(true);
    for (int i = 0; i < 200 && outerCalls < 3; ++i)
        scheduler.WaitMs(10);
    EXPECT_GE(outerCalls, 3);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(otherTicksInside, 2);
    // The tick missed during its own wait comes at once, not a whole interval later.
    EXPECT_LT(nextAfterReturn - returnedAt, 15);
}

TEST_F(Win32SchedulerTest, ATimerMayDestroyItselfAndOutliveItsScheduler)
{
    std::unique_ptr<Timer> self;
    int ticks = 0;
    self = scheduler.CreateTimer([&] {
        ++ticks;
        self.reset();
    });
    self->setInterval(5);
    self->setEnabled(true);
    for (int i = 0; i < 100 && self; ++i)
        scheduler.WaitMs(5);
    EXPECT_EQ(self, nullptr);
    scheduler.WaitMs(30);
    EXPECT_EQ(ticks, 1);

    auto scheduler2 = std::make_unique<Win32Scheduler>();
    auto orphan = scheduler2->CreateTimer([] {});
    orphan->setInterval(5);
    orphan->setEnabled(true);
    scheduler2.reset();
    orphan->setEnabled(false);
    orphan->setEnabled(true);
    scheduler.WaitMs(20);
}
