#pragma once

#include <string>

namespace kesmaro {

struct Program;

// The measurement update after a capture that found the game in front: turns ReadLv, ReadExp
// and ReadMoney into gains and hourly rates, writes the text-log line, the record line and the
// graph sample, refreshes the result display. Detects a change of character, leaves idle
// intervals out of the rates and retries a failed recognition after 15 seconds.
void UpdateMeasurement(Program& p);

// What was not read, for the failure line ("全部 NG", "Exp NG", ...); empty when level and
// Exp were both read.
std::string RecognitionFailureText(bool levelRead, bool expRead, bool moneyRead);

// The retry delay after a failed recognition or a game in the background.
constexpr int kRetryDelayMs = 15 * 1000;

} // namespace kesmaro
