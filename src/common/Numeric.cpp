#include "common/Numeric.h"

#include "common/TrappedError.h"

#include <cmath>
#include <limits>

namespace kesmaro {

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1.0;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

double RoundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value;
    return RoundHalfEven(scaled) / scale;
}

double Int(double value)
{
    return std::floor(value);
}

std::int64_t ToLong(double value)
{
    const double r = RoundHalfEven(value);
    // 2^63 is exactly representable; anything at or beyond it (or NaN) does not fit.
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        Raise(ErrOverflow);
    return static_cast<std::int64_t>(r);
}

std::int64_t IntDivide(std::int64_t dividend, std::int64_t divisor)
{
    if (divisor == 0)
        Raise(ErrDivisionByZero);
    if (dividend == std::numeric_limits<std::int64_t>::min() && divisor == -1)
        Raise(ErrOverflow);
    return dividend / divisor;
}

std::int64_t IntDivide(double dividend, double divisor)
{
    return IntDivide(ToLong(dividend), ToLong(divisor));
}

} // namespace kesmaro
