#include "measurement/StatusLine.h"

#include "recognition/Binarization.h"
#include "recognition/Recognition.h"
#include "state/Program.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <string>

namespace kesmaro {

namespace {

constexpr std::int64_t kMsPerMinute = 60 * 1000;
// Samples are kept for the longest window the settings allow.
constexpr std::int64_t kKeptMs = std::int64_t{kRollingMinutesMax} * kMsPerMinute;
// Beyond this a time to the next level says nothing useful.
constexpr double kLongestSeconds = 999.0 * 24 * 3600;

constexpr const char* kNone = "―";

bool regionInside(const CaptureRect& area, const Rect& window)
{
    const std::int64_t rows = std::min<std::int64_t>(area.Height, kColumnRows);
    return area.X >= 0 && area.Y >= 0 && area.Width > 0 && area.Height > 0 &&
           std::int64_t{area.X} + area.Width <= window.width &&
           std::int64_t{area.Y} + rows <= window.height;
}

ReadCause causeOf(const Program& p, const Rect& window, int area, bool read)
{
    if (read)
        return ReadCause::Read;
    if (!regionInside(p.settings.CaptureArea[static_cast<std::size_t>(area)], window))
        return ReadCause::OutsideWindow;
    const std::vector<std::uint16_t>& words = p.columnWords[static_cast<std::size_t>(area)].words;
    // Columns all alike are background only, set or clear: the Exp glyphs are drawn inverted.
    const bool strokes =
        std::adjacent_find(words.begin(), words.end(), std::not_equal_to<>()) != words.end();
    return strokes ? ReadCause::UnknownGlyph : ReadCause::NoGlyphColour;
}

bool allBlack(const PixelBuffer& pixels)
{
    if (!pixels.isWhole())
        return false;
    for (std::size_t i = 0; i + 2 < pixels.bgra.size(); i += 4)
        if (pixels.bgra[i] != 0 || pixels.bgra[i + 1] != 0 || pixels.bgra[i + 2] != 0)
            return false;
    return true;
}

// Every region the capture grabbed together is black, and none reaches outside the window
// (whose black is explained by its own cause).
bool grabbedAllBlack(const Program& p, WindowId window, const CaptureHealth& h)
{
    if (p.grabbed.window != window || p.grabbed.pixels.empty())
        return false;
    for (ReadCause cause : h.causes)
        if (cause == ReadCause::OutsideWindow)
            return false;
    return std::all_of(p.grabbed.pixels.begin(), p.grabbed.pixels.end(), allBlack);
}

void startRunIfNew(Program& p)
{
    if (p.rates.runStamp == p.LogStartStamp)
        return;
    p.rates = RateHistory{};
    p.rates.runStamp = p.LogStartStamp;
    p.captureHealth = CaptureHealth{};
}

void markHealth(Program& p)
{
    CaptureHealth& h = p.captureHealth;
    if (h.healthy())
        h.unhealthySinceMs.reset();
    else if (!h.unhealthySinceMs)
        h.unhealthySinceMs = p.services.clock.TickMs();
}

void addSample(Program& p, const RateSample& sample)
{
    RateHistory& r = p.rates;
    // A level that falls or leaps is another character: its rates start afresh.
    if (!r.recent.empty()) {
        const std::int32_t step = sample.level - r.recent.back().level;
        if (step < 0 || step > 2) {
            r.first.reset();
            r.recent.clear();
        }
    }
    if (!r.first)
        r.first = sample;
    r.recent.push_back(sample);
    while (r.recent.size() > 1 && r.recent.front().tickMs < sample.tickMs - kKeptMs)
        r.recent.pop_front();
}

std::optional<double> perHour(double change, std::int64_t ms)
{
    if (ms <= 0)
        return std::nullopt;
    return change / static_cast<double>(ms) * 3600.0 * 1000.0;
}

Rates ratesBetween(const RateSample& from, const std::deque<RateSample>& samples, std::size_t begin)
{
    Rates rates;
    const RateSample& last = samples.back();
    rates.expPerHour =
        perHour((last.position - from.position).toDouble(), last.tickMs - from.tickMs);
    const RateSample* firstCoins = from.coins ? &from : nullptr;
    for (std::size_t i = begin; !firstCoins && i < samples.size(); ++i)
        if (samples[i].coins)
            firstCoins = &samples[i];
    const RateSample* lastCoins = nullptr;
    for (auto it = samples.rbegin(); !lastCoins && it != samples.rend(); ++it)
        if (it->coins)
            lastCoins = &*it;
    if (firstCoins && lastCoins)
        rates.coinsPerHour = perHour((*lastCoins->coins - *firstCoins->coins).toDouble(),
                                     lastCoins->tickMs - firstCoins->tickMs);
    return rates;
}

std::string categoryName(int category)
{
    switch (category) {
    case CategoryLevel:
        return "Lv";
    case CategoryExp:
        return "Exp";
    default:
        return "ｺｲﾝ";
    }
}

std::string causeText(ReadCause cause)
{
    switch (cause) {
    case ReadCause::OutsideWindow:
        return "範囲がウィンドウの外";
    case ReadCause::NoGlyphColour:
        return "範囲に文字色なし";
    case ReadCause::UnknownGlyph:
        return "パターンにない文字";
    case ReadCause::Read:
        break;
    }
    return {};
}

std::string healthReason(const CaptureHealth& h)
{
    switch (h.outcome) {
    case CaptureOutcome::None:
        return {};
    case CaptureOutcome::WindowMissing:
        return "ゲームウィンドウが見つかりません";
    case CaptureOutcome::Background:
        return "ゲームウィンドウが前面にありません";
    case CaptureOutcome::Captured:
        break;
    }
    if (h.allBlack)
        return "all regions black — try the screen capture source";
    std::string parts;
    for (int c = 0; c < kCategoryCount; ++c) {
        const ReadCause cause = h.causes[static_cast<std::size_t>(c)];
        if (cause == ReadCause::Read)
            continue;
        if (!parts.empty())
            parts += " / ";
        parts += categoryName(c) + "読取失敗: " + causeText(cause);
    }
    return parts;
}

// Two decimals as the status bar has always shown them: an exact half rounds away from zero
// (where the C library rounds it to even) and a negative zero shows as "0.00".
std::string twoDecimals(double value)
{
    if (value == 0)
        value = 0;
    const double magnitude = std::abs(value);
    const double eighths = magnitude * 8;
    // Only odd eighths (.125, .375, .625, .875) lie exactly halfway between two hundredths,
    // and rounding them up never carries.
    const bool half =
        eighths < 0x1p53 && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) == 1.0;
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::fixed, half ? 3 : 2)
                         .ptr;
    std::string digits(buffer, end);
    if (half) {
        digits.pop_back(); // the exact '5'
        ++digits.back();
    }
    return std::signbit(value) ? "-" + digits : digits;
}

} // namespace

