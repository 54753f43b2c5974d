#pragma once

#include <functional>
#include <memory>

namespace kesmaro {

// A periodic timer owned by its creator; destroying it stops it.
class Timer {
public:
    virtual ~Timer() = default;

    // Milliseconds between ticks. Changing it while enabled restarts the count; 0 or less means
    // the timer never ticks (it stays enabled, as a timer of interval 0 does).
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;

    // Enabling a disabled timer starts a fresh count: the first tick comes one interval later.
    // Enabling an enabled timer changes nothing. A disabled timer never ticks, also when it was
    // due inside a running wait.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

// Timers and the message-processing wait. Everything runs on one thread: ticks, clicks and
// scripted events run inside `WaitMs` (re-entrantly), never concurrently. A timer does not tick
// again while its own callback is still running (a wait inside it skips its own ticks); when
// the callback returns late, the overdue tick comes at once and the count resumes from there.
class Scheduler {
public:
    virtual ~Scheduler() = default;

    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) = 0;

    // Returns once more than `ms` milliseconds have passed (at least 1 ms for 0 or less: the
    // wait lasts max(ms, 1) + 1 ms), running every timer tick and other event that falls due
    // meanwhile. Waiting costs no processor time.
    virtual void WaitMs(int ms) = 0;
};

} // namespace kesmaro
