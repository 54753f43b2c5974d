#include "records/Suspend.h"

#include "ProgramFixture.h"
#include "records/DebugItems.h"
#include "records/LoggingRun.h"

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

class SuspendTest : public ProgramFixture {
protected:
    void tick() override { m_tickAt.push_back(m_sim.clock.elapsedMs()); }

    void startRun()
    {
        LoggingControl(m_program, LoggingMode::Start);
        m_tickAt.clear();
        m_base = m_sim.clock.elapsedMs();
    }

    std::vector<std::int64_t> m_tickAt;
    std::int64_t m_base = 0;
};

} // namespace

TEST_F(SuspendTest, TempStopSuspendsAndResumesWithOneImmediateTickAfterTenSeconds)
{
    startRun();
    cmdTempStop_Click(m_program);
    EXPECT_TRUE(m_program.flags.SuspendMode);
    EXPECT_EQ(m_program.menus.cmdTempStopBackColor, kSuspendedColour);
    EXPECT_FALSE(timerOn());
    m_sim.scheduler.runUntil(m_base + 60000);
    EXPECT_TRUE(m_tickAt.empty()) << "no capture while suspended";

    cmdTempStop_Click(m_program);
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_EQ(m_program.menus.cmdTempStopBackColor, kButtonFaceColour);
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

TEST_F(SuspendTest, WithoutRunNothingChangesButTheLineIsWritten)
{
    ChangeSuspend(m_program);
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_FALSE(timerOn());
    EXPECT_EQ(logLines(), QStringList{"Suspend Mode On "});
}

TEST_F(SuspendTest, ResumeAfterTheRunStoppedResetsButDoesNotCapture)
{
    startRun();
    ChangeSuspend(m_program);
    LoggingControl(m_program, LoggingMode::Stop);
    m_program.flags.SuspendMode = true; // the gesture path does not go through the stop command
    ChangeSuspend(m_program, 10);
    EXPECT_FALSE(m_program.flags.SuspendMode);
    EXPECT_FALSE(timerOn());
    EXPECT_TRUE(m_tickAt.empty());
}

TEST_F(SuspendTest, EventsDuringTheResumeWait)
{
    startRun();
    cmdTempStop_Click(m_program);
    m_sim.scheduler.at(m_base + 5000, [this] { cmdTempStop_Click(m_program); });
    cmdTempStop_Click(m_program);
    EXPECT_TRUE(m_program.flags.SuspendMode) << "a click in the wait suspends again";
    EXPECT_FALSE(timerOn());
    EXPECT_EQ(m_tickAt, (std::vector<std::int64_t>{m_base + 10001}));

    m_tickAt.clear();
    const std::int64_t now = m_sim.clock.elapsedMs();
    m_sim.scheduler.at(now + 3000, [this] {
        m_program.flags.ProgramClosing = true;
        m_program.timers.timCaptureInterval->setEnabled(false);
    });
    cmdTempStop_Click(m_program);
    EXPECT_TRUE(m_tickAt.empty()) << "closing skips the immediate tick";
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
    const struct {
        bool show;
        int height;
        std::optional<int> frameTop;
        int logHeight;
    } rows[] = {{true, 393, 352, 192},
                {false, 393, std::nullopt, 233},
                {true, 1000, 959, 799},
                {true, 100, 59, 0}}; // too small for the log
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.show << " " << row.height);
        const DebugItemLayout layout = DebugItemGeometry(row.show, row.height);
        EXPECT_EQ(layout.debugItemsVisible, row.show);
        EXPECT_EQ(layout.frmDebugTop, row.frameTop);
        EXPECT_EQ(layout.txtLogHeight, row.logHeight);
    }
}
