#include "platform/sim/SimScheduler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;
using ::testing::ElementsAre;

namespace {

class SimSchedulerTest : public ::testing::Test {
protected:
    std::int64_t now() const { return m_clock.elapsedMs(); }
    // Records "<name>@<time>" whenever called.
    std::function<void()> mark(std::string name)
    {
        return [this, name] { m_trace.push_back(name + "@" + std::to_string(now())); };
    }
    std::unique_ptr<Timer> timer(int interval, std::function<void()> onTick)
    {
        auto t = m_scheduler.CreateTimer(std::move(onTick));
        t->setInterval(interval);
        t->setEnabled(true);
        return t;
    }

    SimClock m_clock{LocalDateTime{}, 1000};
    SimScheduler m_scheduler{m_clock};
    std::vector<std::string> m_trace;
};

} // namespace

TEST_F(SimSchedulerTest, TimerTicksOneIntervalAfterEnablingAndRestartsWhenReEnabled)
{
    auto t = timer(10'000, mark("tick"));
    m_scheduler.runUntil(25'000);
    t->setEnabled(false);
    m_scheduler.runUntil(40'000);
    t->setEnabled(true);
    t->setEnabled(true); // no restart when already enabled
    m_scheduler.runUntil(55'000);
    EXPECT_THAT(m_trace, ElementsAre("tick@10000", "tick@20000", "tick@50000"));
    EXPECT_EQ(m_clock.TickMs(), 56'000);
}

TEST_F(SimSchedulerTest, ChangingTheIntervalRestartsTheCountAndZeroNeverTicks)
{
    auto t = timer(10'000, mark("tick"));
    m_scheduler.runUntil(7'000);
    t->setInterval(5'000);
    m_scheduler.runUntil(13'000);
    t->setInterval(0);
    m_scheduler.runUntil(60'000);
    EXPECT_TRUE(t->isEnabled());
    EXPECT_THAT(m_trace, ElementsAre("tick@12000"));
}

TEST_F(SimSchedulerTest, WaitLastsMoreThanRequestedAndAtLeastTwoMilliseconds)
{
    m_scheduler.WaitMs(500);
    EXPECT_EQ(now(), 501);
    m_scheduler.WaitMs(0);
    EXPECT_EQ(now(), 503);
    m_scheduler.WaitMs(-20);
    EXPECT_EQ(now(), 505);
}

TEST_F(SimSchedulerTest, TimersAndEventsRunInsideAWaitAtTheirOwnTimes)
{
    auto t = timer(1'000, mark("tick"));
    m_scheduler.at(1'500, mark("event"));
    m_scheduler.WaitMs(2'500);
    EXPECT_THAT(m_trace, ElementsAre("tick@1000", "event@1500", "tick@2000"));
    EXPECT_EQ(now(), 2'501);
}

TEST_F(SimSchedulerTest, NestedWaitsRunEverythingDueAndTheOuterWaitContinuesLater)
{
    // A tick at 1000 waits 5 s; the event at 2000 runs inside that inner wait, and the outer
    // wait (due to end at 3001) returns at 6001, when the inner one ended.
    std::unique_ptr<Timer> t;
    t = timer(1'000, [&] {
        m_trace.push_back("tick-start@" + std::to_string(now()));
        t->setEnabled(false);
        m_scheduler.WaitMs(4'999);
        m_trace.push_back("tick-end@" + std::to_string(now()));
    });
    m_scheduler.at(2'000, [&] {
        m_trace.push_back("event@" + std::to_string(now()) + " depth " +
                          std::to_string(m_scheduler.waitDepth()));
    });
    m_scheduler.WaitMs(3'000);
    EXPECT_THAT(m_trace, ElementsAre("tick-start@1000", "event@2000 depth 2", "tick-end@6000"));
    EXPECT_EQ(now(), 6'000);
    EXPECT_EQ(m_scheduler.waitDepth(), 0);
}

TEST_F(SimSchedulerTest, ATimerNeverReentersItselfAndAnOverdueTickComesWhenItReturns)
{
    int depth = 0;
    int maxDepth = 0;
    auto slow = timer(1'000, [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        m_trace.push_back("slow@" + std::to_string(now()));
        if (now() < 2'000)
            m_scheduler.WaitMs(2'499); // runs until 3500, past two of its own ticks
        --depth;
    });
    auto other = timer(1'000, mark("other"));
    m_scheduler.runUntil(5'000);
    EXPECT_EQ(maxDepth, 1);
    // slow: 1000 (waits until 3500), then late at 3500 once, then the count resumes: 4500.
    EXPECT_THAT(m_trace, ElementsAre("slow@1000", "other@1000", "other@2000", "other@3000",
                                     "slow@3500", "other@4000", "slow@4500", "other@5000"));
}

TEST_F(SimSchedulerTest, ATimerDisabledDuringAWaitDoesNotTick)
{
    auto victim = timer(1'000, mark("victim"));
    m_scheduler.at(500, [&] { victim->setEnabled(false); });
    m_scheduler.WaitMs(3'000);
    EXPECT_TRUE(m_trace.empty());

    // Disabled by an event that runs inside another callback's wait, at its due time.
    auto second = timer(1'000, mark("second"));
    auto first = m_scheduler.CreateTimer([&] {
        m_trace.push_back("first@" + std::to_string(now()));
        m_scheduler.WaitMs(10);
    });
    first->setInterval(990);
    first->setEnabled(true);
    m_scheduler.at(now() + 995, [&] { second->setEnabled(false); });
    m_scheduler.runUntil(now() + 1'500);
    EXPECT_THAT(m_trace, ElementsAre("first@3991"));
}

TEST_F(SimSchedulerTest, EqualDueTimesRunEventsFirstThenInTheOrderScheduled)
{
    auto b = timer(1'000, mark("timer-b"));
    auto a = timer(1'000, mark("timer-a"));
    m_scheduler.at(1'000, mark("event-1"));
    m_scheduler.at(1'000, mark("event-2"));
    m_scheduler.runUntil(1'000);
    EXPECT_THAT(m_trace,
                ElementsAre("event-1@1000", "event-2@1000", "timer-b@1000", "timer-a@1000"));
    m_trace.clear();
    // A restarted count goes behind counts that started earlier.
    b->setEnabled(false);
    b->setEnabled(true);
    m_scheduler.runUntil(2'000);
    EXPECT_THAT(m_trace, ElementsAre("timer-a@2000", "timer-b@2000"));
}

TEST_F(SimSchedulerTest, ATimerMayDestroyItselfOrOthersFromItsCallback)
{
    std::unique_ptr<Timer> other = timer(1'000, mark("other"));
    std::unique_ptr<Timer> self;
    self = timer(1'000, [&] {
        m_trace.push_back("self@" + std::to_string(now()));
        other.reset();
        self.reset();
    });
    m_scheduler.runUntil(3'000);
    EXPECT_THAT(m_trace, ElementsAre("other@1000", "self@1000"));
    EXPECT_EQ(m_scheduler.nextDueMs(), -1);
}

TEST_F(SimSchedulerTest, EventsInThePastRunAtOnceAndTimeNeverGoesBack)
{
    m_scheduler.runUntil(5'000);
    m_scheduler.at(1'000, mark("late"));
    EXPECT_EQ(m_scheduler.nextDueMs(), 1'000);
    m_scheduler.WaitMs(1);
    EXPECT_THAT(m_trace, ElementsAre("late@5000"));
    m_scheduler.runUntil(100);
    EXPECT_EQ(now(), 5'002);
}
