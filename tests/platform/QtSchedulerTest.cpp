#include "platform/qt/QtClockScheduler.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <vector>

using namespace kesmaro;

// These check order and lower bounds only: a loaded machine may make anything later, never
// earlier.

TEST(QtSchedulerTest, WaitReturnsAfterMoreThanTheRequestedTime)
{
    QtClock clock;
    QtScheduler scheduler;
    const std::int64_t start = clock.TickMs();
    scheduler.WaitMs(30);
    EXPECT_GE(clock.TickMs() - start, 31);
    const std::int64_t again = clock.TickMs();
    scheduler.WaitMs(0);
    EXPECT_GE(clock.TickMs() - again, 2);
}

TEST(QtSchedulerTest, TimersTickInsideWaitsAndStopWhenDisabled)
{
    QtScheduler scheduler;
    int ticks = 0;
    auto timer = scheduler.CreateTimer([&] { ++ticks; });
    timer->setInterval(5);
    timer->setEnabled(true);
    for (int i = 0; i < 400 && ticks < 3; ++i)
        scheduler.WaitMs(5);
    EXPECT_GE(ticks, 3);
    timer->setEnabled(false);
    const int frozen = ticks;
    scheduler.WaitMs(30);
    EXPECT_EQ(ticks, frozen);
    timer->setEnabled(true);
    timer->setInterval(0); // enabled with interval 0: never ticks
    scheduler.WaitMs(30);
    EXPECT_EQ(ticks, frozen);
}

TEST(QtSchedulerTest, ATimerDoesNotReenterItsOwnCallback)
{
    QtScheduler scheduler;
    int depth = 0;
    int maxDepth = 0;
    int calls = 0;
    std::unique_ptr<Timer> timer = scheduler.CreateTimer([&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1)
            scheduler.WaitMs(40); // several of its own intervals
        --depth;
    });
    timer->setInterval(5);
    timer->setEnabled(true);
    for (int i = 0; i < 400 && calls < 3; ++i)
        scheduler.WaitMs(5);
    EXPECT_GE(calls, 3);
    EXPECT_EQ(maxDepth, 1);
}

TEST(QtClockTest, NowIsTheLocalWallClock)
{
    QtClock clock;
    const auto local = clock.Now().time_since_epoch().count();
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 expected = now.toMSecsSinceEpoch() + qint64{now.offsetFromUtc()} * 1000;
    EXPECT_LE(std::llabs(local - expected), 5'000);
    EXPECT_LE(clock.TickMs(), clock.TickMs());
}
