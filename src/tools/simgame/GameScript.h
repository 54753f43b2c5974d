#pragma once

#include "tools/simgame/GameFrame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

// From `atMs` after the window opens, the game shows these numbers.
struct ScriptStep {
    std::int64_t atMs = 0;
    int line = 0; // in the script, for messages
    int level = 1;
    double expPercent = 0.0;
    std::int64_t coins = 0;
    std::optional<CoinArea> coinArea; // unchanged when not given
};

struct GameScript {
    std::vector<ScriptStep> steps; // in time order
    std::string error;             // one line; empty when the script is good
};

constexpr std::int64_t kMaxScriptBytes = 4 * 1024 * 1024;
constexpr std::int64_t kMaxScriptSeconds = 7 * 24 * 3600;

// One step a line: "SECONDS LEVEL EXP COINS [COIN-AREA]", separated by spaces, tabs or commas;
// the values as the command line takes them (the coin area 2, 4, both or none). Seconds may
// have up to three decimals and never go back. Blank lines and lines starting with # are
// skipped.
GameScript ParseGameScript(std::string_view text);

// Reads and parses a script file; the error names the file or the line.
GameScript LoadGameScript(const std::string& path);

// Empty when every step of the script leaves a frame that can be drawn from `start` on (a
// coin area outside a small --size cannot); otherwise the first step's problem, one line.
std::string CheckScriptFrames(const GameScript& script, const GameFrameSpec& start);

// The frame description a step turns `current` into.
GameFrameSpec ApplyScriptStep(GameFrameSpec current, const ScriptStep& step);

} // namespace kesmaro
