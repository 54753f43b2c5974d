#pragma once

#include "platform/Clock.h"

namespace kesmaro {

// Simulated time: elapsed milliseconds since t = 0, advanced only by the SimScheduler.
class SimClock : public Clock {
public:
    SimClock(LocalDateTime start, std::int64_t bootTickMs) : m_start(start), m_boot(bootTickMs) {}

    LocalDateTime Now() const override
    {
        return m_start + std::chrono::milliseconds(m_elapsed + m_wallShift);
    }
    std::int64_t TickMs() const override { return m_boot + m_elapsed; }

    std::int64_t elapsedMs() const { return m_elapsed; }
    // Time never runs backwards; an earlier value is ignored.
    void advanceTo(std::int64_t elapsedMs)
    {
        if (elapsedMs > m_elapsed)
            m_elapsed = elapsedMs;
    }
    // Moves the wall clock alone, as a daylight-saving change or a time correction does.
    void shiftWallClock(std::int64_t ms) { m_wallShift += ms; }

private:
    LocalDateTime m_start;
    std::int64_t m_boot;
    std::int64_t m_elapsed = 0;
    std::int64_t m_wallShift = 0;
};

} // namespace kesmaro
