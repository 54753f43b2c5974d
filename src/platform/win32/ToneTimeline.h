#pragma once

#include <algorithm>
#include <cstdint>

namespace kesmaro {

// Where a queued tone falls in time. Callers play rhythms as tone, wait, tone, as if each call
// lasted as long as its tone (Beep does); a queue that plays the next tone as soon as the last
// one ends would close the pauses shorter than a tone and run two quick beeps into one long one.
// So each tone starts as late as it would have had every earlier call blocked for its tone.
// Calls further apart than a rhythm's longest pause belong to no common rhythm: the delay is
// not carried on, or it would grow with every tone ever played.
class ToneTimeline {
public:
    // The start of a tone of `durationMs` asked for at `requestedMs` (one steady millisecond
    // clock for all calls).
    std::int64_t place(std::int64_t requestedMs, int durationMs)
    {
        std::int64_t start = requestedMs;
        if (m_placed && requestedMs - m_lastRequested <= kRhythmPauseMs)
            start = std::max(start, m_lastEnd + (requestedMs - m_lastRequested));
        m_placed = true;
        m_lastRequested = requestedMs;
        m_lastEnd = start + durationMs;
        return start;
    }

private:
    static constexpr std::int64_t kRhythmPauseMs = 1000;

    bool m_placed = false;
    std::int64_t m_lastRequested = 0;
    std::int64_t m_lastEnd = 0;
};

} // namespace kesmaro
