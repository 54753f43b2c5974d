#pragma once

#include "tools/simgame/GameFrame.h"
#include "tools/simgame/PlayerSimulation.h"

#include <string>
#include <vector>

namespace kesmaro {

struct SimGameCommand {
    enum class Mode { Render, Live, Help };
    Mode mode = Mode::Live;
    std::string output; // the PNG file of --render (UTF-8)
    GameFrameSpec frameSpec;
    // The live window: its class (both strings of WM_CLASS), and what changes its numbers.
    std::string windowClass = "Gamebryo Application";
    std::string script; // --script FILE: timed values
    bool play = false;
    PlayOptions playOptions;
    std::string error; // one line; empty when the arguments are good
};

// The command line of kesmaro-simgame without the program name. Options take their value as
// the next argument; each may be given once, --at once for each number. Rendering needs --level,
// --exp and --coins, and the frame description must be drawable (CheckGameFrameSpec). The live
// window's options (--class,
// --script,
// --play and the player's --seed, --exp-rate, --coin-rate) are refused with --render, and the
// player's with anything but --play. --help (-h) stands alone.
SimGameCommand ParseSimGameArguments(const std::vector<std::string>& arguments);

// What --help prints: the two ways to run the program and what each option does.
std::string SimGameUsage();

} // namespace kesmaro
