#include "measurement/CaptureCycle.h"

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "common/TextFile.h"
#include "records/LoggingRun.h"
#include "records/RecordFile.h"
#include "state/GraphBuffer.h"

#include <gtest/gtest.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

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
    QString debugLog() const
    {
        return QString::fromStdString(DecodeCp932(ReadFileBytes(log.path())));
    }
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
    const QDateTime next = p.measurement.NextCaptureTime;
    EXPECT_EQ(next, ToQDateTime(sim.clock.Now()).addSecs(360));
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
    EXPECT_TRUE(
        debugLog().contains("Lost Gamebryo Application Then Capture Stop "));
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
    EXPECT_FALSE(p.txtLog.text().isEmpty());
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
    EXPECT_TRUE(debugLog().contains("SingleCapture ･･･ End "));
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
        show("35", "12.34", QString::number(1000 * coinArea),
             coinArea);
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
        const QString file = RecordFileTarget(p.settings, p.LogStartStamp.toStdString(),
                                              p.programFolder.toStdString())
                                 .path;
        const std::int64_t intervalMs = std::int64_t{interval} * 60 * 1000;

        // Due 15 s after the start, the first capture comes on the second tick; then one
        // capture every interval, each on its tick and never on the one before.
        int requests = windows.requestCount();
        for (int i = 0; i < 200; ++i) {
            const std::int64_t tick = start + 20000 + i * intervalMs;
            sim.scheduler.runUntil(tick - 5000);
            ASSERT_EQ(windows.requestCount(), requests) << "capture " << i << " came early";
            // Numbers that move, so that every capture writes its record line.
            show("35", QString::asprintf("%d.%02d", 10 + i / 100, i % 100),
                 QString::number(1000 + 10 * i));
            sim.scheduler.runUntil(tick + 5000);
            ASSERT_EQ(windows.requestCount(), requests + 1) << "capture " << i << " slipped";
            requests = windows.requestCount();
        }
        LoggingControl(p, LoggingMode::Stop);

        QStringList lines = QString::fromStdString(DecodeCp932(ReadFileBytes(file.toStdString())))
                                .split("\r\n");
        lines.removeAll(QString());
        ASSERT_EQ(lines.size(), 200); // the header, then a line for each capture but the first
        const QString minutes = QString::number(interval) + ".0";
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringList columns = lines[i].split(" ,");
            ASSERT_EQ(columns.size(), 10) << lines[i].toStdString();
            EXPECT_EQ(columns[6].trimmed(), minutes) << lines[i].toStdString();
            EXPECT_EQ(columns[8].trimmed(), minutes) << lines[i].toStdString();
        }
    }
}

// A coin area "works" when it gives an amount: 15 digits beyond the coin range are no amount,
// so detection goes on as for an unreadable area.
TEST_F(CaptureCycleTest, ACoinReadingBeyondTheRangeDoesNotChooseItsArea)
{
    const QString tooMany = "999999999999999";
    show("35", "12.34", tooMany, 4);
    p.measurement.MoneyAreaMode = MoneyAreaDetect;
    CaptureImage(p);
    EXPECT_EQ(p.measurement.ReadMoney, Currency::FromInteger(-1));
    EXPECT_EQ(p.measurement.MoneyAreaMode, MoneyAreaDetect);
    EXPECT_FALSE(debugLog().contains("Normal EnhancedPosition "));

    p.measurement.MoneyAreaMode = MoneyAreaSecond; // the area in use now reads beyond the range
    CaptureImage(p);
    EXPECT_EQ(p.measurement.ReadMoney, Currency::FromInteger(-1));
    EXPECT_EQ(p.measurement.MoneyAreaMode, MoneyAreaDetect);
}
