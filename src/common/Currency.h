#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace kesmaro {

// Fixed point with four decimal places in 64 bits: Exp percentages, coins and rates. Every
// result that leaves the range raises error 6 instead of wrapping.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    // Whole units (coins, levels); error 6 when out of range.
    static Currency FromInteger(std::int64_t units);
    // Rounds half to even at the fourth decimal; error 6 when out of range or not finite.
    static Currency FromDouble(double value);
    static constexpr Currency FromRaw(std::int64_t raw) { return Currency(raw); }

    constexpr std::int64_t raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / kScale; }
    // Plain decimal text with only the decimals needed ("12.5", "-1", "0").
    std::string toString() const;

    Currency operator-() const;
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    // Exact product rounded half to even at the fourth decimal.
    Currency operator*(Currency other) const;
    // Division yields a double, as with the classic runtime; convert back with FromDouble.
    double operator/(Currency other) const;

    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }

    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t raw) : m_raw(raw) {}
    std::int64_t m_raw = 0;
};

} // namespace kesmaro
