#include "measurement/CaptureCycle.h"

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "common/Text.h"
#include "common/TextFile.h"
#include "records/LoggingRun.h"
#include "records/RecordFile.h"
#include "state/GraphBuffer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;
using namespace std::chrono;

namespace {

std::vector<std::string> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find(separator, begin)) != std::string_view::npos;
         begin = end + separator.size())
        parts.emplace_back(text.substr(begin, end - begin));
    parts.emplace_back(text.substr(begin));
    return parts;
}

class CaptureCycleTest : public test::ProgramFixture {
protected:
    CaptureCycleTest() : ProgramFixture({.start = test::At(2024, 5, 1, 10), .defaults = true})
    {
        p.settings.StartDelay = 0;
        p.graph.GraphData.emplace(sim.clock);
        p.timers.timCaptureInterval =
            sim.scheduler.CreateTimer([this] { timCaptureInterval_Timer(p); });
        p.timers.timCaptureInterval->setInterval(kCaptureTickMs);
    }

    void at(double seconds) { sim.scheduler.runUntil(std::llround(seconds * 1000)); }
    std::string debugLog() const { return DecodeCp932(ReadFileBytes(log.path())); }
    bool logged(std::string_view text) const { return debugLog().find(text) != std::string::npos; }
};

} // namespace

TEST_F(CaptureCycleTest, TheGameInTheBackgroundAddsAZeroSampleAtThe481stTry)
{
    show("35", "12.34", "1000");
    background();
    LoggingControl(p, LoggingMode::Start);
    const std::int32_t before = p.graph.GraphData->MaxNum();
    for (int i = 0; i < 480; ++i)
        CaptureImage(p);
    EXPECT_EQ(p.measurement.BackgroundTicks, 480);
    EXPECT_EQ(p.graph.GraphData->Value(0).Time, 0.0); // nothing added yet
    CaptureImage(p);
    EXPECT_EQ(p.measurement.BackgroundTicks, 0);
    EXPECT_NE(p.graph.GraphData->Value(0).Time, 0.0);
    EXPECT_EQ(p.graph.GraphData->MaxNum(), before == 0 ? p.settings.GraphTimeScale : before);
    EXPECT_EQ(p.measurement.ReadLv, 0); // nothing was read
    EXPECT_EQ(p.measurement.NextCaptureTick, sim.clock.TickMs() + 15000);
}

TEST_F(CaptureCycleTest, AMissingGameIsSaidByThePopupDuringARunAndTakenBack)
{
    LoggingControl(p, LoggingMode::Start);
    CaptureImage(p);
    EXPECT_TRUE(p.flags.PopupShown);
    EXPECT_EQ(p.popup.message, "Gamebryo Applicationが起動していません");
    EXPECT_EQ(p.popup.caption, "エラー");
    EXPECT_EQ(p.popup.fontSize, 14);
    const DateTime next = p.measurement.NextCaptureTime;
    EXPECT_EQ(next, DateTime(sim.clock.Now()).addSeconds(360));
    show("35", "12.34", "1000");
    CaptureImage(p);
    EXPECT_FALSE(p.flags.PopupShown);
}

TEST_F(CaptureCycleTest, NoRunSwitchesTheTimerOffAndLogsTheLossInDebugMode)
{
    p.flags.DebugMode = true;
    p.timers.timCaptureInterval->setEnabled(true);
    at(10);
    EXPECT_FALSE(p.timers.timCaptureInterval->isEnabled());
    CaptureImage(p);
    EXPECT_FALSE(p.flags.PopupShown);
    EXPECT_TRUE(logged("Lost Gamebryo Application Then Capture Stop ")) << debugLog();
}

TEST_F(CaptureCycleTest, ACaptureInsideALagWaitRewritesTheSlotsSafely)
{
    show("35", "12.34", "1000");
    LoggingControl(p, LoggingMode::Start);
    p.settings.LagCancelTime = 50;
    // While the first capture's scan waits, a second capture (as a gesture would) runs inside.
    bool nested = false;
    sim.scheduler.at(sim.clock.elapsedMs() + 60, [&] {
        show("36", "1.00", "2000");
        nested = true;
        CaptureImage(p);
    });
    CaptureImage(p);
    EXPECT_TRUE(nested);
    EXPECT_GE(p.measurement.ReadLv, 35);
    EXPECT_FALSE(p.measurement.CaptureBusy);
    EXPECT_FALSE(p.txtLog.text().empty());
}

TEST_F(CaptureCycleTest, TheTestCaptureWaitsTenSecondsWithTheButtonsOff)
{
    show("35", "12.34", "1000");
    bool disabledDuringWait = false;
    sim.scheduler.at(5000, [&] {
        disabledDuringWait = !p.menus.cmdCaptureEnabled && !p.menus.cmdRecognizeEnabled;
    });
    cmdCapture_Click(p);
    EXPECT_TRUE(disabledDuringWait);
    EXPECT_TRUE(p.menus.cmdCaptureEnabled);
    EXPECT_EQ(p.measurement.ReadLv, 35);
    EXPECT_EQ(sim.clock.elapsedMs(), 10001);
    EXPECT_TRUE(logged("SingleCapture ･･･ End ")) << debugLog();
}

