#include "platform/x11/X11GameWindows.h"

#include "../support/Xvfb.h"
#include "platform/x11/LinuxSystemInfo.h"
#include "platform/x11/X11Bell.h"

#include <gtest/gtest.h>
#include <memory>

using namespace kesmaro;
using kesmaro::testing::Rgb;
using kesmaro::testing::StartXvfb;
using kesmaro::testing::TestWindow;
using kesmaro::testing::WaitFor;
using kesmaro::testing::XvfbSession;

namespace {

const std::string kGame = "Gamebryo Application";

Rgb At(const PixelBuffer& buffer, int x, int y)
{
    const std::uint8_t* p = buffer.pixel(x, y);
    return Rgb{p[2], p[1], p[0]};
}

// Compares a grab of `region` (client coordinates) with the window's pattern; pixels for
// which `inside` is false must be black. Returns the number of wrong pixels.
int WrongPixels(const PixelBuffer& buffer, const Rect& region, const TestWindow& window,
                const std::function<bool(int, int)>& inside)
{
    if (buffer.width != region.width || buffer.height != region.height)
        return -1;
    int wrong = 0;
    for (int y = 0; y < region.height; ++y) {
        for (int x = 0; x < region.width; ++x) {
            const int cx = region.x + x, cy = region.y + y;
            const Rgb want = inside(cx, cy) ? window.expected(cx, cy) : Rgb{0, 0, 0};
            if (At(buffer, x, y) != want || buffer.pixel(x, y)[3] != 0xFF)
                ++wrong;
        }
    }
    return wrong;
}

std::string ScreenMode(const std::string& display)
{
    const auto videos = LinuxSystemInfo({.display = display}).Facts().videoControllers;
    return videos.empty() ? std::string() : videos.front().modeDescription;
}

bool Everywhere(int, int)
{
    return true;
}

// One X server and window manager per test: cases never see each other's windows.
class X11GameWindowsTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (!StartXvfb(session, sessionOptions()))
            return;
        windows = std::make_unique<X11GameWindows>(
            X11GameWindows::Options{session->display(), /*useShm=*/GetParam()});
        ASSERT_TRUE(windows->isConnected());
    }

    virtual XvfbSession::Options sessionOptions() { return {}; }

    // Opens a test window and waits until it is managed, drawn and findable.
    std::unique_ptr<TestWindow> open(TestWindow::Options options)
    {
        auto window = std::make_unique<TestWindow>(session->display(), options);
        EXPECT_TRUE(window->ok());
        EXPECT_TRUE(WaitFor([&] {
            return window->viewable() && windows->FindWindow(options.windowClass) != kNoWindow &&
                   At(windows->GrabClientRegion(window->id(), {0, 0, 1, 1}), 0, 0) ==
                       window->expected(0, 0);
        })) << "test window never appeared";
        return window;
    }

    bool activate(const TestWindow& window)
    {
        session->run({"xdotool", "windowactivate", "--sync", std::to_string(window.id())});
        return WaitFor([&] { return windows->ForegroundWindow() == window.id(); });
    }

    std::unique_ptr<XvfbSession> session;
    std::unique_ptr<X11GameWindows> windows;
};

} // namespace

TEST_P(X11GameWindowsTest, FindsAWindowByEitherStringOfItsClassOnly)
{
    EXPECT_EQ(windows->ForegroundWindow(), kNoWindow); // an empty desktop
    auto game = open({.instance = "dragon.exe", .windowClass = kGame});
    const std::pair<std::string, bool> rows[] = {{kGame, true},
                                                 {"dragon.exe", true},
                                                 {"Gamebryo", false},
                                                 {"gamebryo application", false},
                                                 {"No Such Class", false},
                                                 {"", false}};
    for (const auto& [query, found] : rows) {
        SCOPED_TRACE(query);
        EXPECT_EQ(windows->FindWindow(query), found ? game->id() : kNoWindow);
    }
}

TEST_P(X11GameWindowsTest, ForegroundFollowsTheActiveWindowAndFindGivesTheTopmost)
{
    auto game = open({.windowClass = kGame, .width = 400, .height = 300});
    auto second = open({.x = 60, .y = 60, .width = 300, .height = 200, .seed = 1});
    auto other = open({.instance = "editor", .windowClass = "Editor", .x = 200, .y = 200});
    ASSERT_TRUE(activate(*game));
    EXPECT_TRUE(WaitFor([&] { return windows->FindWindow(kGame) == game->id(); }));
    ASSERT_TRUE(activate(*second));
    EXPECT_TRUE(WaitFor([&] { return windows->FindWindow(kGame) == second->id(); }));
    ASSERT_TRUE(activate(*other));
    EXPECT_EQ(windows->ForegroundWindow(), other->id());
}

