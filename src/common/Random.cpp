#include "common/Random.h"

#include <bit>

namespace kesmaro {

void RandomGenerator::RandomizeSeed(double tickMs, double secondsSinceMidnight)
{
    const double divisor = secondsSinceMidnight > 0.0 ? secondsSinceMidnight : 1.0;
    m_seed = static_cast<float>(tickMs / divisor);
    m_engine.seed(std::bit_cast<std::uint32_t>(m_seed));
}

double RandomGenerator::next()
{
    return std::generate_canonical<double, 53>(m_engine);
}

} // namespace kesmaro
