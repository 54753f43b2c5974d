#include "records/InputCheck.h"

#include "common/Format.h"
#include "config/CommonQt.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace kesmaro {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

InputCheck::InputCheck(const QString& min, const QString& max, const QString& step)
{
    const double a = Val(min);
    const double b = Val(max);
    m_min = b > a ? a : b;
    m_max = b > a ? b : a;
    m_step = std::abs(Val(step));
}

bool InputCheck::KeyPasses(QChar c)
{
    return isDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('E') ||
           c == QLatin1Char('e');
}

bool InputCheck::ValidCharacters(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c == QLatin1Char(' ') || KeyPasses(c); });
}

QString InputCheck::NumberText(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString InputCheck::Dec(const QString& text) const
{
    double value = Val(text) - m_step;
    // A number beyond a double's range stands for the bound on its side.
    if (std::isinf(value))
        value = value > 0 ? m_max : m_min;
    return NumberText(std::max(value, m_min));
}

QString InputCheck::Inc(const QString& text) const
{
    double value = Val(text) + m_step;
    if (std::isinf(value))
        value = value > 0 ? m_max : m_min;
    return NumberText(std::min(value, m_max));
}

InputCheck::Verdict InputCheck::Confirm(const QString& text, double* value) const
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
