#include "common/Format.h"

#include "common/Cp932.h"
#include "common/TrappedError.h"
#include "common/Utf8.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kesmaro {

namespace {

// An exact decimal: sign, integer digits (no leading zeros, possibly empty) and fraction digits.
struct Decimal {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

void trimLeadingZeros(std::string& digits)
{
    digits.erase(0, digits.find_first_not_of('0') == std::string::npos
                        ? digits.size()
                        : digits.find_first_not_of('0'));
}

void trim(Decimal& d)
{
    trimLeadingZeros(d.whole);
    while (!d.fraction.empty() && d.fraction.back() == '0')
        d.fraction.pop_back();
}

Decimal fromText(std::string_view text)
{
    Decimal d;
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t dot = text.find('.');
    d.whole = std::string(text.substr(0, dot));
    d.fraction = dot == std::string_view::npos ? std::string() : std::string(text.substr(dot + 1));
    trim(d);
    return d;
}

std::string toChars(double value, std::chars_format format, int precision)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision).ptr;
    return std::string(buffer, end);
}

// Doubles are taken at 15 significant digits, as the classic runtime formats them, so 2.345
// rounds to 2.35 although its binary value lies a little below.
Decimal fromDouble(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return {};
    const std::string sci = toChars(value, std::chars_format::scientific, 14); // "-d.ddde+XX"
    const std::size_t e = sci.find('e');
    Decimal d;
    std::string mantissa = sci.substr(0, e);
    const char* exponentText = sci.c_str() + e + 1;
    if (*exponentText == '+')
        ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, sci.c_str() + sci.size(), exponent);
    if (mantissa.front() == '-') {
        d.negative = true;
        mantissa.erase(0, 1);
    }
    std::string digits;
    for (const char c : mantissa)
        if (c != '.')
            digits += c;
    // digits[0] has place value 10^exponent.
    const int point = exponent + 1; // number of digits before the decimal point
    const auto size = static_cast<int>(digits.size());
    if (point <= 0) {
        d.fraction = std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= size) {
        d.whole = digits + std::string(static_cast<std::size_t>(point - size), '0');
    } else {
        d.whole = digits.substr(0, static_cast<std::size_t>(point));
        d.fraction = digits.substr(static_cast<std::size_t>(point));
    }
    trim(d);
    return d;
}

Decimal toDecimal(const ColumnValue& value)
{
    return std::visit(
        [](const auto& v) -> Decimal {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? fromText("-1") : Decimal{};
            else if constexpr (std::is_same_v<T, std::string>)
                return fromDouble(Val(v));
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return fromText(std::to_string(v));
            else if constexpr (std::is_same_v<T, double>)
                return fromDouble(v);
            else
                return fromText(v.toString());
        },
        value.value());
}

// Rounds half away from zero to `decimals` places (decimals >= 0).
Decimal rounded(Decimal d, int decimals)
{
    const auto places = static_cast<std::size_t>(decimals);
    if (d.fraction.size() <= places) {
        d.fraction.append(places - d.fraction.size(), '0');
        return d;
    }
    const bool up = d.fraction[places] >= '5';
    std::string digits = d.whole + d.fraction.substr(0, places);
    if (up) {
        std::size_t i = digits.size();
        for (; i > 0; --i) {
            if (digits[i - 1] == '9') {
                digits[i - 1] = '0';
            } else {
                ++digits[i - 1];
                break;
            }
        }
        if (i == 0)
            digits.insert(0, 1, '1');
    }
    d.whole = digits.substr(0, digits.size() - places);
    d.fraction = digits.substr(digits.size() - places);
    trimLeadingZeros(d.whole);
    return d;
}

bool isZero(const Decimal& d)
{
    return (d.whole + d.fraction).find_first_not_of('0') == std::string::npos;
}

std::string grouped(const std::string& digits)
{
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// The patterns "0.00", "#,##0.00", "#" and "#,###": `leadingZero` says whether an integer part
// of zero shows as "0" (patterns ending in "0" before the point) or as nothing ("#").
std::string formatDecimal(const Decimal& value, int decimals, bool withGroups, bool leadingZero)
{
    const Decimal r = rounded(value, decimals < 0 ? 0 : decimals);
    std::string whole = r.whole;
    if (whole.empty() && leadingZero)
        whole = "0";
    std::string text = withGroups ? grouped(whole) : whole;
    if (decimals > 0)
        text += '.' + r.fraction;
    if (r.negative && !isZero(r))
        text.insert(0, 1, '-');
    return text;
}

std::string rawText(const ColumnValue& value)
{
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? "True" : "False";
            else if constexpr (std::is_same_v<T, std::string>)
                return v;
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
                return toChars(v, std::chars_format::general, 15);
            else
                return v.toString();
        },
        value.value());
}

