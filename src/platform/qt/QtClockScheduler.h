#pragma once

#include "platform/Clock.h"
#include "platform/Scheduler.h"

namespace kesmaro {

// The system clocks: local wall time from QDateTime, ticks from the monotonic clock.
class QtClock : public Clock {
public:
    LocalDateTime Now() const override;
    std::int64_t TickMs() const override;
};

// Timers are QTimers on the calling thread's event loop; WaitMs runs a nested QEventLoop.
class QtScheduler : public Scheduler {
public:
    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
    void WaitMs(int ms) override;
};

} // namespace kesmaro
