#pragma once

#include "common/Format.h"

#include <string>
#include <string_view>

namespace kesmaro {

struct Program;

enum class DisplayMode {
    Update,        // the end and gain rows from the last measurement
    Clear,         // every label empty
    TakeStart,     // the start row from the first measurement of a run
    ClosingReport, // the run's summary into txtLog
};

// Keeps the result labels up to date. The label texts are the working memory: gains and the
// closing report are read back from them. Failing statements are skipped; only the update
// mode reports a failure, with "Error Trap : DisplayResult".
void DisplayResult(Program& p, DisplayMode mode);

// "<d>日 <h>時 <m>分間": the minute boundaries crossed from `start` to `end`, both texts in the
// "yyyy/MM/dd hh:mm:ss" form of the time labels. Error 13 when a text is not such a date.
std::string ElapsedText(std::string_view end, std::string_view start);

// A percentage as the Exp labels show it: "#0.00 ％".
std::string ExpText(const ColumnValue& percent);

} // namespace kesmaro
