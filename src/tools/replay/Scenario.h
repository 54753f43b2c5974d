#pragma once

#include "app/Command.h"
#include "common/DateTime.h"
#include "platform/Prompter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

// One timed line of a replay scenario.
struct ScenarioEvent {
    enum class Kind { Window, Frame, Background, Foreground, Close, Click };
    std::int64_t timeMs = 0;
    Kind kind = Kind::Click;
    std::string argument;           // absolute image path (UTF-8) for Window/Frame
    Command command = Command::End; // for Click
    int line = 0;
};

// A scripted play session: what the world does and what the user clicks, on a simulated clock.
struct Scenario {
    std::optional<DateTime> start;     // local time at t = 0
    std::int64_t bootMs = 3600 * 1000; // TickMs at t = 0
    std::string settingsFile;          // absolute path, empty when none
    std::vector<PromptAnswer> answers; // queued message-box answers, in order
    std::vector<ScenarioEvent> events; // in time order
};

// Reads a scenario: UTF-8, one directive a line, '#' starts a comment, paths relative to the
// scenario's folder. Nothing is run when the scenario is invalid: `error` then says
// "<file>:<line>: <fault>".
std::optional<Scenario> ParseScenario(const std::string& path, std::string& error);
std::optional<Scenario> ParseScenarioText(std::string_view text, const std::string& baseFolder,
                                          const std::string& fileName, std::string& error);

} // namespace kesmaro
