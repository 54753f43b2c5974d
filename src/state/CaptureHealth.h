#pragma once

#include "common/Currency.h"
#include "config/Settings.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace kesmaro {

// How the latest capture went, for the status line; kept beside the measurement and never
// written anywhere.
enum class CaptureOutcome {
    None,          // no capture yet
    WindowMissing, // the game window was not found
    Background,    // the game window was not in front
    Captured,      // the regions were grabbed and read
};

// Why a category gave no number, as far as the capture can tell.
enum class ReadCause {
    Read,          // a number was read
    OutsideWindow, // the region reaches beyond the game window
    NoGlyphColour, // nothing in the region passed the category's threshold and mask
    UnknownGlyph,  // something was there, but no digit of the glyph table matched
};

struct CaptureHealth {
    CaptureOutcome outcome = CaptureOutcome::None;
    std::array<ReadCause, kCategoryCount> causes{ReadCause::Read, ReadCause::Read, ReadCause::Read};
    // A capture that missed a number and found every region it grabbed black, inside the
    // window: the window's own pixels cannot be read (a game drawn past the window's device
    // context), not a setting that is off.
    bool allBlack = false;
    // Monotonic time of the first capture of the current unhealthy streak; empty while the
    // latest capture read all three numbers.
    std::optional<std::int64_t> unhealthySinceMs;

    bool healthy() const
    {
        if (outcome != CaptureOutcome::Captured)
            return outcome == CaptureOutcome::None;
        for (ReadCause cause : causes)
            if (cause != ReadCause::Read)
                return false;
        return true;
    }
};

// One capture that read the level and the Exp: the Exp as a position that keeps rising across
// level-ups (level x 100 + percent), and the coins when they were read.
struct RateSample {
    std::int64_t tickMs = 0;
    std::int32_t level = 0;
    Currency position; // percent
    std::optional<Currency> coins;
};

// The samples of the current run and character, for the run's and the rolling rates.
struct RateHistory {
    std::string runStamp; // LogStartStamp of the run the samples belong to
    std::optional<RateSample> first;
    std::deque<RateSample> recent; // the rolling window, oldest first
};

} // namespace kesmaro
