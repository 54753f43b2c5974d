#include "platform/x11/X11MouseButtons.h"

#include "../support/Xvfb.h"
#include "platform/qt/QtClockScheduler.h"

#include <gtest/gtest.h>
#include <memory>

using namespace kesmaro;
using kesmaro::testing::StartXvfb;
using kesmaro::testing::TestWindow;
using kesmaro::testing::WaitFor;
using kesmaro::testing::XvfbSession;

namespace {

// "Ld Rd Lu Ru": the codes the gesture reader builds from the events.
std::string Codes(const std::vector<MouseButtonEvent>& events)
{
    std::string codes;
    for (const MouseButtonEvent& e : events) {
        if (!codes.empty())
            codes += ' ';
        codes += e.button == MouseButton::Left ? 'L' : 'R';
        codes += e.pressed ? 'd' : 'u';
    }
    return codes;
}

class X11MouseButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!StartXvfb(session))
            return;
        mouse = std::make_unique<X11MouseButtons>(clock, session->display());
    }

    bool start()
    {
        return mouse->Start([this](const std::vector<MouseButtonEvent>& batch) {
            received.insert(received.end(), batch.begin(), batch.end());
        }) == MouseStart::Started;
    }

    // Sends the xdotool commands, then waits until `count` events have come.
    bool send(const std::vector<std::string>& commands, std::size_t count)
    {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), commands.begin(), commands.end());
        if (session->run(argv) != 0)
            return false;
        return WaitFor([&] { return received.size() >= count; });
    }

    QtClock clock;
    std::unique_ptr<XvfbSession> session;
    std::unique_ptr<X11MouseButtons> mouse;
    std::vector<MouseButtonEvent> received;
};

} // namespace

TEST_F(X11MouseButtonsTest, LeftAndRightArriveInOrderWhileAnotherWindowHasTheFocus)
{
    TestWindow game(session->display(), {.width = 400, .height = 300});
    ASSERT_TRUE(WaitFor([&] { return game.viewable(); }));
    ASSERT_EQ(session->run({"xdotool", "windowactivate", "--sync", std::to_string(game.id())}), 0);
    ASSERT_TRUE(start());
    int x = 0, y = 0;
    ASSERT_TRUE(game.clientOrigin(x, y));
    const std::int64_t before = clock.TickMs();
    // Clicking on the focused window: it gets the clicks, and so do we. Other buttons and
    // motion are ignored.
    ASSERT_TRUE(send({"mousemove",
                      std::to_string(x + 50),
                      std::to_string(y + 50),
                      "mousedown",
                      "1",
                      "mousedown",
                      "3",
                      "mouseup",
                      "1",
                      "mouseup",
                      "3",
                      "click",
                      "2",
                      "click",
                      "4",
                      "mousemove",
                      "300",
                      "200",
                      "click",
                      "1",
                      "click",
                      "3"},
                     8));
    EXPECT_EQ(Codes(received), "Ld Rd Lu Ru Ld Lu Rd Ru");
    for (std::size_t i = 0; i < received.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(received[i].tickMs, i > 0 ? received[i - 1].tickMs : before - 1000);
        EXPECT_LE(received[i].tickMs, clock.TickMs());
    }
}

TEST_F(X11MouseButtonsTest, StopEndsDeliveryAndStartResumesIt)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(send({"click", "1"}, 2));
    mouse->Stop();
    mouse->Stop(); // harmless twice
    // xdotool exits only after the server has taken its clicks, so these are over before
    // the listener starts again; had they been delivered, they would come before the marker.
    ASSERT_EQ(session->run({"xdotool", "click", "1", "click", "1"}), 0);
    ASSERT_TRUE(start());
    ASSERT_TRUE(send({"click", "3"}, 4));
    EXPECT_EQ(Codes(received), "Ld Lu Rd Ru");
}

TEST_F(X11MouseButtonsTest, AHandlerMayStopAndRestartTheListener)
{
    std::function<void(const std::vector<MouseButtonEvent>&)> handler =
        [&](const std::vector<MouseButtonEvent>& batch) {
            received.insert(received.end(), batch.begin(), batch.end());
            mouse->Stop();
            EXPECT_EQ(mouse->Start(handler), MouseStart::Started);
        };
    ASSERT_EQ(mouse->Start(handler), MouseStart::Started);
    ASSERT_TRUE(send({"click", "1"}, 2));
    ASSERT_TRUE(send({"click", "3"}, 4));
    EXPECT_EQ(Codes(received), "Ld Lu Rd Ru");
}

TEST_F(X11MouseButtonsTest, AServerThatGoesAwayStopsDeliveryQuietly)
{
    ASSERT_TRUE(start());
    ASSERT_TRUE(send({"click", "1"}, 2));
    session->killServer();
    // The loop keeps running over the closed socket for a while without harm.
    WaitFor([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_FALSE(start());
    mouse->Stop();
    EXPECT_EQ(received.size(), 2u);
}

TEST(X11MouseButtonsStartTest, FailsCleanlyWithoutXInput2OrServer)
{
    QtClock clock;
    {
        X11MouseButtons nowhere(clock, ":4093");
        EXPECT_EQ(nowhere.Start([](const auto&) {}), MouseStart::NoInputSystem);
        nowhere.Stop();
    }
    // Without generic events the server cannot deliver XI2 events at all.
    XvfbSession session(
        {.windowManager = false, .serverArgs = {"-extension", "Generic Event Extension"}});
    if (session.display().empty())
        GTEST_SKIP() << "No X server for the X11 tests: " << session.problem();
    X11MouseButtons mouse(clock, session.display());
    EXPECT_EQ(mouse.Start([](const auto&) {}), MouseStart::NoPointerDevice);
    mouse.Stop();
}
