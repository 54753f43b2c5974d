#pragma once

#include <cstdint>

namespace kesmaro {

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// Rounds to `decimals` places, halves to even, as the conversions of the classic runtime do.
double RoundHalfEven(double value, int decimals);

// `Int`: the largest whole number not above the value (Int(-2.5) = -3).
double Int(double value);

// Converts to a 64-bit integer with half-to-even rounding; out of range is error 6.
std::int64_t ToLong(double value);

// The `\` operator: both operands rounded half to even to whole numbers first, then divided
// truncating toward zero. A zero divisor is error 11; out of range operands are error 6.
std::int64_t IntDivide(double dividend, double divisor);
std::int64_t IntDivide(std::int64_t dividend, std::int64_t divisor);

} // namespace kesmaro