// Grabs against the known pattern: inside pixels exact, everything outside the window black.
TEST_P(X11GameWindowsTest, GrabsKnownPixelsAndBlackOutsideTheWindow)
{
    auto game = open({.width = 1024, .height = 768});
    const auto inWindow = [](int x, int y) { return x >= 0 && y >= 0 && x < 1024 && y < 768; };
    const Rect rows[] = {
        {392, 726, 53, 15},     // level, full screen
        {300, 256, 300, 300},   // crosses the 256 boundaries of the pattern
        {1023, 767, 1, 1},      // the last pixel
        {846, 202, 179, 9},     // the default coin region, one column past the right edge
        {-10, -5, 49, 10},      // over the top-left corner
        {0, 1000, 20, 20},      // wholly below
        {-40000, -40000, 8, 8}, // far outside the coordinate range
    };
    for (const Rect& region : rows) {
        SCOPED_TRACE(::testing::Message() << region.x << "," << region.y);
        const PixelBuffer buffer = windows->GrabClientRegion(game->id(), region);
        EXPECT_EQ(WrongPixels(buffer, region, *game, inWindow), 0);
    }
    // Sizes of zero or less, or absurd (40 GB from a garbled setting), give an empty buffer.
    for (const Rect& region : {Rect{0, 0, 0, 10}, Rect{5, 5, -3, 4}, Rect{0, 0, 100000, 100000}}) {
        EXPECT_TRUE(windows->GrabClientRegion(game->id(), region).bgra.empty());
    }
}

TEST_P(X11GameWindowsTest, AWindowClosingDuringTheGrabNeverCrashesOrPrints)
{
    ::testing::internal::CaptureStderr();
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        auto game = open({.width = 200, .height = 100, .seed = round});
        const WindowId id = game->id();
        game->destroy(); // no waiting: the grab races the server's destruction of the window
        const Rect region{0, 0, 53, 15};
        const PixelBuffer buffer = windows->GrabClientRegion(id, region);
        EXPECT_EQ(windows->GrabPicture(id, PictureArea::WholeWindow, region).height, 15);
        // Either the window was still there or every pixel is black.
        EXPECT_TRUE(WrongPixels(buffer, region, *game, Everywhere) == 0 ||
                    WrongPixels(buffer, region, *game, [](int, int) { return false; }) == 0);
        ASSERT_TRUE(WaitFor([&] { return windows->FindWindow(kGame) == kNoWindow; }));
        EXPECT_EQ(windows->WindowRect(id), Rect{});
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    // The connection is still good for the next window.
    auto next = open({.width = 100, .height = 100, .seed = 1});
    EXPECT_EQ(windows->FindWindow(kGame), next->id());
}

TEST_P(X11GameWindowsTest, WholeWindowPictureIncludesTheFrameAndHasTheOuterSize)
{
    auto game = open({.width = 400, .height = 300});
    const Rect outer = windows->WindowRect(game->id());
    int clientX = 0, clientY = 0;
    ASSERT_TRUE(game->clientOrigin(clientX, clientY));
    // The manager's frame surrounds the client: a title bar at least.
    EXPECT_GT(outer.height, 300);
    EXPECT_GE(outer.width, 400);
    EXPECT_LT(outer.y, clientY);
    const PixelBuffer picture = windows->GrabPicture(game->id(), PictureArea::WholeWindow,
                                                     {0, 0, outer.width, outer.height});
    ASSERT_EQ(picture.width, outer.width);
    ASSERT_EQ(picture.height, outer.height);
    const int dx = clientX - outer.x, dy = clientY - outer.y;
    EXPECT_EQ(At(picture, dx, dy), game->expected(0, 0));
    EXPECT_EQ(At(picture, dx + 399, dy + 299), game->expected(399, 299));
    bool drawnFrame = false; // the title bar is drawn by the manager, not black
    for (int x = 0; x < outer.width && !drawnFrame; ++x)
        drawnFrame = At(picture, x, dy / 2) != Rgb{0, 0, 0};
    EXPECT_TRUE(drawnFrame);
    const PixelBuffer client =
        windows->GrabPicture(game->id(), PictureArea::Client, {0, 0, 400, 300});
    EXPECT_EQ(At(client, 0, 0), game->expected(0, 0));
}

