#pragma once

#include <cstdint>
#include <random>

namespace kesmaro {

// The program's one random number generator; the random-number tools draw from it.
class RandomGenerator {
public:
    // `RandomizeSeed`: seed = milliseconds since system start / seconds since midnight, as a
    // single-precision value. At midnight the divisor is taken as 1 instead of dividing by 0.
    void RandomizeSeed(double tickMs, double secondsSinceMidnight);
    // Uniform in [0, 1).
    double next();
    float lastSeed() const { return m_seed; }

private:
    float m_seed = 0.0F;
    std::mt19937_64 m_engine{0};
};

} // namespace kesmaro
