#pragma once

#include "tools/simgame/GameFrame.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
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
    QString error;                 // one line; empty when the script is good
};

constexpr qsizetype kMaxScriptBytes = 4 * 1024 * 1024;
constexpr std::int64_t kMaxScriptSeconds = 7 * 24 * 3600;

// One step a line: "SECONDS LEVEL EXP COINS [COIN-AREA]", separated by spaces, tabs or commas;
// the values as the command line takes them (the coin area 2, 4, both or none). Seconds may
// have up to three decimals and never go back. Blank lines and lines starting with # are
// skipped.
GameScript ParseGameScript(const QByteArray& text);

// Reads and parses a script file; the error names the file or the line.
GameScript LoadGameScript(const QString& path);

// The frame description a step turns `current` into.
GameFrameSpec ApplyScriptStep(GameFrameSpec current, const ScriptStep& step);

} // namespace kesmaro
