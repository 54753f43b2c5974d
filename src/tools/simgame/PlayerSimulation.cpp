#include "tools/simgame/PlayerSimulation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kesmaro {

namespace {

constexpr std::int64_t kFullBar = 10000;
constexpr double kTicksPerMinute = 60000.0 / PlayerSimulation::kTickMs;

} // namespace

PlayerSimulation::PlayerSimulation(const GameFrameSpec& start, const PlayOptions& options)
    : m_spec(start), m_options(options), m_state(options.seed)
{
    const double exp = std::isfinite(start.expPercent) ? start.expPercent : 0.0;
    m_exp =
        std::clamp<std::int64_t>(std::llround(std::clamp(exp, 0.0, 100.0) * 100.0), 0, kFullBar);
    m_spec.level = std::clamp(start.level, kMinFrameLevel, kMaxFrameLevel);
    m_spec.coins = std::max<std::int64_t>(start.coins, 0);
    m_spec.expPercent = static_cast<double>(m_exp) / 100.0;
    m_options.expPerMinute = std::clamp(options.expPerMinute, 0.0, kMaxExpRate);
    m_options.coinsPerMinute = std::clamp<std::int64_t>(options.coinsPerMinute, 0, kMaxCoinRate);
}

// SplitMix64: the same sequence on every platform, unlike the standard distributions.
std::uint64_t PlayerSimulation::next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double PlayerSimulation::uniform()
{
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

bool PlayerSimulation::tick()
{
    const int level = m_spec.level;
    const std::int64_t exp = m_exp;
    const std::int64_t coins = m_spec.coins;

    if (uniform() * kTicksPerDeath < 1.0) {
        ++m_deaths;
        m_exp = std::max<std::int64_t>(0, m_exp - kDeathPenalty);
        m_expCarry = 0.0;
    } else {
        m_expCarry += m_options.expPerMinute * 100.0 / kTicksPerMinute * (0.5 + uniform());
        const double whole = std::floor(m_expCarry);
        m_expCarry -= whole;
        m_exp += static_cast<std::int64_t>(whole);
        while (m_exp >= kFullBar && m_spec.level < kMaxFrameLevel) {
            m_exp -= kFullBar;
            ++m_spec.level;
            ++m_levelUps;
        }
        m_exp = std::min(m_exp, kFullBar); // the last level's bar stays full
    }

    if (uniform() * kTicksPerPickup < 1.0) {
        m_coinCarry += static_cast<double>(m_options.coinsPerMinute) / kTicksPerMinute *
                       kTicksPerPickup * (0.5 + uniform());
        const double whole = std::floor(m_coinCarry);
        m_coinCarry -= whole;
        const auto gain = static_cast<std::int64_t>(whole);
        constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
        m_spec.coins = m_spec.coins > kMax - gain ? kMax : m_spec.coins + gain;
    }

    m_spec.expPercent = static_cast<double>(m_exp) / 100.0;
    return m_spec.level != level || m_exp != exp || m_spec.coins != coins;
}

} // namespace kesmaro
