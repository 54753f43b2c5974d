#include "common/Currency.h"

#include "common/Numeric.h"
#include "common/TrappedError.h"

#include <cmath>

namespace kesmaro {

namespace {

// 128-bit intermediates make overflow checks and exact products simple (GCC and Clang).
__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

std::int64_t checked(Int128 value)
{
    if (value > INT64_MAX || value < INT64_MIN)
        Raise(ErrOverflow);
    return static_cast<std::int64_t>(value);
}

} // namespace

Currency Currency::FromInteger(std::int64_t units)
{
    return Currency(checked(static_cast<Int128>(units) * kScale));
}

Currency Currency::FromDouble(double value)
{
    const double scaled = RoundHalfEven(value * static_cast<double>(kScale));
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        Raise(ErrOverflow);
    return Currency(static_cast<std::int64_t>(scaled));
}

std::string Currency::toString() const
{
    const bool negative = m_raw < 0;
    const UInt128 magnitude = negative ? -static_cast<Int128>(m_raw) : static_cast<Int128>(m_raw);
    const auto whole = static_cast<unsigned long long>(magnitude / kScale);
    const auto fraction = static_cast<unsigned>(magnitude % kScale);
    std::string text = std::to_string(whole);
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (digits.back() == '0')
            digits.pop_back();
        text += '.' + digits;
    }
    return negative ? '-' + text : text;
}

Currency Currency::operator-() const
{
    return Currency(checked(-static_cast<Int128>(m_raw)));
}

Currency Currency::operator+(Currency other) const
{
    return Currency(checked(static_cast<Int128>(m_raw) + other.m_raw));
}

Currency Currency::operator-(Currency other) const
{
    return Currency(checked(static_cast<Int128>(m_raw) - other.m_raw));
}

Currency Currency::operator*(Currency other) const
{
    const Int128 product = static_cast<Int128>(m_raw) * other.m_raw;
    Int128 quotient = product / kScale;
    const Int128 remainder = product % kScale;
    // Half to even on the exact remainder; the quotient truncated toward zero.
    const Int128 twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > kScale || (twice == kScale && (quotient % 2) != 0))
        quotient += product < 0 ? -1 : 1;
    return Currency(checked(quotient));
}

double Currency::operator/(Currency other) const
{
    if (other.m_raw == 0)
        Raise(ErrDivisionByZero);
    return static_cast<double>(m_raw) / static_cast<double>(other.m_raw);
}

} // namespace kesmaro
