#include "records/InputCheck.h"

#include "common/Format.h"
#include "common/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kesmaro {

InputCheck::InputCheck(std::string_view min, std::string_view max, std::string_view step)
{
    const double a = Val(min);
    const double b = Val(max);
    m_min = b > a ? a : b;
    m_max = b > a ? b : a;
    m_step = std::abs(Val(step));
}

bool InputCheck::KeyPasses(char32_t c)
{
    return (c >= U'0' && c <= U'9') || c == U'-' || c == U'.' || c == U'E' || c == U'e';
}

bool InputCheck::ValidCharacters(std::string_view text)
{
    for (const char32_t c : CodePoints(text))
        if (c != U' ' && !KeyPasses(c))
            return false;
    return true;
}

std::string InputCheck::NumberText(double value)
{
    if (value == 0)
        return "0"; // no "-0"
    // The longest fixed text of a double (1.8e308 with all its digits) fits.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

std::string InputCheck::Dec(std::string_view text) const
{
    double value = Val(text) - m_step;
    // A number beyond a double's range stands for the bound on its side.
    if (std::isinf(value))
        value = value > 0 ? m_max : m_min;
    return NumberText(std::max(value, m_min));
}

std::string InputCheck::Inc(std::string_view text) const
{
    double value = Val(text) + m_step;
    if (std::isinf(value))
        value = value > 0 ? m_max : m_min;
    return NumberText(std::min(value, m_max));
}

InputCheck::Verdict InputCheck::Confirm(std::string_view text, double* value) const
{
    if (!ValidCharacters(text))
        return Verdict::InvalidCharacters;
    const double read = Val(text);
    if (read < m_min)
        return Verdict::BelowMinimum;
    if (read > m_max)
        return Verdict::AboveMaximum;
    if (value)
        *value = read;
    return Verdict::Confirmed;
}

} // namespace kesmaro