TEST_P(X11GameWindowsTest, PartOfTheWindowOffTheScreenReadsBlack)
{
    auto game = open({.width = 300, .height = 200});
    session->run({"xdotool", "windowmove", "--sync", std::to_string(game->id()), "1180", "900"});
    int x = 0, y = 0;
    ASSERT_TRUE(WaitFor([&] { return game->clientOrigin(x, y) && x > 1000 && y > 800; }));
    const int visibleWidth = 1280 - x, visibleHeight = 1024 - y; // the screen is 1280 x 1024
    const auto onScreen = [&](int cx, int cy) { return cx < visibleWidth && cy < visibleHeight; };
    const Rect region{0, 0, 300, 200};
    EXPECT_TRUE(WaitFor([&] {
        return WrongPixels(windows->GrabClientRegion(game->id(), region), region, *game,
                           onScreen) == 0;
    }));
}

INSTANTIATE_TEST_SUITE_P(Transfer, X11GameWindowsTest, ::testing::Values(true, false),
                         [](const auto& param) { return param.param ? "Shm" : "Plain"; });

// Without a window manager nobody keeps a client list or an active window.
class X11GameWindowsWithoutManagerTest : public X11GameWindowsTest {
protected:
    XvfbSession::Options sessionOptions() override { return {.windowManager = false}; }
};

TEST_P(X11GameWindowsWithoutManagerTest, FindsTopLevelWindowsAndWalksTheFocusUp)
{
    auto game = open({.width = 200, .height = 100, .child = true});
    auto other = open({.instance = "x", .windowClass = "Other", .width = 200, .height = 100});
    EXPECT_EQ(windows->FindWindow(kGame), game->id());
    EXPECT_EQ(windows->FindWindow("Other"), other->id());
    EXPECT_EQ(windows->WindowRect(game->id()), (Rect{40, 40, 200, 100}));
    game->focusChild();
    EXPECT_TRUE(WaitFor([&] { return windows->ForegroundWindow() == game->id(); }));
}

INSTANTIATE_TEST_SUITE_P(Transfer, X11GameWindowsWithoutManagerTest, ::testing::Values(true),
                         [](const auto&) { return "Shm"; });

// A server without MIT-SHM: every grab is a plain request.
class X11GameWindowsWithoutShmTest : public X11GameWindowsTest {
protected:
    XvfbSession::Options sessionOptions() override
    {
        return {.serverArgs = {"-extension", "MIT-SHM"}};
    }
};

TEST_P(X11GameWindowsWithoutShmTest, GrabsWithoutSharedMemory)
{
    auto game = open({.width = 300, .height = 200});
    const Rect region{10, 20, 53, 15};
    EXPECT_EQ(WrongPixels(windows->GrabClientRegion(game->id(), region), region, *game, Everywhere),
              0);
    EXPECT_FALSE(windows->usesShm());
}

INSTANTIATE_TEST_SUITE_P(Transfer, X11GameWindowsWithoutShmTest, ::testing::Values(true),
                         [](const auto&) { return "ShmAsked"; });

TEST(X11GameWindowsServerTest, AServerThatGoesAwayReadsAsNoWindowNoBellAndNoScreen)
{
    XvfbSession session({.windowManager = false});
    if (session.display().empty())
        GTEST_SKIP() << "No X server for the X11 tests: " << session.problem();
    X11GameWindows windows({session.display()});
    X11Bell bell(session.display());
    EXPECT_TRUE(bell.Ring());
    EXPECT_EQ(ScreenMode(session.display()), "1280 x 1024 x 16777216 colors");
    TestWindow game(session.display(), {.width = 100, .height = 100});
    ASSERT_TRUE(WaitFor([&] { return windows.FindWindow(kGame) != kNoWindow; }));
    session.killServer();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(windows.FindWindow(kGame), kNoWindow);
    EXPECT_EQ(windows.ForegroundWindow(), kNoWindow);
    const PixelBuffer buffer = windows.GrabClientRegion(game.id(), {0, 0, 53, 15});
    EXPECT_EQ(windows.WindowRect(game.id()), Rect{});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(buffer.width, 53);
    EXPECT_EQ(buffer.bgra[0] | buffer.bgra[1] | buffer.bgra[2], 0);
    EXPECT_FALSE(windows.isConnected());
    EXPECT_FALSE(bell.Ring());
    EXPECT_EQ(ScreenMode(session.display()), "");
}
