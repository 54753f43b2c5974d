#pragma once

#include "common/Currency.h"
#include "common/DateTime.h"
#include "common/DebugLog.h"
#include "platform/Clock.h"

#include <array>
#include <cstdint>

namespace kesmaro {

// The interval of the capture timer: it only asks whether a capture is due.
constexpr int kCaptureTickMs = 10 * 1000;

// Index of the current/previous/difference triples.
enum Track : int { TrackCurrent = 0, TrackPrevious = 1, TrackDifference = 2 };

// Which coin region the capture cycle reads.
enum MoneyArea : int { MoneyAreaDetect = 0, MoneyAreaFirst = 1, MoneyAreaSecond = 2 };

// Index of MoneyPair.
enum MoneyPairIndex : int { MoneyPairStart = 0, MoneyPairLatest = 1 };

// Index of DoHLTrack: the level-up/death check's percentages.
enum DoHLTrackIndex : int { DoHLCurrent = 0, DoHLPrevious = 1, DoHLChange = 2, DoHLLastRise = 3 };

// A reading of the Exp area (ReadExp, DoHLReadExp: the digits read, the percentage x 100) as
// the percentage, exactly: 1234 is 12.34, the "not read" -1 is -0.01. Hundredths of a reading
// round half to even, as every conversion to four decimals does.
constexpr Currency ExpPercent(Currency reading)
{
    const std::int64_t raw = reading.raw();
    std::int64_t quotient = raw / 100;
    const std::int64_t twice = 2 * (raw % 100 < 0 ? -(raw % 100) : raw % 100);
    if (twice > 100 || (twice == 100 && quotient % 2 != 0))
        quotient += raw < 0 ? -1 : 1;
    return Currency::FromRaw(quotient);
}

// The record of the measuring loop; one for the program, never saved. Everything starts at
// zero: the run start sets the "none" markers (-1) it needs.
struct MeasurementState {
    // Values of the latest capture; -1 = not read. ReadExp is the percentage x 100.
    std::int32_t ReadLv = 0;
    Currency ReadExp;
    Currency ReadMoney;

    std::array<std::int32_t, 3> LevelTrack{};
    std::array<Currency, 3> ExpTrack{}; // percent
    std::array<Currency, 3> MoneyTrack{};
    std::array<std::int32_t, 3> ExpClock{};   // whole seconds of TickMs; [1] = 0: no measurement
    std::array<std::int32_t, 3> MoneyClock{}; // yet in this run

    // When the next capture is due: the local time shown and logged, and beside it the
    // monotonic deadline that decides, so that a wall-clock jump neither stalls nor bunches
    // captures. Set both through scheduleCapture.
    DateTime NextCaptureTime;
    std::int64_t NextCaptureTick = 0;
    bool CaptureBusy = false;
    std::int32_t MoneyAreaMode = MoneyAreaDetect;
    std::int32_t BackgroundTicks = 0;

    // Coins at the start of the run and the latest valid reading; -1 = none.
    std::array<Currency, 2> MoneyPair{};

    Currency DoHLReadExp;
    // Percent, by DoHLTrackIndex: current, previous, change at the latest change, last rise.
    std::array<Currency, 4> DoHLTrack{};

    void scheduleCapture(const Clock& clock, std::int64_t delayMs)
    {
        NextCaptureTime = DateTime(clock.Now()).addMilliseconds(delayMs);
        NextCaptureTick = clock.TickMs() + delayMs;
    }
    // Due on the first tick less than a quarter tick before the deadline. A deadline set on a
    // tick falls on a later tick, and one set 15 s after a tick falls half-way between two:
    // with a quarter tick of slack neither moves to another tick when the timer fires a little
    // early or late.
    bool captureDue(const Clock& clock) const
    {
        return NextCaptureTick - clock.TickMs() < kCaptureTickMs / 4;
    }
};

} // namespace kesmaro
