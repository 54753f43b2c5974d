#pragma once

#include "tools/simgame/GameFrame.h"

namespace kesmaro::test {

// What a frame of the simulated game shows.
inline GameFrameSpec FrameSpec(int level, double exp, std::int64_t coins,
                               CoinArea area = CoinArea::Area2, bool windowMode = false,
                               InterfaceColour colour = InterfaceColour::Yellow,
                               FrameExtent size = {})
{
    GameFrameSpec s;
    s.level = level;
    s.expPercent = exp;
    s.coins = coins;
    s.coinArea = area;
    s.windowMode = windowMode;
    s.colour = colour;
    s.size = size;
    return s;
}

} // namespace kesmaro::test
