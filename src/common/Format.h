#pragma once

#include "common/Currency.h"

#include <QString>
#include <cstdint>
#include <variant>

namespace kesmaro {

// A value for a report column: a flag, a text or a number.
class ColumnValue {
public:
    ColumnValue(bool value) : m_value(value) {}
    ColumnValue(const QString& value) : m_value(value) {}
    ColumnValue(const char16_t* value) : m_value(QString::fromUtf16(value)) {}
    ColumnValue(int value) : m_value(std::int64_t{value}) {}
    ColumnValue(std::int64_t value) : m_value(value) {}
    ColumnValue(double value) : m_value(value) {}
    ColumnValue(Currency value) : m_value(value) {}

    const auto& value() const { return m_value; }

private:
    std::variant<bool, QString, std::int64_t, double, Currency> m_value;
};

// One value right-aligned in a column of `width` byte columns for the fixed-pitch reports:
// `margin` blanks, the value, one blank. Numbers get `decimals` places (thousands separators
// unless `plain`); a value too long keeps one blank on each side and widens the column.
// Error 5 when the column cannot hold even the blanks.
QString FormatColumn(const ColumnValue& value, int width, int margin, int decimals, bool plain);

// A number with thousands separators and no decimals, then a blank and the unit when the unit
// is not empty. Zero gives no digits. A text value is read by its leading numeric part.
QString FormatThousands(const ColumnValue& value, const QString& unit);
// A missing (null) value counts as zero.
QString FormatThousands(const QString& unit);

// A number in decimal with thousands separators and exactly `decimals` places, rounded half
// away from zero (as the report patterns "#,##0.00" do); `grouped` false leaves out separators.
QString FormatNumber(const ColumnValue& value, int decimals, bool grouped);

// The leading numeric part of a text, as the classic `Val` reads it ("12abc" -> 12, "" -> 0).
double Val(const QString& text);

// Non-overlapping occurrences of `separator` in `text`.
int CountOccurrences(const QString& text, const QString& separator);
// 1-based position of the n-th non-overlapping occurrence; 0 when there is none or n < 1.
int FindNthOccurrence(const QString& text, const QString& separator, int n);

} // namespace kesmaro