std::string ExpRateText(std::optional<double> ratePerHour)
{
    return ratePerHour ? twoDecimals(*ratePerHour) + "%/h" : kNone;
}

std::string CoinRateText(std::optional<double> ratePerHour)
{
    return ratePerHour ? std::to_string(std::llround(*ratePerHour)) + "/h" : kNone;
}

void RecordCaptureOutcome(Program& p, CaptureOutcome outcome)
{
    startRunIfNew(p);
    p.captureHealth.outcome = outcome;
    markHealth(p);
}

void RecordCapturedNumbers(Program& p, WindowId window, int coinArea)
{
    startRunIfNew(p);
    const MeasurementState& m = p.measurement;
    const bool levelRead = m.ReadLv >= 0;
    const bool expRead = m.ReadExp >= Currency();
    const bool coinsRead = m.ReadMoney >= Currency();
    CaptureHealth& h = p.captureHealth;
    h.outcome = CaptureOutcome::Captured;
    if (!levelRead || !expRead || !coinsRead) {
        const Rect bounds = p.services.windows.WindowRect(window);
        h.causes = {causeOf(p, bounds, AreaLevel, levelRead), causeOf(p, bounds, AreaExp, expRead),
                    causeOf(p, bounds, coinArea, coinsRead)};
        h.allBlack = grabbedAllBlack(p, window, h);
    } else {
        h.causes = {ReadCause::Read, ReadCause::Read, ReadCause::Read};
        h.allBlack = false;
    }
    markHealth(p);

    if (!levelRead || !expRead || p.LogStartStamp.empty())
        return;
    RateSample sample;
    sample.tickMs = p.services.clock.TickMs();
    sample.level = m.ReadLv;
    sample.position = Currency::FromInteger(std::int64_t{m.ReadLv} * 100) + ExpPercent(m.ReadExp);
    if (coinsRead)
        sample.coins = m.ReadMoney;
    addSample(p, sample);
}

