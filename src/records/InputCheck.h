#pragma once

#include <string>
#include <string_view>

namespace kesmaro {

// The bounded numeric input dialog without its widgets: the bounds, the step and the rules of
// its keys and buttons over the text being typed.
class InputCheck {
public:
    // Bounds in either order; the step's sign is ignored.
    InputCheck(std::string_view min, std::string_view max, std::string_view step);

    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }
    double step() const { return m_step; }

    // Whether a typed character reaches the text box (Enter moves the focus instead).
    static bool KeyPasses(char32_t c);
    // Blanks, signs, points, digits and exponent letters only.
    static bool ValidCharacters(std::string_view text);
    // A number's shortest decimal text: -2048, 1440, 0.5.
    static std::string NumberText(double value);

    // The step buttons: the text's number moved by the step, never beyond the bound it moves
    // towards. The caller has checked the characters.
    std::string Dec(std::string_view text) const;
    std::string Inc(std::string_view text) const;

    enum class Verdict { Confirmed, InvalidCharacters, BelowMinimum, AboveMaximum };
    // The confirm button's check; `value` is the number read when confirmed. A number too large
    // for a double reads as infinite and so lies beyond a bound.
    Verdict Confirm(std::string_view text, double* value) const;

private:
    double m_min = 0;
    double m_max = 0;
    double m_step = 0;
};

} // namespace kesmaro
