#pragma once

#include <QString>

namespace kesmaro {

// The bounded numeric input dialog without its widgets: the bounds, the step and the rules of
// its keys and buttons over the text being typed.
class InputCheck {
public:
    // Bounds in either order; the step's sign is ignored.
    InputCheck(const QString& min, const QString& max, const QString& step);

    double minValue() const { return m_min; }
    double maxValue() const { return m_max; }
    double step() const { return m_step; }

    // Whether a typed character reaches the text box (Enter moves the focus instead).
    static bool KeyPasses(QChar c);
    // Blanks, signs, points, digits and exponent letters only.
    static bool ValidCharacters(const QString& text);
    // A number's shortest decimal text: -2048, 1440, 0.5.
    static QString NumberText(double value);

    // The step buttons: the text's number moved by the step, never beyond the bound it moves
    // towards. The caller has checked the characters.
    QString Dec(const QString& text) const;
    QString Inc(const QString& text) const;

    enum class Verdict { Confirmed, InvalidCharacters, BelowMinimum, AboveMaximum };
    // The confirm button's check; `value` is the number read when confirmed. A number too large
    // for a double reads as infinite and so lies beyond a bound.
    Verdict Confirm(const QString& text, double* value) const;

private:
    double m_min = 0;
    double m_max = 0;
    double m_step = 0;
};

} // namespace kesmaro
