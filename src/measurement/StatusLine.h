#pragma once

#include "common/Currency.h"
#include "platform/GameWindows.h"
#include "state/CaptureHealth.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kesmaro {

struct Program;

// What the capture cycle tells the status line. A capture that ended before reading anything:
void RecordCaptureOutcome(Program& p, CaptureOutcome outcome);
// A capture that read the regions: the cause of each number missed, and, when the level and
// the Exp were read, a sample for the rates. `coinArea` is the coin area read last. Reads the
// state only; call before the measurement update, which may take the coins over.
void RecordCapturedNumbers(Program& p, WindowId window, int coinArea);

// The rolling window as the options window sets it: brought into 10..240 minutes and saved in
// the extra settings file at once. False when the file could not be written.
bool SetRollingMinutes(Program& p, std::int64_t minutes);

// "1分未満", "約23分", "約1時間23分", "約2時間", "約3日4時間", "約3日"; "―" for no time or a
// negative one.
std::string ApproximateDuration(std::optional<double> seconds);
// "3.21%/h" (two decimals, an exact half away from zero) and "12345/h"; "―" for no rate.
std::string ExpRateText(std::optional<double> ratePerHour);
std::string CoinRateText(std::optional<double> ratePerHour);
// How long a state has lasted: "1分未満", "5分", "1時間5分", "2日3時間".
std::string ElapsedText(std::int64_t ms);

// The time until the level rises from `percent` at `ratePerHour` percent an hour; empty for a
// rate of zero or less.
std::optional<double> SecondsToNextLevel(Currency percent, std::optional<double> ratePerHour);

// Rates of the samples, per hour: the Exp in percent, the coins in coins; empty when fewer
// than two samples span some time.
struct Rates {
    std::optional<double> expPerHour;
    std::optional<double> coinsPerHour;
};
// Since the first sample of the run.
Rates RunRates(const RateHistory& history);
// Over the last `minutes` before the newest sample.
Rates RollingRates(const RateHistory& history, std::int32_t minutes);

// The texts of the status bar, each a field of its own.
struct StatusTexts {
    std::string nextLevel;    // "次のLvまで 約1時間23分（直近60分 約50分）"
    std::string rolling;      // "直近60分  Exp 3.21%/h  ｺｲﾝ 12345/h"
    std::string health;       // "" when the captures read everything, else the reason and how long
    std::string healthReason; // the reason alone, without the duration

    // The texts without what changes by the minute alone, for the debug log.
    std::string logText() const;
};

StatusTexts ComputeStatusLine(const Program& p);

} // namespace kesmaro
