#pragma once

#include "tools/simgame/GameFrame.h"

#include <cstdint>

namespace kesmaro {

struct PlayOptions {
    std::uint64_t seed = 1;
    double expPerMinute = 6.0; // percent of a level
    std::int64_t coinsPerMinute = 1200;
};

constexpr double kMaxExpRate = 999.99;
constexpr std::int64_t kMaxCoinRate = 1000000000;

// A player hunting: Exp and coins rise at the set rates (gains vary from tick to tick), a full
// Exp bar is a level-up, and now and then the player dies and loses Exp. The same seed plays
// the same game.
class PlayerSimulation {
public:
    static constexpr int kTickMs = 250;
    // On average one death in this many ticks (about every five minutes).
    static constexpr int kTicksPerDeath = 1200;
    // Exp lost on dying, in hundredths of a percent; the bar never goes below empty.
    static constexpr std::int64_t kDeathPenalty = 500;
    // Coins come in pickups, on average one in this many ticks.
    static constexpr int kTicksPerPickup = 4;

    PlayerSimulation(const GameFrameSpec& start, const PlayOptions& options);

    // Plays one tick; true when the level, Exp or coins shown changed.
    bool tick();

    const GameFrameSpec& frameSpec() const { return m_spec; }
    int deaths() const { return m_deaths; }
    int levelUps() const { return m_levelUps; }

private:
    std::uint64_t next();
    double uniform(); // [0, 1)

    GameFrameSpec m_spec;
    PlayOptions m_options;
    std::uint64_t m_state;
    std::int64_t m_exp; // hundredths of a percent
    double m_expCarry = 0.0;
    double m_coinCarry = 0.0;
    int m_deaths = 0;
    int m_levelUps = 0;
};

} // namespace kesmaro