bool SetRollingMinutes(Program& p, std::int64_t minutes)
{
    p.extra.RollingMinutes = ClampRollingMinutes(minutes);
    return SaveExtraSettings(p.programFolder, p.extra);
}

std::string ApproximateDuration(std::optional<double> seconds)
{
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0)
        return kNone;
    if (*seconds < 60)
        return "1分未満";
    if (*seconds > kLongestSeconds)
        return "999日以上";
    const auto minutes = static_cast<std::int64_t>(std::llround(*seconds / 60));
    if (minutes < 60)
        return "約" + std::to_string(minutes) + "分";
    if (minutes < 24 * 60) {
        const std::int64_t m = minutes % 60;
        return "約" + std::to_string(minutes / 60) + "時間" +
               (m == 0 ? std::string() : std::to_string(m) + "分");
    }
    const auto hours = static_cast<std::int64_t>(std::llround(*seconds / 3600));
    const std::int64_t h = hours % 24;
    return "約" + std::to_string(hours / 24) + "日" +
           (h == 0 ? std::string() : std::to_string(h) + "時間");
}

std::string ElapsedText(std::int64_t ms)
{
    const std::int64_t minutes = std::max<std::int64_t>(ms, 0) / kMsPerMinute;
    if (minutes < 1)
        return "1分未満";
    if (minutes < 60)
        return std::to_string(minutes) + "分";
    if (minutes < 24 * 60)
        return std::to_string(minutes / 60) + "時間" + std::to_string(minutes % 60) + "分";
    return std::to_string(minutes / (24 * 60)) + "日" + std::to_string(minutes / 60 % 24) + "時間";
}

std::optional<double> SecondsToNextLevel(Currency percent, std::optional<double> ratePerHour)
{
    if (!ratePerHour || !(*ratePerHour > 0))
        return std::nullopt;
    const double remaining = std::max(0.0, 100.0 - percent.toDouble());
    return remaining / *ratePerHour * 3600.0;
}

Rates RunRates(const RateHistory& history)
{
    if (!history.first || history.recent.empty())
        return {};
    return ratesBetween(*history.first, history.recent, 0);
}

Rates RollingRates(const RateHistory& history, std::int32_t minutes)
{
    if (history.recent.empty())
        return {};
    const std::int64_t from =
        history.recent.back().tickMs - std::int64_t{ClampRollingMinutes(minutes)} * kMsPerMinute;
    std::size_t begin = 0;
    while (begin + 1 < history.recent.size() && history.recent[begin].tickMs < from)
        ++begin;
    return ratesBetween(history.recent[begin], history.recent, begin);
}

StatusTexts ComputeStatusLine(const Program& p)
{
    StatusTexts t;
    const std::int32_t minutes = ClampRollingMinutes(p.extra.RollingMinutes);
    const std::string window = "直近" + std::to_string(minutes) + "分";
    const bool running = !p.LogStartStamp.empty() && p.rates.runStamp == p.LogStartStamp;
    Rates run;
    Rates rolling;
    Currency percent;
    if (running && !p.rates.recent.empty()) {
        run = RunRates(p.rates);
        rolling = RollingRates(p.rates, minutes);
        const RateSample& last = p.rates.recent.back();
        percent = last.position - Currency::FromInteger(std::int64_t{last.level} * 100);
    }
    t.nextLevel = "次のLvまで " + ApproximateDuration(SecondsToNextLevel(percent, run.expPerHour)) +
                  "（" + window + ' ' +
                  ApproximateDuration(SecondsToNextLevel(percent, rolling.expPerHour)) + "）";
    t.rolling = window + "  Exp " + ExpRateText(rolling.expPerHour) + "  ｺｲﾝ " +
                CoinRateText(rolling.coinsPerHour);
    if (running) {
        const CaptureHealth& h = p.captureHealth;
        t.healthReason = healthReason(h);
        if (!t.healthReason.empty() && h.unhealthySinceMs)
            t.health = t.healthReason + "（" +
                       ElapsedText(p.services.clock.TickMs() - *h.unhealthySinceMs) + "継続）";
        else
            t.health = t.healthReason;
    }
    return t;
}

std::string StatusTexts::logText() const
{
    std::string text = "StatusLine : " + nextLevel + " | " + rolling;
    if (!healthReason.empty())
        text += " | " + healthReason;
    return text;
}

} // namespace kesmaro
