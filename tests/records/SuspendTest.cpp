#include "records/Suspend.h"

#include "ProgramFixture.h"
#include "records/LoggingRun.h"

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

class SuspendTest : public ProgramFixture {
protected:
    void tick() override { m_tickAt.push_back(m_sim.clock.elapsedMs()); }

    void startRun()
    {
        LoggingControl(m_program, LoggingStart);
        m_tickAt.clear();
        m_base = m_sim.clock.elapsedMs();
    }

    bool red() const { return m_program.menus.cmdTempStopBackColor == kSuspendedColour; }

    std::vector<std::int64_t> m_tickAt;
    std::int64_t m_base = 0;
};

} // namespace

TEST_F(SuspendTest, TempStopSuspendsAndResumesWithOneImmediateTickAfterTenSeconds)
{
    startRun();
    cmdTempStop_Click(m_program);
    EXPECT_TRUE(m_program.flags.SuspendMode);
    EXPECT_TRUE(red());
    EXPECT_FALSE(timerOn());
    m_sim.scheduler.runUntil(m_base + 60000);
    EXPECT_TRUE(m_tickAt.empty()) << "no capture while suspended";

    cmdTempStop_Click(m_program);
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_EQ(m_program.menus.cmdTempStopBackColor, kButtonFaceColour);
    EXPECT_TRUE(timerOn());
    // The timer's own first tick falls inside the wait; the immediate one follows the wait.
    EXPECT_EQ(m_tickAt, (std::vector<std::int64_t>{m_base + 70000, m_base + 70001}));
    EXPECT_EQ(logLines().mid(logLines().size() - 4),
              (QStringList{"Click : Temporarily Stop ", "Suspend Mode On ",
                           "Click : Temporarily Stop ", "Suspend Mode Off "}));
}

TEST_F(SuspendTest, GestureResumeTicksAtOnce)
{
    startRun();
    ChangeSuspend(m_program);
    ChangeSuspend(m_program);
    EXPECT_EQ(m_tickAt, (std::vector<std::int64_t>{m_base + 2}));
}

TEST_F(SuspendTest, WithoutRunAndTimerNothingChangesButTheLineIsWritten)
{
    ChangeSuspend(m_program);
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_FALSE(red());
    EXPECT_FALSE(timerOn());
    EXPECT_EQ(logLines(), QStringList{"Suspend Mode On "});
}

TEST_F(SuspendTest, ResumeAfterTheRunStoppedResetsButDoesNotCapture)
{
    startRun();
    ChangeSuspend(m_program);
    LoggingControl(m_program, LoggingStop);
    m_program.flags.SuspendMode = true; // the gesture path does not go through the stop command
    ChangeSuspend(m_program, 10);
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_EQ(m_program.menus.cmdTempStopBackColor, kButtonFaceColour);
    EXPECT_FALSE(timerOn());
    EXPECT_TRUE(m_tickAt.empty());
}

TEST_F(SuspendTest, ClickDuringTheResumeWaitSuspendsAgainAndTheImmediateTickStillRuns)
{
    startRun();
    cmdTempStop_Click(m_program);
    m_sim.scheduler.at(m_base + 5000, [this] { cmdTempStop_Click(m_program); });
    cmdTempStop_Click(m_program);
    EXPECT_TRUE(m_program.flags.SuspendMode);
    EXPECT_TRUE(red());
    EXPECT_FALSE(timerOn());
    EXPECT_EQ(m_tickAt, (std::vector<std::int64_t>{m_base + 10001}));
}

TEST_F(SuspendTest, ClosingDuringTheResumeWaitSkipsTheImmediateTick)
{
    startRun();
    cmdTempStop_Click(m_program);
    m_sim.scheduler.at(m_base + 3000, [this] {
        m_program.flags.ProgramClosing = true;
        m_program.timers.timCaptureInterval->setEnabled(false);
    });
    cmdTempStop_Click(m_program);
    EXPECT_TRUE(m_tickAt.empty());
}

TEST_F(SuspendTest, AFailingTickIsReportedAsChangeSuspendTrap)
{
    startRun();
    m_program.timers.captureTick = [] { Raise(ErrSubscript); };
    ChangeSuspend(m_program);
    ChangeSuspend(m_program);
    EXPECT_EQ(logLines().back(),
              QStringLiteral("Error Trap : ChangeSuspend : CODE9  Subscript out of range"));
}

TEST(DebugItemGeometry, PlacesFrameAndLogByInnerHeight)
{
    struct Row {
        const char* name;
        bool show;
        int height;
        std::optional<int> frameTop;
        int logHeight;
    };
    const Row rows[] = {
        {"designed window, shown", true, 393, 352, 192},
        {"designed window, hidden", false, 393, std::nullopt, 233},
        {"smallest window, shown", true, 300, 259, 99},
        {"smallest window, hidden", false, 300, std::nullopt, 140},
        {"tall window, shown", true, 1000, 959, 799},
        {"too small for the log", true, 100, 59, 0},
        {"zero height, hidden", false, 0, std::nullopt, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DebugItemLayout layout = DebugItemGeometry(row.show, row.height);
        EXPECT_EQ(layout.debugItemsVisible, row.show);
        EXPECT_EQ(layout.frmDebugTop, row.frameTop);
        EXPECT_EQ(layout.txtLogHeight, row.logHeight);
        if (row.show && row.logHeight > 0) {
            EXPECT_EQ(*layout.frmDebugTop - (kTxtLogTop + layout.txtLogHeight), 8)
                << "the log ends 8 pixels above the frame";
            EXPECT_EQ(row.height - (*layout.frmDebugTop + kFrmDebugHeight), 8);
        }
    }
}

TEST_F(SuspendTest, DebugItemDisplayRecordsTheFrameVisibility)
{
    const int menus = m_view.menus;
    DebugItemDisplay(m_program, true, 393);
    EXPECT_TRUE(m_program.menus.frmDebugVisible);
    DebugItemDisplay(m_program, false, 393);
    EXPECT_FALSE(m_program.menus.frmDebugVisible);
    EXPECT_EQ(m_view.menus, menus + 2);
}
