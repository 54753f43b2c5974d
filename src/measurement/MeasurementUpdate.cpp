#include "measurement/MeasurementUpdate.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "graph/GraphDisplay.h"
#include "records/LoggingRun.h"
#include "records/RandomSeed.h"
#include "records/RecordFile.h"
#include "records/ResultDisplay.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <algorithm>
#include <string>

namespace kesmaro {

namespace {

const Currency kMinusOne = Currency::FromInteger(-1);

std::string C(const ColumnValue& value, int width, int decimals)
{
    return FormatColumn(value, width, 1, decimals, false);
}

void appendLine(Program& p, const std::string& line)
{
    p.txtLog.AppendToTextBox(line + "\r\n");
}

// Minutes with one decimal, truncated to tenths: 359 s -> 5.9.
Currency tenthsOfMinutes(std::int32_t seconds)
{
    return Currency::FromDouble(static_cast<double>(IntDivide(std::int64_t{seconds}, 6)) / 10.0);
}

// An idle interval: one zero sample, the view stays where the user put it in zoom.
void graphIdleSample(Program& p)
{
    if (!p.settings.GraphEnabled)
        return;
    p.graph.GraphOffset = 0;
    AddGraphSample(p, Currency(), Currency());
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void failure(Program& p, const std::string& stamp)
{
    const MeasurementState& m = p.measurement;
    const std::string text =
        RecognitionFailureText(m.ReadLv >= 0, m.ReadExp >= Currency(), m.ReadMoney >= Currency());
    appendLine(p, stamp + "  認識失敗  " + text);
    p.log.WriteDebugLog("ImageRecognition misstep :" + text);
    p.measurement.scheduleCapture(p.services.clock, kRetryDelayMs);
}

void characterChange(Program& p)
{
    MeasurementState& m = p.measurement;
    appendLine(p, "キャラクタチェンジ検出");
    DisplayResult(p, DisplayMode::ClosingReport);
    appendLine(p, std::string(kLogColumnHeader));
    m.MoneyAreaMode = MoneyAreaDetect;
    m.ExpTrack[TrackPrevious] = Currency();
    m.ExpClock[TrackPrevious] = 0;
    m.LevelTrack[TrackPrevious] = 0;
    m.MoneyTrack[TrackPrevious] = Currency();
    m.MoneyClock[TrackPrevious] = 0;
    if (m.ReadMoney < Currency()) {
        m.MoneyTrack[TrackCurrent] = Currency();
        m.MoneyClock[TrackCurrent] = 0;
    }
    m.DoHLTrack[DoHLPrevious] = Currency();
    m.DoHLTrack[DoHLLastRise] = Currency();
    DisplayResult(p, DisplayMode::TakeStart);
    p.log.WriteDebugLog("Detect Character Change ");
    Context ctx = p.context();
    RandomizeSeed(ctx);
    if (p.settings.GraphEnabled) {
        // Zero samples restart the moving averages; more than the history holds changes
        // nothing further, so an unchecked GraphAveNum cannot make this loop run for ages.
        const std::int32_t history = p.graph.GraphData ? p.graph.GraphData->BufferSize() : 0;
        const std::int32_t samples = std::min(p.settings.GraphAveNum - 1, history);
        for (std::int32_t i = 0; i < samples; ++i)
            AddGraphSample(p, Currency(), Currency());
        p.graph.GraphOffset = 0;
        p.graph.GraphZoom = 1.0F;
        GraphDataDisplay(p, 0, 1.0F);
    }
}

void firstMeasurement(Program& p, const std::string& stamp)
{
    MeasurementState& m = p.measurement;
    m.ExpTrack[TrackPrevious] = m.ExpTrack[TrackCurrent];
    m.ExpClock[TrackPrevious] = m.ExpClock[TrackCurrent];
    m.LevelTrack[TrackPrevious] = m.LevelTrack[TrackCurrent];
    m.DoHLTrack[DoHLPrevious] = m.DoHLTrack[DoHLCurrent];
    WriteRecordFile(p, {}, RecordWrite::Header);
    appendLine(p, stamp + C(m.LevelTrack[TrackCurrent], 6, 0) +
                      C(ExpText(m.ExpTrack[TrackCurrent]), 11, 0) +
                      C(m.MoneyTrack[TrackCurrent], 15, 0));
    DisplayResult(p, DisplayMode::TakeStart);
    p.log.WriteDebugLog("Fast ImageRecognition ");
}

} // namespace

std::string RecognitionFailureText(bool levelRead, bool expRead, bool moneyRead)
{
    if (levelRead && expRead)
        return {};
    if (!levelRead && !expRead)
        return moneyRead ? "LvとExp NG" : "全部 NG";
    if (levelRead)
        return moneyRead ? "Exp NG" : "ExpとMoney NG";
    return moneyRead ? "Lv NG" : "LvとMoney NG";
}

void UpdateMeasurement(Program& p)
{
    MeasurementState& m = p.measurement;
    const Settings& s = p.settings;
    const std::string stamp = RecordStampText(DateTime(p.services.clock.Now()));

    if (m.ReadExp < Currency() || m.ReadLv < 0) {
        failure(p, stamp);
        return;
    }

    // Whether this capture read the coins: the result display takes ReadMoney over (sets it
    // to -1) before the line is built.
    const bool moneyRead = m.ReadMoney > kMinusOne;
    m.ExpClock[TrackCurrent] =
        static_cast<std::int32_t>(ToLong(static_cast<double>(p.services.clock.TickMs()) / 1000.0));
    m.ExpTrack[TrackCurrent] = ExpPercent(m.ReadExp);
    m.LevelTrack[TrackCurrent] = m.ReadLv;
    if (moneyRead) {
        m.MoneyClock[TrackCurrent] = m.ExpClock[TrackCurrent];
        m.MoneyTrack[TrackCurrent] = m.ReadMoney;
    }
    m.LevelTrack[TrackDifference] = m.LevelTrack[TrackCurrent] - m.LevelTrack[TrackPrevious];

    if (m.LevelTrack[TrackPrevious] != 0 &&
        (m.LevelTrack[TrackDifference] < 0 || m.LevelTrack[TrackDifference] > 2))
        characterChange(p);

    // Read live: a change of character has just taken the coins over into the start values.
    if (m.ReadMoney > kMinusOne && m.MoneyClock[TrackPrevious] == 0) {
        m.MoneyClock[TrackPrevious] = m.MoneyClock[TrackCurrent];
        m.MoneyTrack[TrackPrevious] = m.MoneyTrack[TrackCurrent];
    }

    if (m.ExpClock[TrackPrevious] == 0) {
        firstMeasurement(p, stamp);
        return;
    }

    const bool expIdle = m.ExpTrack[TrackCurrent] == m.ExpTrack[TrackPrevious];
    const bool moneyIdle = m.MoneyTrack[TrackCurrent] == m.MoneyTrack[TrackPrevious];
    if (moneyRead && moneyIdle && expIdle) {
        m.MoneyClock[TrackPrevious] = m.MoneyClock[TrackCurrent];
        m.ExpClock[TrackPrevious] = m.ExpClock[TrackCurrent];
        m.ReadMoney = kMinusOne;
        graphIdleSample(p);
        return;
    }
    if (moneyRead && moneyIdle) {
        m.MoneyClock[TrackPrevious] = m.MoneyClock[TrackCurrent];
    } else if (!moneyRead && expIdle) {
        m.ExpClock[TrackPrevious] = m.ExpClock[TrackCurrent];
        graphIdleSample(p);
        return;
    } else if (moneyRead && expIdle) {
        m.ExpClock[TrackPrevious] = m.ExpClock[TrackCurrent];
    }

    m.ExpTrack[TrackDifference] = m.ExpTrack[TrackCurrent] - m.ExpTrack[TrackPrevious] +
                                  Currency::FromInteger(100LL * m.LevelTrack[TrackDifference]);
    m.ExpClock[TrackDifference] = m.ExpClock[TrackCurrent] - m.ExpClock[TrackPrevious];
    m.ExpTrack[TrackPrevious] = m.ExpTrack[TrackCurrent];
    m.ExpClock[TrackPrevious] = m.ExpClock[TrackCurrent];
    m.LevelTrack[TrackPrevious] = m.LevelTrack[TrackCurrent];

    if (!moneyRead) {
        m.MoneyClock[TrackDifference] = 0;
        m.MoneyTrack[TrackDifference] = Currency();
    } else {
        m.MoneyTrack[TrackDifference] = m.MoneyTrack[TrackCurrent] - m.MoneyTrack[TrackPrevious];
        m.MoneyClock[TrackDifference] = m.MoneyClock[TrackCurrent] - m.MoneyClock[TrackPrevious];
        m.MoneyTrack[TrackPrevious] = m.MoneyTrack[TrackCurrent];
        m.MoneyClock[TrackPrevious] = m.MoneyClock[TrackCurrent];
    }

    DisplayResult(p, DisplayMode::Update);

    const Currency expMinutes = tenthsOfMinutes(m.ExpClock[TrackDifference]);
    const Currency expRate = m.ExpClock[TrackDifference] != 0
                                 ? Currency::FromDouble(m.ExpTrack[TrackDifference].toDouble() /
                                                        m.ExpClock[TrackDifference] * 3600.0)
                                 : Currency();
    const bool coinInterval = m.MoneyClock[TrackDifference] != 0;
    const Currency moneyMinutes =
        coinInterval ? tenthsOfMinutes(m.MoneyClock[TrackDifference]) : Currency();
    const Currency moneyRate =
        coinInterval ? Currency::FromDouble(Int(m.MoneyTrack[TrackDifference].toDouble() /
                                                m.MoneyClock[TrackDifference] * 3.6))
                     : Currency();
    if (s.GraphEnabled) {
        AddGraphSample(p, expRate, coinInterval ? moneyRate : kMinusOne);
        p.graph.GraphOffset = 0;
        p.graph.GraphZoom = 1.0F;
        GraphDataDisplay(p, 0, 1.0F);
    }

    std::string coinPart;
    if (!coinInterval) {
        coinPart = moneyRead ? std::string(12, ' ') : "     未認識 ";
    } else {
        coinPart = C(moneyRate, 12, 1);
        m.MoneyClock[TrackDifference] = 0;
    }
    appendLine(p, stamp + C(m.ReadLv, 6, 0) + C(ExpText(m.ExpTrack[TrackDifference]), 11, 0) +
                      C(m.MoneyTrack[TrackDifference], 15, 0) + C(expMinutes, 7, 1) +
                      C(ExpText(expRate), 11, 0) + coinPart);

    RecordValues record;
    record.stamp = stamp;
    record.level = m.LevelTrack[TrackCurrent];
    record.exp = m.ExpTrack[TrackCurrent];
    record.money = m.MoneyTrack[TrackCurrent];
    record.expGain = m.ExpTrack[TrackDifference];
    record.moneyGain = m.MoneyTrack[TrackDifference];
    record.expMinutes = expMinutes;
    record.expRate = expRate;
    record.moneyMinutes = moneyMinutes;
    record.moneyRate = moneyRate;
    WriteRecordFile(p, BuildRecordLine(record, s.SaveCsv), RecordWrite::Line);
}

} // namespace kesmaro
