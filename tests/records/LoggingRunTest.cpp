#include "records/LoggingRun.h"

#include "ProgramFixture.h"
#include "records/Popup.h"
#include "records/ResultDisplay.h"

#include <QFile>

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
    {
        m_app1 = makeFile(QStringLiteral("companion1.exe"));
        m_app2 = makeFile(QStringLiteral("companion2.exe"));
        Settings& s = m_program.settings;
        s.StartUpPath = {m_app1, m_app2};
        s.StartUpDelay = 30;
        s.StartDelay = 0;
        AutoStartLogging(m_program); // the menus' idle state, as the main window leaves them
    }

    QString makeFile(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }

    void expectState(const RunState& expected) const
    {
        EXPECT_EQ(!m_program.LogStartStamp.isEmpty(), expected.stamped);
        EXPECT_EQ(m_program.menus.menuRunEnabled, expected.runEnabled);
        EXPECT_EQ(m_program.menus.menuRunCaption, QString::fromUtf8(expected.runCaption));
        EXPECT_EQ(m_program.menus.menuStopEnabled, expected.stopEnabled);
        EXPECT_EQ(timerOn(), expected.timer);
    }

    std::vector<std::string> opened() const
    {
        std::vector<std::string> targets;
        for (const auto& r : m_sim.shell.requests)
            targets.push_back(r.target);
        return targets;
    }

    QString m_app1, m_app2;
};

const RunState kIdle{false, true, "開始", false, false};
const RunState kStarting{false, false, "ロギング", true, false};
const RunState kRunning{true, false, "ロギング", true, true};

} // namespace

TEST_F(LoggingRunTest, MenuStatesFollowTheRunFromIdleThroughStartingToRunningAndBack)
{
    m_program.settings.StartUp = {true, true};
    expectState(kIdle);
    m_sim.scheduler.at(10000, [this] {
        SCOPED_TRACE("starting, inside the companion delay");
        expectState(kStarting);
    });
    menuRun_Click(m_program);
    expectState(kRunning);
    menuStop_Click(m_program);
    expectState(kIdle);
}

TEST_F(LoggingRunTest, StartWithoutCompanionsSetsEverythingAtOnceAndWaitsStartDelay)
{
    m_program.settings.StartDelay = 25;
    LoggingControl(m_program, LoggingMode::Start);
    EXPECT_EQ(m_sim.clock.elapsedMs(), 25001);
    EXPECT_EQ(m_ticks, 2) << "captures run during the start delay";
    EXPECT_EQ(m_program.LogStartStamp, QStringLiteral("200905172130"));
    EXPECT_EQ(m_program.txtLog.text(),
              QStringLiteral(" 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     "
                             "ｺｲﾝ時給 \r\n"));
    expectState(kRunning);
}

TEST_F(LoggingRunTest, BothCompanionsAreOpenedWithTheDelayBetweenThemBeforeTheRunBegins)
{
    m_program.settings.StartUp = {true, true};
    m_program.settings.StartUpDelay = 59;
    bool timerDuringSecondLaunch = true;
    m_sim.scheduler.at(59600, [&] { timerDuringSecondLaunch = timerOn(); });
    LoggingControl(m_program, LoggingMode::Start);
    EXPECT_EQ(opened(), (std::vector<std::string>{m_app1.toStdString(), m_app2.toStdString()}));
    EXPECT_EQ(m_view.busyAt, (std::vector<std::int64_t>{0, 501 + 59001}));
    EXPECT_FALSE(timerDuringSecondLaunch);
    // Timer, due time and stamp follow the second launch's wait, here past the minute.
    EXPECT_EQ(m_sim.clock.elapsedMs(), 501 + 59001 + 501 + 2);
    EXPECT_EQ(m_program.LogStartStamp, QStringLiteral("200905172131"));
    EXPECT_EQ(m_program.measurement.NextCaptureTime,
              QDateTime(QDate(2009, 5, 17), QTime(21, 31, 15, 3)));
}

TEST_F(LoggingRunTest, ClosingDuringTheCompanionDelayAbandonsTheStart)
{
    m_program.settings.StartUp = {true, true};
    m_sim.scheduler.at(10000, [this] {
        m_program.flags.ProgramClosing = true;
        m_program.timers.timCaptureInterval->setEnabled(false);
    });
    LoggingControl(m_program, LoggingMode::Start);
    EXPECT_EQ(opened(), (std::vector<std::string>{m_app1.toStdString()}));
    EXPECT_TRUE(m_program.txtLog.text().isEmpty());
    expectState(kStarting);
}

TEST_F(LoggingRunTest, ClosingDuringALaunchWaitLeavesTheTimerOff)
{
    m_program.settings.StartUp = {true, false};
    m_sim.scheduler.at(100, [this] { m_program.flags.ProgramClosing = true; });
    LoggingControl(m_program, LoggingMode::Start);
    expectState(kStarting);
}

