#pragma once

#include "platform/Clock.h"
#include "platform/Scheduler.h"

#include <cstdint>
#include <map>
#include <memory>

namespace kesmaro {

// Local wall time through the core's date-time; ticks from the performance counter, which
// counts from boot, never goes back and resolves well below the wait's millisecond.
class Win32Clock : public Clock {
public:
    LocalDateTime Now() const override;
    std::int64_t TickMs() const override;
};

// Timers live on a message-only window of the creating thread; WaitMs pumps that thread's
// messages, so it also runs the ticks, clicks and posted work of every other window there.
class Win32Scheduler : public Scheduler {
public:
    Win32Scheduler();
    ~Win32Scheduler() override;
    Win32Scheduler(const Win32Scheduler&) = delete;
    Win32Scheduler& operator=(const Win32Scheduler&) = delete;

    // False when the message window could not be made: timers then never tick.
    bool isReady() const;

    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
    void WaitMs(int ms) override;

    struct Window;

private:
    // Shared with the timers, which may outlive the scheduler and then never tick.
    std::shared_ptr<Window> m_window;
    Win32Clock m_clock;
};

} // namespace kesmaro
