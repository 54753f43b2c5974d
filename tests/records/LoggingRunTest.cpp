#include "records/LoggingRun.h"

#include "ProgramFixture.h"
#include "records/Popup.h"
#include "records/ResultDisplay.h"

#include <string>
#include <vector>

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

struct RunState {
    bool stamped;
    bool runEnabled;
    const char* runCaption;
    bool stopEnabled;
    bool timer;
};

class LoggingRunTest : public ProgramFixture {
protected:
    LoggingRunTest()
        : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {
        m_app1 = makeFile("companion1.exe");
        m_app2 = makeFile("companion2.exe");
        Settings& s = p.settings;
        s.StartUpPath = {m_app1, m_app2};
        s.StartUpDelay = 30;
        s.StartDelay = 0;
        AutoStartLogging(p); // the menus' idle state, as the main window leaves them
    }

    std::string makeFile(const std::string& name)
    {
        const std::string path = dir.write(name);
        EXPECT_FALSE(path.empty()) << name;
        return path;
    }

    void expectState(const RunState& expected) const
    {
        EXPECT_EQ(!p.LogStartStamp.empty(), expected.stamped);
        EXPECT_EQ(p.menus.menuRunEnabled, expected.runEnabled);
        EXPECT_EQ(p.menus.menuRunCaption, expected.runCaption);
        EXPECT_EQ(p.menus.menuStopEnabled, expected.stopEnabled);
        EXPECT_EQ(timerOn(), expected.timer);
    }

    std::vector<std::string> opened() const
    {
        std::vector<std::string> targets;
        for (const auto& r : sim.shell.requests)
            targets.push_back(r.target);
        return targets;
    }

    std::string m_app1, m_app2;
};

const RunState kIdle{false, true, "開始", false, false};
const RunState kStarting{false, false, "ロギング", true, false};
const RunState kRunning{true, false, "ロギング", true, true};

} // namespace

TEST_F(LoggingRunTest, MenuStatesFollowTheRunFromIdleThroughStartingToRunningAndBack)
{
    p.settings.StartUp = {true, true};
    expectState(kIdle);
    sim.scheduler.at(10000, [this] {
        SCOPED_TRACE("starting, inside the companion delay");
        expectState(kStarting);
    });
    menuRun_Click(p);
    expectState(kRunning);
    menuStop_Click(p);
    expectState(kIdle);
}

TEST_F(LoggingRunTest, StartWithoutCompanionsSetsEverythingAtOnceAndWaitsStartDelay)
{
    p.settings.StartDelay = 25;
    LoggingControl(p, LoggingMode::Start);
    EXPECT_EQ(sim.clock.elapsedMs(), 25001);
    EXPECT_EQ(tickAt.size(), 2u) << "captures run during the start delay";
    EXPECT_EQ(p.LogStartStamp, "200905172130");
    EXPECT_EQ(p.txtLog.text(), " 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     "
                               "ｺｲﾝ時給 \r\n");
    expectState(kRunning);
}

TEST_F(LoggingRunTest, BothCompanionsAreOpenedWithTheDelayBetweenThemBeforeTheRunBegins)
{
    p.settings.StartUp = {true, true};
    p.settings.StartUpDelay = 59;
    bool timerDuringSecondLaunch = true;
    sim.scheduler.at(59600, [&] { timerDuringSecondLaunch = timerOn(); });
    LoggingControl(p, LoggingMode::Start);
    EXPECT_EQ(opened(), (std::vector<std::string>{m_app1, m_app2}));
    EXPECT_EQ(view.busyAt, (std::vector<std::int64_t>{0, 501 + 59001}));
    EXPECT_FALSE(timerDuringSecondLaunch);
    // Timer, due time and stamp follow the second launch's wait, here past the minute.
    EXPECT_EQ(sim.clock.elapsedMs(), 501 + 59001 + 501 + 2);
    EXPECT_EQ(p.LogStartStamp, "200905172131");
    EXPECT_EQ(p.measurement.NextCaptureTime, DateTime::FromFields(2009, 5, 17, 21, 31, 15, 3));
}

TEST_F(LoggingRunTest, ClosingDuringTheCompanionDelayAbandonsTheStart)
{
    p.settings.StartUp = {true, true};
    sim.scheduler.at(10000, [this] {
        p.flags.ProgramClosing = true;
        p.timers.timCaptureInterval->setEnabled(false);
    });
    LoggingControl(p, LoggingMode::Start);
    EXPECT_EQ(opened(), (std::vector<std::string>{m_app1}));
    EXPECT_TRUE(p.txtLog.text().empty());
    expectState(kStarting);
}

TEST_F(LoggingRunTest, ClosingDuringALaunchWaitLeavesTheTimerOff)
{
    p.settings.StartUp = {true, false};
    sim.scheduler.at(100, [this] { p.flags.ProgramClosing = true; });
    LoggingControl(p, LoggingMode::Start);
    expectState(kStarting);
}

TEST_F(LoggingRunTest, AMissingCompanionIsReportedAndTheRunStartsAnyway)
{
    p.settings.StartUp = {true, false};
    p.settings.StartUpPath[0] = dir.file("gone.exe");
    LoggingControl(p, LoggingMode::Start);
    ASSERT_EQ(sim.prompter.asked().size(), 1u);
    EXPECT_EQ(sim.prompter.asked()[0].prompt.text, "gone.exeファイルが見つかりません。");
    EXPECT_TRUE(sim.shell.requests.empty());
    expectState(kRunning);
}

TEST_F(LoggingRunTest, UnreasonableDelaysFromTheSettingsFileDoNotOverflow)
{
    p.settings.StartUp = {true, true};
    p.settings.StartUpDelay = -5;
    p.settings.StartDelay = 2147483;
    LoggingControl(p, LoggingMode::Start);
    EXPECT_EQ(sim.clock.elapsedMs(), 501 + 2 + 501 + 2147483000LL + 1);
    expectState(kRunning);
}

TEST_F(LoggingRunTest, RunCommandLogsAroundTheStartAndResetsSuspendAndPopupSize)
{
    p.settings.StartDelay = 5;
    p.flags.SuspendMode = true;
    p.menus.cmdTempStopBackColor = 255;
    p.popup.widthTwips = 1;
    p.popup.heightTwips = 2;
    sim.scheduler.at(1000, [this] { log.WriteDebugLog("inside the wait"); });
    menuRun_Click(p);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Click : Run ", "inside the wait",
                                                    "Loging ManualStart ･･･ "}));
    EXPECT_FALSE(p.flags.SuspendMode);
    EXPECT_EQ(p.menus.cmdTempStopBackColor, kButtonFaceColour);
    EXPECT_EQ(p.popup.widthTwips, 6000);
    EXPECT_EQ(p.popup.heightTwips, 1095);
}

TEST_F(LoggingRunTest, AProgramClosedDuringTheRunCommandsStartSaysNothingAfterItsLastLine)
{
    p.settings.StartDelay = 5;
    sim.scheduler.at(1000, [this] {
        p.flags.ProgramClosing = true; // the close sequence runs inside the start's wait
        log.WriteDebugLog("End of the Program ");
    });
    menuRun_Click(p);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Click : Run ", "End of the Program "}));
}

TEST_F(LoggingRunTest, AutomaticStartOnlyWithAutoStart)
{
    AutoStartLogging(p);
    expectState(kIdle);
    EXPECT_TRUE(logLines().empty());
    p.settings.AutoStart = true;
    AutoStartLogging(p);
    expectState(kRunning);
    EXPECT_EQ(logLines(), std::vector<std::string>{"Log AutoStart ･･･ "});
}
