#include "common/DateTime.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return DateTime::FromFields(y, mo, d, h, mi, s, ms).value();
}

} // namespace

TEST(DateTime, FieldsMustNameARealDateAndTime)
{
    const struct {
        int y, mo, d, h, mi, s;
        bool valid;
    } cases[] = {
        {2024, 2, 29, 23, 59, 59, true}, {2023, 2, 29, 0, 0, 0, false},
        {1900, 2, 29, 0, 0, 0, false},   {2000, 2, 29, 0, 0, 0, true},
        {2024, 13, 1, 0, 0, 0, false},   {2024, 0, 1, 0, 0, 0, false},
        {2024, 4, 31, 0, 0, 0, false},   {2024, 1, 1, 24, 0, 0, false},
        {2024, 1, 1, 0, 60, 0, false},   {2024, 1, 1, 0, 0, 60, false},
        {0, 1, 1, 0, 0, 0, false},       {9999, 12, 31, 23, 59, 59, true},
    };
    for (const auto& c : cases) {
        const auto t = DateTime::FromFields(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(t.has_value(), c.valid) << c.y << '-' << c.mo << '-' << c.d << ' ' << c.h;
        if (t) {
            EXPECT_EQ(
                (std::array{t->year(), t->month(), t->day(), t->hour(), t->minute(), t->second()}),
                (std::array{c.y, c.mo, c.d, c.h, c.mi, c.s}));
        }
    }
}

TEST(DateTime, FormatsThePatternsTheProgramWrites)
{
    const DateTime t = at(2009, 5, 7, 9, 3, 4, 56);
    const struct {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"yyyyMMddhhmm", "200905070903"},
        {"yyyy/MM/dd hh:mm:ss", "2009/05/07 09:03:04"},
        {"_yyyyMMddhhmmss", "_20090507090304"},
        {"_MMddhhmmss", "_0507090304"},
        {"MM/dd hh:mm", "05/07 09:03"},
        {"yyyyMM", "200905"},
        {"hh:mm", "09:03"},
        {"yy.zzz", "09.056"},
        {"PrtScr x", "PrtScr x"}, // single letters are text
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.format(c.pattern), c.text) << c.pattern;
    EXPECT_EQ(at(12, 1, 2).format("yyyy/MM/dd"), "0012/01/02");
}

TEST(DateTime, ParsesTheResultDisplaysDatesLooselyAndRefusesTheRest)
{
    const struct {
        const char* text;
        std::optional<DateTime> parsed;
    } cases[] = {
        {"2009/05/17 21:30:35", at(2009, 5, 17, 21, 30, 35)},
        {"  2009/5/7 1:2:3  ", at(2009, 5, 7, 1, 2, 3)},
        {"2009/5/7 1:02", at(2009, 5, 7, 1, 2)},
        {"2009/5/7", at(2009, 5, 7)},
        {"2009/5/7\t", at(2009, 5, 7)},
        {"999/1/1", at(999, 1, 1)},
        {"2009/5/7 1", std::nullopt},
        {"2009/5/7 1:2:", std::nullopt},
        {"2009/5/7 1:2:3 x", std::nullopt},
        {"2009/5/71", std::nullopt},
        {"12009/5/7", std::nullopt},
        {"2009-05-07", std::nullopt},
        {"2009/2/30", std::nullopt},
        {"2009/5/7 24:00:00", std::nullopt},
        {"2009/5/7 12:60", std::nullopt},
        {"0/1/1", std::nullopt},
        {"", std::nullopt},
        {"２００９/5/7", std::nullopt}, // full-width digits are not digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateTime::Parse(c.text), c.parsed) << c.text;
}

TEST(DateTime, OleDatesBothWays)
{
    const struct {
        DateTime time;
        double ole;
    } cases[] = {
        {at(1899, 12, 30), 0.0},
        {at(1899, 12, 30, 18), 0.75},
        {at(1900, 1, 1), 2.0},
        {at(2024, 1, 1), 45292.0},
        {at(2024, 1, 1, 6), 45292.25},
        {at(1899, 12, 29, 6), -1.25}, // before the epoch the fraction still counts forward
        {at(1899, 12, 29), -1.0},
        {at(1800, 1, 1, 12), -36522.5},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(c.time.toOleDate(), c.ole) << c.time.format("yyyy/MM/dd hh:mm:ss");
        EXPECT_EQ(DateTime::FromOleDate(c.ole), c.time) << c.ole;
    }
    // Every millisecond of a day survives the double.
    const DateTime t = at(2009, 5, 17, 23, 59, 59, 999);
    EXPECT_EQ(DateTime::FromOleDate(t.toOleDate()), t);
    for (const double bad : {-700000.0, 3000000.0, std::nan("")})
        EXPECT_FALSE(DateTime::FromOleDate(bad).has_value()) << bad;
}

TEST(DateTime, ArithmeticCrossesDaysMonthsAndYears)
{
    const DateTime t = at(2023, 12, 31, 23, 59, 30);
    EXPECT_EQ(t.addSeconds(30), at(2024, 1, 1));
    EXPECT_EQ(t.addMinutes(60 * 24 * 60 + 1), at(2024, 3, 1, 0, 0, 30)); // through Feb 29
    EXPECT_EQ(t.addSeconds(-86400), at(2023, 12, 30, 23, 59, 30));
    EXPECT_EQ(t.addMilliseconds(500).millisecond(), 500);
    EXPECT_EQ(at(2024, 1, 1) - t, seconds(30));
    EXPECT_EQ(t - at(2024, 1, 1), seconds(-30));
    EXPECT_LT(t, t.addMilliseconds(1));

    const struct {
        DateTime time;
        DateTime rounded;
    } rounding[] = {
        {at(2024, 1, 1, 0, 0, 0, 499), at(2024, 1, 1)},
        {at(2024, 1, 1, 0, 0, 0, 500), at(2024, 1, 1, 0, 0, 1)},
        {at(2024, 1, 1, 23, 59, 59, 600), at(2024, 1, 2)},
        {at(1960, 1, 1, 0, 0, 0, 500), at(1960, 1, 1, 0, 0, 1)}, // before 1970 too
        {at(1960, 1, 1, 0, 0, 0, 499), at(1960, 1, 1)},
    };
    for (const auto& r : rounding)
        EXPECT_EQ(r.time.roundedToSecond(), r.rounded) << r.time.format("yyyy hh:mm:ss.zzz");
}

TEST(DateTime, SystemTimeBecomesLocalTimeByAWholeZoneOffset)
{
    // The zone is the machine's; what holds in every zone: the offset is a multiple of 15
    // minutes within a day, and the milliseconds pass through.
    const auto utc = sys_days(year(2024) / 7 / 15) + hours(12) + milliseconds(345);
    const DateTime local = DateTime::FromSystemTime(utc);
    const auto offset = local.time().time_since_epoch() - utc.time_since_epoch();
    EXPECT_EQ(offset % minutes(15), milliseconds(0));
    EXPECT_LE(abs(offset), hours(14));
    EXPECT_EQ(local.millisecond(), 345);
    EXPECT_EQ(DateTime::FromSystemTime(utc + minutes(61)) - local, minutes(61));
    // Windows' C library converts nothing before 1970; the date still comes out (in UTC).
    const auto old = sys_days(year(1965) / 3 / 1) + hours(12);
    EXPECT_EQ(DateTime::FromSystemTime(old).year(), 1965);
}
