#include "records/ResultDisplay.h"

#include "common/DateTime.h"
#include "common/Format.h"
#include "common/Numeric.h"
#include "common/Trap.h"
#include "state/Program.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>

namespace kesmaro {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kNoMoney = "------";

// A number as a label shows it: plain decimal, no grouping, no padding.
std::string plainNumber(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<std::int64_t>(value));
    if (std::isnan(value))
        return "nan"; // without the sign a negative NaN would print
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string plainNumber(Currency value)
{
    return value.toString();
}

double number(const std::string& labelText)
{
    return Val(labelText);
}

std::string expLabel(Currency readExp)
{
    return ExpText(ExpPercent(readExp));
}

std::string reportColumn(const ColumnValue& value, int width)
{
    return FormatColumn(value, width, 1, 0, false);
}

// Minutes since an epoch of a "yyyy/M/d H:m:s" text; the seconds are dropped.
std::int64_t wholeMinutes(std::string_view text)
{
    const std::optional<DateTime> time = DateTime::Parse(text);
    if (!time)
        Raise(ErrTypeMismatch);
    return std::chrono::floor<std::chrono::minutes>(time->time()).time_since_epoch().count();
}

void clear(Program& p)
{
    ResultLabels& r = p.results;
    for (std::string* label :
         {&r.lblStartTime, &r.lblEndTime, &r.lblElapseTime, &r.lblStartLv, &r.lblEndLv,
          &r.lblElapseLv, &r.lblStartExp, &r.lblEndExp, &r.lblElapseExp, &r.lblStartMoney,
          &r.lblEndMoney, &r.lblElapseMoney})
        label->clear();
    for (int i = 0; i < 3; ++i)
        r.lblCapture[static_cast<std::size_t>(i)].clear();
    MeasurementState& m = p.measurement;
    m.MoneyPair[0] = Currency::FromInteger(-1);
    m.MoneyPair[1] = Currency::FromInteger(-1);
    m.ReadMoney = Currency::FromInteger(-1);
    p.view.changed(ViewPart::Results);
}

void takeStart(Program& p)
{
    ResultLabels& r = p.results;
    MeasurementState& m = p.measurement;
    Trap run(TrapPolicy::Silent);
    run([&] { r.lblStartTime = NowStampText(p.services.clock); });
    run([&] { r.lblStartLv = std::to_string(m.ReadLv); });
    run([&] { r.lblStartExp = expLabel(m.ReadExp); });
    run([&] { r.lblEndTime = r.lblStartTime; });
    run([&] { r.lblEndLv = std::to_string(m.ReadLv); });
    run([&] { r.lblEndExp = r.lblStartExp; });
    run([&] { r.lblElapseTime.clear(); });
    run([&] { r.lblElapseLv = "0"; });
    run([&] { r.lblElapseExp = ExpText(0.0); });
    run([&] {
        if (m.MoneyPair[1] >= Currency{}) {
            m.MoneyPair[0] = m.MoneyPair[1];
            r.lblStartMoney = plainNumber(m.MoneyPair[0]);
            r.lblEndMoney = plainNumber(m.MoneyPair[1]);
            r.lblElapseMoney = "0";
        } else {
            r.lblStartMoney = kNoMoney;
            r.lblEndMoney.clear();
            r.lblElapseMoney.clear();
        }
    });
    run([&] { m.ReadMoney = Currency::FromInteger(-1); });
    p.view.changed(ViewPart::Results);
}

void update(Program& p)
{
    ResultLabels& r = p.results;
    MeasurementState& m = p.measurement;
    if (r.lblStartTime.empty()) {
        takeStart(p);
        return;
    }
    Trap run(p.log, "DisplayResult");
    run([&] { r.lblEndTime = NowStampText(p.services.clock); });
    run([&] { r.lblElapseTime = ElapsedText(r.lblEndTime, r.lblStartTime); });
    run([&] { r.lblEndLv = std::to_string(m.ReadLv); });
    run([&] { r.lblEndExp = expLabel(m.ReadExp); });
    run([&] { r.lblElapseLv = plainNumber(number(r.lblEndLv) - number(r.lblStartLv)); });
    run([&] {
        Currency gain = Currency::FromDouble(number(r.lblElapseLv) * 100 + number(r.lblEndExp) -
                                             number(r.lblStartExp));
        if (gain > Currency::FromInteger(100))
            gain = Currency::FromInteger(ToLong(gain.toDouble()) % 100);
        r.lblElapseExp = ExpText(gain.toDouble());
    });
    run([&] {
        if (m.ReadMoney < Currency{})
            return;
        if (m.MoneyPair[0] >= Currency{}) {
            // Read before the end label moves on: the gain shown trails the end by one update.
            r.lblElapseMoney = plainNumber(number(r.lblEndMoney) - number(r.lblStartMoney));
        } else {
            r.lblStartMoney = plainNumber(m.ReadMoney);
            m.MoneyPair[0] = m.ReadMoney;
            r.lblElapseMoney = "0";
        }
        r.lblEndMoney = plainNumber(m.ReadMoney);
        m.ReadMoney = Currency::FromInteger(-1);
    });
    p.view.changed(ViewPart::Results);
    run.report();
    if (p.flags.DebugMode)
        p.log.WriteDebugLog("Useally Measure Data Display Complete ");
}

void closingReport(Program& p)
{
    if (p.LogStartStamp.empty()) {
        p.view.changed(ViewPart::Results);
        return;
    }
    ResultLabels& r = p.results;
    Trap run(TrapPolicy::Silent);
    std::string report;
    run([&] {
        // Without any coin reading in the run the pair holds its "none" marker, not coins.
        if (p.measurement.MoneyPair[1] >= Currency{})
            r.lblEndMoney = plainNumber(p.measurement.MoneyPair[1]);
    });
    run([&] {
        report += " 経過: " + r.lblStartTime + "  ～  " + r.lblEndTime + "  ＝  " +
                  r.lblElapseTime + std::string(kCrLf);
    });
    auto row = [&](std::string_view title, const std::string& lv, const std::string& exp,
                   const std::string& money) {
        return std::string(title) + reportColumn(number(lv), 5) +
               "   Exp:" + reportColumn(exp, 11) + "  ｺｲﾝ:" + reportColumn(number(money), 17) +
               std::string(kCrLf);
    };
    run([&] { report += row("    開始  Lv:", r.lblStartLv, r.lblStartExp, r.lblStartMoney); });
    if (number(r.lblEndLv) >= 0 || number(r.lblEndExp) >= 0) {
        run([&] { report += row("    終了  Lv:", r.lblEndLv, r.lblEndExp, r.lblEndMoney); });
        run([&] {
            report += row("    増加  Lv:", r.lblElapseLv, r.lblElapseExp, r.lblElapseMoney);
        });
    }
    run([&] { p.txtLog.AppendToTextBox(report + std::string(kCrLf) + std::string(kCrLf)); });
    p.log.WriteDebugLog("Measure Result Data Display Complete ");
    p.view.changed(ViewPart::Results);
}

} // namespace

std::string ExpText(const ColumnValue& percent)
{
    return FormatNumber(percent, 2, false) + " ％";
}

std::string ElapsedText(std::string_view end, std::string_view start)
{
    const std::int64_t m = wholeMinutes(end) - wholeMinutes(start);
    const std::int64_t days = m / 1440;
    const std::int64_t rest = m % 1440;
    return std::to_string(days) + "日 " + std::to_string(rest / 60) + "時 " +
           std::to_string(rest % 60) + "分間";
}

void DisplayResult(Program& p, DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::Clear:
        return clear(p);
    case DisplayMode::TakeStart:
        return takeStart(p);
    case DisplayMode::ClosingReport:
        return closingReport(p);
    case DisplayMode::Update:
        return update(p);
    }
}

} // namespace kesmaro
