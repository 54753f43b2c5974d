#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

// A local wall-clock date and time to the millisecond, as the user's desktop shows it. Plain
// calendar arithmetic: adding an hour across a daylight-saving change adds one hour of wall
// time, as the classic runtime's Date does.
class DateTime {
public:
    // 1970-01-01 00:00:00.
    DateTime() = default;
    explicit DateTime(LocalDateTime time) : m_time(time) {}

    // Empty when the fields name no date or time (month 13, February 30, hour 24, year 0).
    static std::optional<DateTime> FromFields(int year, int month, int day, int hour = 0,
                                              int minute = 0, int second = 0, int millisecond = 0);
    // The local time of a system clock reading, by the system's zone rules; the UTC fields
    // when the C library cannot convert it (Windows' refuses times before 1970).
    static DateTime FromSystemTime(std::chrono::system_clock::time_point time);

    // "yyyy/M/d", "yyyy/M/d H:m" or "yyyy/M/d H:m:s" (one to four digits of year, one or two of
    // the others, blanks around), as the result display writes and users edit it.
    static std::optional<DateTime> Parse(std::string_view text);

    // OLE automation dates: days since 1899-12-30 00:00, the time of day in the fraction. Before
    // that day the fraction counts forward from the day the whole part names (-1.25 is
    // 1899-12-29 06:00). FromOleDate rounds to the millisecond; empty outside years 100..9999
    // and for NaN.
    double toOleDate() const;
    static std::optional<DateTime> FromOleDate(double days);

    int year() const;
    int month() const;
    int day() const;
    int hour() const;
    int minute() const;
    int second() const;
    int millisecond() const;
    LocalDateTime time() const { return m_time; }

    DateTime addMilliseconds(std::int64_t ms) const;
    DateTime addSeconds(std::int64_t seconds) const;
    DateTime addMinutes(std::int64_t minutes) const;
    // To the nearest whole second, halves to the later one.
    DateTime roundedToSecond() const;

    // Replaces the QDateTime patterns the program writes: yyyy, yy, MM, dd, hh, mm, ss and zzz
    // (zero-padded); any other character stands for itself ("_yyyyMMddhhmmss",
    // "yyyy/MM/dd hh:mm:ss", "MM/dd hh:mm").
    std::string format(std::string_view pattern) const;

    friend std::chrono::milliseconds operator-(const DateTime& a, const DateTime& b)
    {
        return a.m_time - b.m_time;
    }
    friend auto operator<=>(const DateTime&, const DateTime&) = default;

private:
    LocalDateTime m_time{};
};

} // namespace kesmaro