int characters(std::string_view text)
{
    return static_cast<int>(Utf8Length(text));
}

} // namespace

std::string FormatNumber(const ColumnValue& value, int decimals, bool grouped)
{
    return formatDecimal(toDecimal(value), decimals, grouped, true);
}

std::string FormatColumn(const ColumnValue& value, int width, int margin, int decimals, bool plain)
{
    const std::string raw = rawText(value);
    std::string first;
    if (std::holds_alternative<bool>(value.value()) ||
        std::holds_alternative<std::string>(value.value())) {
        first = raw;
    } else {
        const Decimal d = toDecimal(value);
        if (decimals > 0)
            first = formatDecimal(d, decimals, !plain, true);
        else if (isZero(d))
            first = "0";
        else
            first = formatDecimal(d, 0, !plain, false);
    }

    // The padding counts characters, the column byte widths: a double-byte character takes
    // the room of two blanks.
    const int extra = ByteWidth(raw) - characters(raw);
    const int inner = extra > 0 ? width - margin - extra : width - margin;
    if (inner - 1 < 0)
        Raise(ErrInvalidArgument);
    const int pad = inner - 1 - characters(first);
    const std::string second = std::string(pad > 0 ? pad : 0, ' ') + first + ' ';
    const int over = ByteWidth(second) - (width - margin);
    int lead = over != 0 ? margin - over : margin;
    if (lead < 1)
        lead = 1;
    return std::string(static_cast<std::size_t>(lead), ' ') + second;
}

std::string FormatThousands(const ColumnValue& value, std::string_view unit)
{
    const std::string digits = formatDecimal(toDecimal(value), 0, true, false);
    return unit.empty() ? digits : digits + ' ' + std::string(unit);
}

std::string FormatThousands(std::string_view unit)
{
    return FormatThousands(ColumnValue(0), unit);
}

double Val(std::string_view text)
{
    // Blanks, tabs and line feeds are skipped anywhere in the number, as `Val` does. Only ASCII
    // takes part, so the bytes of other characters end the number like any other letter.
    std::string compact;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            compact += c;
    std::size_t i = 0;
    const std::size_t n = compact.size();
    auto digitsAt = [&](std::size_t& pos) {
        const std::size_t from = pos;
        while (pos < n && compact[pos] >= '0' && compact[pos] <= '9')
            ++pos;
        return pos > from;
    };
    const bool negative = i < n && compact[i] == '-';
    if (i < n && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    const std::size_t mantissa = i;
    bool any = digitsAt(i);
    if (i < n && compact[i] == '.') {
        ++i;
        any = digitsAt(i) || any;
    }
    if (!any)
        return 0.0;
    std::size_t end = i;
    if (i < n &&
        (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < n && (compact[j] == '+' || compact[j] == '-'))
            ++j;
        if (digitsAt(j))
            end = j;
    }
    std::string number = compact.substr(mantissa, end - mantissa);
    if (end > i)
        number[i - mantissa] = 'e';
    // from_chars reads the C locale's way whatever the program's locale is.
    double value = 0.0;
    const auto [last, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large is infinite and too small is zero, as the text-to-number reading has been.
        const bool tiny = number.find("e-") != std::string::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

int CountOccurrences(std::string_view text, std::string_view separator)
{
    if (separator.empty())
        return 0;
    int count = 0;
    for (std::size_t pos = text.find(separator); pos != std::string_view::npos;
         pos = text.find(separator, pos + separator.size()))
        ++count;
    return count;
}

int FindNthOccurrence(std::string_view text, std::string_view separator, int n)
{
    if (n < 1 || separator.empty())
        return 0;
    int count = 0;
    for (std::size_t pos = text.find(separator); pos != std::string_view::npos;
         pos = text.find(separator, pos + separator.size()))
        if (++count == n)
            return characters(text.substr(0, pos)) + 1;
    return 0;
}

} // namespace kesmaro