TEST_F(LoggingRunTest, AMissingCompanionIsReportedAndTheRunStartsAnyway)
{
    m_program.settings.StartUp = {true, false};
    m_program.settings.StartUpPath[0] = m_dir.filePath(QStringLiteral("gone.exe"));
    LoggingControl(m_program, LoggingMode::Start);
    ASSERT_EQ(m_sim.prompter.asked().size(), 1u);
    EXPECT_EQ(m_sim.prompter.asked()[0].prompt.text, "gone.exeファイルが見つかりません。");
    EXPECT_TRUE(m_sim.shell.requests.empty());
    expectState(kRunning);
}

TEST_F(LoggingRunTest, UnreasonableDelaysFromTheSettingsFileDoNotOverflow)
{
    m_program.settings.StartUp = {true, true};
    m_program.settings.StartUpDelay = -5;
    m_program.settings.StartDelay = 2147483;
    LoggingControl(m_program, LoggingMode::Start);
    EXPECT_EQ(m_sim.clock.elapsedMs(), 501 + 2 + 501 + 2147483000LL + 1);
    expectState(kRunning);
}

TEST_F(LoggingRunTest, StopEndsTheRunAndForgetsThePreviousMeasurement)
{
    LoggingControl(m_program, LoggingMode::Start);
    MeasurementState& m = m_program.measurement;
    m.ExpTrack[TrackPrevious] = Currency::FromInteger(12);
    m.ExpClock[TrackPrevious] = 3600;
    m.MoneyTrack[TrackPrevious] = Currency::FromInteger(1000);
    m.MoneyClock[TrackPrevious] = 3500;
    LoggingControl(m_program, LoggingMode::Stop);
    expectState(kIdle);
    EXPECT_EQ(m.ExpTrack[TrackPrevious], Currency{});
    EXPECT_EQ(m.ExpClock[TrackPrevious], 0);
    EXPECT_EQ(m.MoneyTrack[TrackPrevious], Currency{});
    EXPECT_EQ(m.MoneyClock[TrackPrevious], 0);
}

TEST_F(LoggingRunTest, RestartWithinTheMinuteKeepsTheStamp)
{
    LoggingControl(m_program, LoggingMode::Start);
    LoggingControl(m_program, LoggingMode::Stop);
    m_sim.scheduler.runUntil(59000);
    LoggingControl(m_program, LoggingMode::Start);
    EXPECT_EQ(m_program.LogStartStamp, QStringLiteral("200905172130"));
    LoggingControl(m_program, LoggingMode::Stop);
    m_sim.scheduler.runUntil(60000);
    LoggingControl(m_program, LoggingMode::Start);
    EXPECT_EQ(m_program.LogStartStamp, QStringLiteral("200905172131"));
}

TEST_F(LoggingRunTest, RunCommandLogsAroundTheStartAndResetsSuspendAndPopupSize)
{
    m_program.settings.StartDelay = 5;
    m_program.flags.SuspendMode = true;
    m_program.menus.cmdTempStopBackColor = 255;
    m_program.popup.widthTwips = 1;
    m_program.popup.heightTwips = 2;
    m_sim.scheduler.at(1000, [this] { m_log.WriteDebugLog(QStringLiteral("inside the wait")); });
    menuRun_Click(m_program);
    EXPECT_EQ(logLines(),
              (QStringList{"Click : Run ", "inside the wait", "Loging ManualStart ･･･ "}));
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_EQ(m_program.menus.cmdTempStopBackColor, kButtonFaceColour);
    EXPECT_EQ(m_program.popup.widthTwips, 6000);
    EXPECT_EQ(m_program.popup.heightTwips, 1095);
}

TEST_F(LoggingRunTest, StopCommandReportsBeforeEndingTheRun)
{
    menuRun_Click(m_program);
    m_program.flags.SuspendMode = true;
    m_program.menus.cmdTempStopBackColor = 255;
    ShowPopup(m_program.popup, m_program.flags, m_view, QStringLiteral("game?"), QString(), 14);
    menuStop_Click(m_program);
    EXPECT_FALSE(m_program.flags.PopupShown);
    EXPECT_TRUE(m_program.txtLog.text().contains(QStringLiteral(" 経過: ")));
    EXPECT_EQ(logLines(),
              (QStringList{"Click : Run ", "Loging ManualStart ･･･ ", "Click : Stop ",
                           "Measure Result Data Display Complete ", "Loging Stop ･･･ End "}));
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_EQ(m_program.menus.cmdTempStopBackColor, kButtonFaceColour);
    expectState(kIdle);
}

TEST_F(LoggingRunTest, AutomaticStartOnlyWithAutoStart)
{
    AutoStartLogging(m_program);
    expectState(kIdle);
    EXPECT_TRUE(logLines().isEmpty());
    m_program.settings.AutoStart = true;
    AutoStartLogging(m_program);
    expectState(kRunning);
    EXPECT_EQ(logLines(), QStringList{"Log AutoStart ･･･ "});
}