TEST_F(CaptureCycleTest, AWallClockJumpNeitherStallsNorBunchesCaptures)
{
    show("35", "12.34", "1000");
    LoggingControl(p, LoggingMode::Start);
    at(20);
    const int grabs = windows.grabCount();
    sim.clock.shiftWallClock(-3600 * 1000); // the clock is put back an hour
    at(380);
    EXPECT_GT(windows.grabCount(), grabs); // still captured six minutes later
    const int afterBack = windows.grabCount();
    sim.clock.shiftWallClock(2 * 3600 * 1000); // and forward two hours
    at(390);
    EXPECT_EQ(windows.grabCount(), afterBack); // no capture before it is due
    at(740);
    EXPECT_GT(windows.grabCount(), afterBack);
}

TEST_F(CaptureCycleTest, OneCaptureIsOneRequestToTheWindowSystemWhicheverCoinAreaReads)
{
    for (int coinArea : {4, 2}) {
        SCOPED_TRACE(coinArea);
        show("35", "12.34", std::to_string(1000 * coinArea), coinArea);
        p.measurement.MoneyAreaMode = MoneyAreaDetect;
        const int before = windows.requestCount();
        CaptureImage(p);
        EXPECT_EQ(windows.requestCount() - before, 1);
        EXPECT_EQ(p.measurement.ReadLv, 35);
        EXPECT_EQ(p.measurement.ReadExp, Currency::FromInteger(1234));
        EXPECT_EQ(p.measurement.MoneyPair[MoneyPairLatest], Currency::FromInteger(1000 * coinArea));
    }
}

// Ticks that come a few milliseconds early or late never move a capture to another tick: 200
// captures each land on the tick their interval names, and the record lines say so.
TEST_F(CaptureCycleTest, TimerJitterNeverMovesACaptureToAnotherTick)
{
    for (const int interval : {1, 6}) {
        SCOPED_TRACE(interval);
        p.settings.CaptureInterval = interval;
        p.settings.SaveCsv = true;
        p.settings.MonthlyAppend = false;
        sim.scheduler.setTimerJitter(5, static_cast<std::uint32_t>(interval));
        show("35", "12.34", "1000");
        // The run start enables the timer: its ticks count from here.
        p.timers.timCaptureInterval->setEnabled(false);
        const std::int64_t start = sim.clock.elapsedMs();
        LoggingControl(p, LoggingMode::Start);
        const std::string file =
            RecordFileTarget(p.settings, p.LogStartStamp, p.programFolder).path;
        const std::int64_t intervalMs = std::int64_t{interval} * 60 * 1000;

        // Due 15 s after the start, the first capture comes on the second tick; then one
        // capture every interval, each on its tick and never on the one before.
        int requests = windows.requestCount();
        for (int i = 0; i < 200; ++i) {
            const std::int64_t tick = start + 20000 + i * intervalMs;
            sim.scheduler.runUntil(tick - 5000);
            ASSERT_EQ(windows.requestCount(), requests) << "capture " << i << " came early";
            // Numbers that move, so that every capture writes its record line.
            const int hundredths = i % 100;
            show("35",
                 std::to_string(10 + i / 100) + (hundredths < 10 ? ".0" : ".") +
                     std::to_string(hundredths),
                 std::to_string(1000 + 10 * i));
            sim.scheduler.runUntil(tick + 5000);
            ASSERT_EQ(windows.requestCount(), requests + 1) << "capture " << i << " slipped";
            requests = windows.requestCount();
        }
        LoggingControl(p, LoggingMode::Stop);

        std::vector<std::string> lines = split(DecodeCp932(ReadFileBytes(file)), "\r\n");
        std::erase(lines, std::string());
        ASSERT_EQ(lines.size(), 200U); // the header, then a line for each capture but the first
        const std::string minutes = std::to_string(interval) + ".0";
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> columns = split(lines[i], " ,");
            ASSERT_EQ(columns.size(), 10U) << lines[i];
            EXPECT_EQ(TrimSpaces(columns[6]), minutes) << lines[i];
            EXPECT_EQ(TrimSpaces(columns[8]), minutes) << lines[i];
        }
    }
}

// A coin area "works" when it gives an amount: 15 digits beyond the coin range are no amount,
// so detection goes on as for an unreadable area.
TEST_F(CaptureCycleTest, ACoinReadingBeyondTheRangeDoesNotChooseItsArea)
{
    const char* tooMany = "999999999999999";
    show("35", "12.34", tooMany, 4);
    p.measurement.MoneyAreaMode = MoneyAreaDetect;
    CaptureImage(p);
    EXPECT_EQ(p.measurement.ReadMoney, Currency::FromInteger(-1));
    EXPECT_EQ(p.measurement.MoneyAreaMode, MoneyAreaDetect);
    EXPECT_FALSE(logged("Normal EnhancedPosition "));

    p.measurement.MoneyAreaMode = MoneyAreaSecond; // the area in use now reads beyond the range
    CaptureImage(p);
    EXPECT_EQ(p.measurement.ReadMoney, Currency::FromInteger(-1));
    EXPECT_EQ(p.measurement.MoneyAreaMode, MoneyAreaDetect);
}
