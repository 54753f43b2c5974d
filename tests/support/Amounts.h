#pragma once

#include "common/Currency.h"

#include <ostream>

namespace kesmaro {

inline void PrintTo(const Currency& value, std::ostream* os)
{
    *os << value.toString();
}

inline Currency C(double value)
{
    return Currency::FromDouble(value);
}

} // namespace kesmaro
