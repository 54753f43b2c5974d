#pragma once

#include "common/Currency.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace kesmaro {

// A value for a report column: a flag, a text or a number.
class ColumnValue {
public:
    ColumnValue(bool value) : m_value(value) {}
    ColumnValue(std::string value) : m_value(std::move(value)) {}
    ColumnValue(const char* value) : m_value(std::string(value)) {}
    ColumnValue(int value) : m_value(std::int64_t{value}) {}
    ColumnValue(std::int64_t value) : m_value(value) {}
    ColumnValue(double value) : m_value(value) {}
    ColumnValue(Currency value) : m_value(value) {}

    const auto& value() const { return m_value; }

private:
    std::variant<bool, std::string, std::int64_t, double, Currency> m_value;
};

// Texts are UTF-8; widths are CP932 byte counts.

// One value right-aligned in a column of `width` byte columns for the fixed-pitch reports:
// `margin` blanks, the value, one blank. Numbers get `decimals` places (thousands separators
// unless `plain`); a value too long keeps one blank on each side and widens the column.
// Error 5 when the column cannot hold even the blanks.
std::string FormatColumn(const ColumnValue& value, int width, int margin, int decimals, bool plain);

// A number with thousands separators and no decimals, then a blank and the unit when the unit
// is not empty. Zero gives no digits. A text value is read by its leading numeric part.
std::string FormatThousands(const ColumnValue& value, std::string_view unit);
// A missing (null) value counts as zero.
std::string FormatThousands(std::string_view unit);

// A number in decimal with thousands separators and exactly `decimals` places, rounded half
// away from zero (as the report patterns "#,##0.00" do); `grouped` false leaves out separators.
std::string FormatNumber(const ColumnValue& value, int decimals, bool grouped);

// The leading numeric part of a text, as the classic `Val` reads it ("12abc" -> 12, "" -> 0).
double Val(std::string_view text);

// Non-overlapping occurrences of `separator` in `text`.
int CountOccurrences(std::string_view text, std::string_view separator);
// 1-based position in characters of the n-th non-overlapping occurrence; 0 when there is none
// or n < 1.
int FindNthOccurrence(std::string_view text, std::string_view separator, int n);

} // namespace kesmaro
