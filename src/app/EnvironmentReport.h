#pragma once

#include "platform/SystemInfo.h"

#include <string>

namespace kesmaro {

struct Program;

// The computer described one item a line in Japanese, for the running log.
std::string EnvReportText(const SystemFacts& facts);
// The same facts in English, two items a line, for the debug log.
std::string EnvLogText(const SystemFacts& facts);

// The closing entry of the debug log: "OperatingInformation", the English report and the free
// physical memory, as one entry. Called once when the main window is unloaded.
void LogOperatingInformation(Program& p);

// The Help menu's environment report into the running log, between two line breaks.
void menuOperatingInfo_Click(Program& p);

} // namespace kesmaro
