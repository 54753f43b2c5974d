#pragma once

#include <chrono>
#include <cstdint>

namespace kesmaro {

// A wall-clock reading in local time, milliseconds resolution.
using LocalDateTime = std::chrono::local_time<std::chrono::milliseconds>;

class Clock {
public:
    virtual ~Clock() = default;

    // The current local date and time as the user's desktop shows it. It may jump (daylight
    // saving, time corrections): never use it to measure durations.
    virtual LocalDateTime Now() const = 0;

    // Milliseconds since the system started, monotonic and 64-bit: it never goes back and never
    // wraps, so durations are plain differences.
    virtual std::int64_t TickMs() const = 0;
};

} // namespace kesmaro
