#pragma once

#include "platform/Scheduler.h"
#include "platform/sim/SimClock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace kesmaro {

// A discrete-event scheduler on a SimClock. Time moves only inside WaitMs and runUntil, from
// one due item to the next: scripted events first, then timer ticks, at equal times each in
// the order it was scheduled. Waits nest: an item that waits runs the items due during its own
// wait, and the outer wait then continues from the later time.
class SimScheduler : public Scheduler {
public:
    explicit SimScheduler(SimClock& clock) : m_clock(clock) {}
    ~SimScheduler() override;

    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
    void WaitMs(int ms) override;

    // A one-off event at an absolute elapsed time; one in the past runs at the next chance.
    void at(std::int64_t elapsedMs, std::function<void()> event);
    // Runs everything due up to `elapsedMs`, then sets the clock there (the top-level loop).
    void runUntil(std::int64_t elapsedMs);
    // The time of the next pending item, or -1 when nothing is pending.
    std::int64_t nextDueMs() const;
    // How deep the running waits are nested (0 at top level).
    int waitDepth() const { return m_depth; }
    // From now on every timer tick fires up to `maxMs` early or late around its regular time,
    // as a real event loop's do; the regular times themselves do not drift. 0 = exact.
    void setTimerJitter(int maxMs, std::uint32_t seed);

    struct TimerState;

private:
    // Runs the earliest item due at or before `deadline`; false when there is none.
    bool runNext(std::int64_t deadline);
    void advance(std::int64_t deadline);
    std::int64_t jittered(std::int64_t regularMs);

    SimClock& m_clock;
    // Scripted events by (due time, order of scheduling): the first one is the next to run.
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> m_events;
    std::vector<std::shared_ptr<TimerState>> m_timers;
    std::uint64_t m_seq = 0;
    int m_depth = 0;
    int m_jitterMs = 0;
    std::minstd_rand m_jitter;

    friend class SimTimer;
};

} // namespace kesmaro
