#include "common/DateTime.h"

#include "common/OsCalls.h"

#include <cmath>
#include <cstdio>

namespace kesmaro {

using namespace std::chrono;

namespace {

constexpr local_days kOleEpoch = local_days(year(1899) / December / 30);
constexpr std::int64_t kMsPerDay = 86'400'000;

year_month_day dateOf(LocalDateTime t)
{
    return year_month_day(floor<days>(t));
}

hh_mm_ss<milliseconds> timeOf(LocalDateTime t)
{
    return hh_mm_ss<milliseconds>(t - floor<days>(t));
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Reads 1..maxDigits ASCII digits at `pos`; -1 when there is none.
int readNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits)
{
    int value = 0;
    std::size_t digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

bool skipBlanks(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos > start;
}

bool expect(std::string_view text, std::size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

void appendPadded(std::string& out, int value, int width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    out += buffer;
}

} // namespace

std::optional<DateTime> DateTime::FromFields(int y, int mo, int d, int h, int mi, int s, int ms)
{
    const year_month_day date{std::chrono::year(y), std::chrono::month(static_cast<unsigned>(mo)),
                              std::chrono::day(static_cast<unsigned>(d))};
    if (y == 0 || mo < 1 || d < 1 || !date.ok() || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 ||
        s > 59 || ms < 0 || ms > 999)
        return std::nullopt;
    return DateTime(local_days(date) + hours(h) + minutes(mi) + std::chrono::seconds(s) +
                    milliseconds(ms));
}

DateTime DateTime::FromSystemTime(system_clock::time_point time)
{
    const auto whole = floor<seconds>(time);
    const auto ms = duration_cast<milliseconds>(time - whole);
    std::tm fields{};
    if (!os::LocalTime(system_clock::to_time_t(whole), fields))
        return DateTime(LocalDateTime(duration_cast<milliseconds>(time.time_since_epoch())));
    // A leap second (tm_sec 60) shows as the second before it.
    return FromFields(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour,
                      fields.tm_min, fields.tm_sec < 60 ? fields.tm_sec : 59,
                      static_cast<int>(ms.count()))
        .value_or(DateTime());
}

std::optional<DateTime> DateTime::Parse(std::string_view text)
{
    std::size_t pos = 0;
    skipBlanks(text, pos);
    const int y = readNumber(text, pos, 4);
    if (y < 0 || !expect(text, pos, '/'))
        return std::nullopt;
    const int mo = readNumber(text, pos, 2);
    if (mo < 0 || !expect(text, pos, '/'))
        return std::nullopt;
    const int d = readNumber(text, pos, 2);
    if (d < 0)
        return std::nullopt;
    int h = 0;
    int mi = 0;
    int s = 0;
    const std::size_t afterDate = pos;
    if (skipBlanks(text, pos) && pos < text.size()) {
        h = readNumber(text, pos, 2);
        if (h < 0 || !expect(text, pos, ':'))
            return std::nullopt;
        mi = readNumber(text, pos, 2);
        if (mi < 0)
            return std::nullopt;
        if (expect(text, pos, ':') && (s = readNumber(text, pos, 2)) < 0)
            return std::nullopt;
    } else {
        pos = afterDate;
    }
    skipBlanks(text, pos);
    if (pos != text.size())
        return std::nullopt;
    return FromFields(y, mo, d, h, mi, s);
}

double DateTime::toOleDate() const
{
    const std::int64_t ms = (m_time - kOleEpoch).count();
    if (ms >= 0)
        return static_cast<double>(ms) / kMsPerDay;
    // Before the epoch the whole days count back and the time of day still counts forward.
    const std::int64_t wholeDays = ms / kMsPerDay - (ms % kMsPerDay != 0 ? 1 : 0);
    const std::int64_t timeOfDay = ms - wholeDays * kMsPerDay;
    return static_cast<double>(wholeDays) - static_cast<double>(timeOfDay) / kMsPerDay;
}

std::optional<DateTime> DateTime::FromOleDate(double days)
{
    // Years 100..9999, the range of the classic Date type.
    if (!(days >= -657434.0 && days < 2958466.0))
        return std::nullopt;
    const double whole = std::trunc(days);
    const double fraction = std::abs(days - whole);
    const auto dayMs = static_cast<std::int64_t>(whole) * kMsPerDay;
    const auto timeMs = std::llround(fraction * static_cast<double>(kMsPerDay));
    return DateTime(kOleEpoch + milliseconds(dayMs + timeMs));
}

int DateTime::year() const
{
    return static_cast<int>(dateOf(m_time).year());
}

int DateTime::month() const
{
    return static_cast<int>(static_cast<unsigned>(dateOf(m_time).month()));
}

int DateTime::day() const
{
    return static_cast<int>(static_cast<unsigned>(dateOf(m_time).day()));
}

int DateTime::hour() const
{
    return static_cast<int>(timeOf(m_time).hours().count());
}

int DateTime::minute() const
{
    return static_cast<int>(timeOf(m_time).minutes().count());
}

int DateTime::second() const
{
    return static_cast<int>(timeOf(m_time).seconds().count());
}

int DateTime::millisecond() const
{
    return static_cast<int>(timeOf(m_time).subseconds().count());
}

DateTime DateTime::addMilliseconds(std::int64_t ms) const
{
    return DateTime(m_time + milliseconds(ms));
}

DateTime DateTime::addSeconds(std::int64_t s) const
{
    return DateTime(m_time + seconds(s));
}

DateTime DateTime::addMinutes(std::int64_t m) const
{
    return DateTime(m_time + minutes(m));
}

DateTime DateTime::roundedToSecond() const
{
    const auto ms = m_time.time_since_epoch();
    const auto whole = floor<std::chrono::seconds>(ms);
    const auto rounded = ms - whole >= milliseconds(500) ? whole + std::chrono::seconds(1) : whole;
    return DateTime(LocalDateTime(duration_cast<milliseconds>(rounded)));
}

std::string DateTime::format(std::string_view pattern) const
{
    const year_month_day date = dateOf(m_time);
    const hh_mm_ss<milliseconds> time = timeOf(m_time);
    const int y = static_cast<int>(date.year());
    const struct {
        std::string_view token;
        int value;
        int width;
    } fields[] = {
        {"yyyy", y, 4},
        {"yy", (y % 100 + 100) % 100, 2},
        {"MM", static_cast<int>(static_cast<unsigned>(date.month())), 2},
        {"dd", static_cast<int>(static_cast<unsigned>(date.day())), 2},
        {"hh", static_cast<int>(time.hours().count()), 2},
        {"mm", static_cast<int>(time.minutes().count()), 2},
        {"ss", static_cast<int>(time.seconds().count()), 2},
        {"zzz", static_cast<int>(time.subseconds().count()), 3},
    };
    std::string out;
    for (std::size_t pos = 0; pos < pattern.size();) {
        bool matched = false;
        for (const auto& f : fields) {
            if (pattern.substr(pos, f.token.size()) == f.token) {
                appendPadded(out, f.value, f.width);
                pos += f.token.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            out += pattern[pos++];
    }
    return out;
}

} // namespace kesmaro
