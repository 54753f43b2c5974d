#include "records/Suspend.h"

#include "ProgramFixture.h"
#include "records/DebugItems.h"
#include "records/LoggingRun.h"

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

class SuspendTest : public ProgramFixture {
protected:
    SuspendTest() : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}

    void startRun()
    {
        LoggingControl(p, LoggingMode::Start);
        tickAt.clear();
        m_base = sim.clock.elapsedMs();
    }

    std::int64_t m_base = 0;
};

} // namespace

TEST_F(SuspendTest, GestureResumeTicksAtOnce)
{
    startRun();
    ChangeSuspend(p);
    ChangeSuspend(p);
    EXPECT_EQ(tickAt, (std::vector<std::int64_t>{m_base + 2}));
}

TEST_F(SuspendTest, WithoutRunNothingChangesButTheLineIsWritten)
{
    ChangeSuspend(p);
    EXPECT_FALSE(p.flags.SuspendMode);
    EXPECT_FALSE(timerOn());
    EXPECT_EQ(logLines(), std::vector<std::string>{"Suspend Mode On "});
}

TEST_F(SuspendTest, ResumeAfterTheRunStoppedResetsButDoesNotCapture)
{
    startRun();
    ChangeSuspend(p);
    LoggingControl(p, LoggingMode::Stop);
    p.flags.SuspendMode = true; // the gesture path does not go through the stop command
    ChangeSuspend(p, 10);
    EXPECT_FALSE(p.flags.SuspendMode);
    EXPECT_FALSE(timerOn());
    EXPECT_TRUE(tickAt.empty());
}

TEST_F(SuspendTest, EventsDuringTheResumeWait)
{
    startRun();
    cmdTempStop_Click(p);
    sim.scheduler.at(m_base + 5000, [this] { cmdTempStop_Click(p); });
    cmdTempStop_Click(p);
    EXPECT_TRUE(p.flags.SuspendMode) << "a click in the wait suspends again";
    EXPECT_FALSE(timerOn());
    EXPECT_EQ(tickAt, (std::vector<std::int64_t>{m_base + 10001}));

    tickAt.clear();
    const std::int64_t now = sim.clock.elapsedMs();
    sim.scheduler.at(now + 3000, [this] {
        p.flags.ProgramClosing = true;
        p.timers.timCaptureInterval->setEnabled(false);
    });
    cmdTempStop_Click(p);
    EXPECT_TRUE(tickAt.empty()) << "closing skips the immediate tick";
}

TEST_F(SuspendTest, AFailingTickIsReportedAsChangeSuspendTrap)
{
    startRun();
    p.timers.captureTick = [] { Raise(ErrSubscript); };
    ChangeSuspend(p);
    ChangeSuspend(p);
    EXPECT_EQ(logLines().back(), "Error Trap : ChangeSuspend : CODE9  Subscript out of range");
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
