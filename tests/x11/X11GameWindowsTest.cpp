#include "platform/x11/X11GameWindows.h"

#include "X11TestSupport.h"
#include "platform/x11/LinuxSystemInfo.h"
#include "platform/x11/X11Bell.h"

#include <gtest/gtest.h>
#include <memory>

using namespace kesmaro;
using kesmaro::testing::Rgb;
using kesmaro::testing::TestWindow;
using kesmaro::testing::WaitFor;
using kesmaro::testing::XvfbSession;

namespace {

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

// One X server and window manager per test: cases never see each other's windows.
class X11GameWindowsTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        session = std::make_unique<XvfbSession>(sessionOptions());
        if (!session->ok()) {
            if (session->display().empty())
                GTEST_SKIP() << "No X server for the X11 tests: " << session->problem();
            FAIL() << session->problem();
        }
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
        const bool ready = WaitFor([&] {
            if (!window->viewable() || windows->FindWindow(options.windowClass) == kNoWindow)
                return false;
            const PixelBuffer corner = windows->GrabClientRegion(window->id(), {0, 0, 1, 1});
            return At(corner, 0, 0) == window->expected(0, 0);
        });
        if (!ready) {
            const PixelBuffer corner = windows->GrabClientRegion(window->id(), {0, 0, 1, 1});
            const Rgb got = At(corner, 0, 0), want = window->expected(0, 0);
            ADD_FAILURE() << "test window never appeared: viewable " << window->viewable()
                          << ", found " << windows->FindWindow(options.windowClass) << ", corner "
                          << got.r << "/" << got.g << "/" << got.b << " for " << want.r << "/"
                          << want.g << "/" << want.b;
        }
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

TEST_P(X11GameWindowsTest, FindsAWindowByEitherStringOfItsClass)
{
    auto game = open({.instance = "dragon.exe", .windowClass = "Gamebryo Application"});
    struct Row {
        const char* name;
        std::string query;
        bool found;
    } rows[] = {
        {"class string", "Gamebryo Application", true},
        {"instance string (a Wine program's executable)", "dragon.exe", true},
        {"a prefix is not the class", "Gamebryo", false},
        {"case matters", "gamebryo application", false},
        {"missing class", "No Such Class", false},
        {"empty class", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(windows->FindWindow(row.query), row.found ? game->id() : kNoWindow);
    }
}

TEST_P(X11GameWindowsTest, FindsTheTopmostOfTwoWindowsOfOneClass)
{
    auto first = open({.x = 10, .y = 10, .width = 300, .height = 200, .seed = 0});
    auto second = open({.x = 60, .y = 60, .width = 300, .height = 200, .seed = 1});
    ASSERT_TRUE(activate(*first));
    EXPECT_TRUE(
        WaitFor([&] { return windows->FindWindow("Gamebryo Application") == first->id(); }));
    ASSERT_TRUE(activate(*second));
    EXPECT_TRUE(
        WaitFor([&] { return windows->FindWindow("Gamebryo Application") == second->id(); }));
}

TEST_P(X11GameWindowsTest, ForegroundFollowsTheActiveWindow)
{
    auto game = open({.windowClass = "Gamebryo Application", .width = 400, .height = 300});
    auto other = open({.instance = "editor",
                       .windowClass = "Editor",
                       .x = 200,
                       .y = 200,
                       .width = 400,
                       .height = 300,
                       .seed = 1});
    ASSERT_TRUE(activate(*game));
    EXPECT_EQ(windows->ForegroundWindow(), windows->FindWindow("Gamebryo Application"));
    ASSERT_TRUE(activate(*other));
    EXPECT_NE(windows->ForegroundWindow(), windows->FindWindow("Gamebryo Application"));
    EXPECT_EQ(windows->ForegroundWindow(), other->id());
}

TEST_P(X11GameWindowsTest, NoWindowIsInFrontOnAnEmptyDesktop)
{
    EXPECT_EQ(windows->ForegroundWindow(), kNoWindow);
}

TEST_P(X11GameWindowsTest, GrabsKnownPixelsAtKnownOffsets)
{
    // Large enough for the window-mode positions too.
    auto game = open({.width = 1030, .height = 800});
    ASSERT_TRUE(activate(*game));
    const WindowId id = windows->FindWindow("Gamebryo Application");
    ASSERT_EQ(id, game->id());
    const Rect rows[] = {
        {392, 726, 53, 15}, // level, full screen
        {690, 774, 49, 10}, // Exp, window mode
        {846, 43, 179, 9},  // coins, second position
        {0, 0, 1, 1},         {1023, 767, 1, 1},
        {300, 256, 300, 300}, // crosses the 256 boundaries of the pattern
    };
    for (const Rect& region : rows) {
        SCOPED_TRACE(::testing::Message()
                     << region.x << "," << region.y << " " << region.width << "x" << region.height);
        const PixelBuffer buffer = windows->GrabClientRegion(id, region);
        ASSERT_EQ(buffer.width, region.width);
        ASSERT_EQ(buffer.height, region.height);
        ASSERT_EQ(buffer.bgra.size(), static_cast<std::size_t>(region.width * region.height * 4));
        EXPECT_EQ(WrongPixels(buffer, region, *game, [](int, int) { return true; }), 0);
    }
}

TEST_P(X11GameWindowsTest, PixelsOutsideTheWindowAreBlack)
{
    auto game = open({.width = 640, .height = 480});
    const auto inWindow = [](int x, int y) { return x >= 0 && y >= 0 && x < 640 && y < 480; };
    const Rect rows[] = {
        {600, 470, 53, 15},     // over the bottom-right corner
        {-10, -5, 49, 10},      // over the top-left corner
        {846, 202, 179, 9},     // wholly to the right
        {0, 1000, 20, 20},      // wholly below
        {-40000, -40000, 8, 8}, // far outside the coordinate range
        {560, 100, 179, 9},     // the coin region reaching past the right edge
    };
    for (const Rect& region : rows) {
        SCOPED_TRACE(::testing::Message() << region.x << "," << region.y);
        const PixelBuffer buffer = windows->GrabClientRegion(game->id(), region);
        ASSERT_EQ(buffer.width, region.width);
        ASSERT_EQ(buffer.height, region.height);
        EXPECT_EQ(WrongPixels(buffer, region, *game, inWindow), 0);
    }
}

TEST_P(X11GameWindowsTest, TheDefaultCoinRegionEndsOneColumnPastA1024WideClientArea)
{
    auto game = open({.width = 1024, .height = 768});
    const Rect coins{846, 202, 179, 9};
    const PixelBuffer buffer = windows->GrabClientRegion(game->id(), coins);
    EXPECT_EQ(WrongPixels(buffer, coins, *game, [](int x, int) { return x < 1024; }), 0);
    EXPECT_EQ(At(buffer, 178, 0), (Rgb{0, 0, 0}));
}

TEST_P(X11GameWindowsTest, SizesOfZeroOrLessOrAbsurdGiveAnEmptyBuffer)
{
    auto game = open({.width = 200, .height = 100});
    // The last one, 40 GB of pixels, can only come from a garbled setting.
    for (const Rect& region :
         {Rect{0, 0, 0, 10}, Rect{0, 0, 10, 0}, Rect{5, 5, -3, 4}, Rect{0, 0, 100000, 100000}}) {
        const PixelBuffer buffer = windows->GrabClientRegion(game->id(), region);
        EXPECT_TRUE(buffer.isEmpty());
        EXPECT_TRUE(buffer.bgra.empty());
    }
}

TEST_P(X11GameWindowsTest, AWindowThatClosedReadsBlackWithoutAnError)
{
    auto game = open({.width = 320, .height = 200});
    const WindowId id = windows->FindWindow("Gamebryo Application");
    ASSERT_EQ(id, game->id());
    // Its client dies: the server destroys the window under us.
    game->disconnect();
    ASSERT_TRUE(WaitFor([&] { return !kesmaro::testing::WindowExists(session->display(), id); }));
    ::testing::internal::CaptureStderr();
    const PixelBuffer afterDeath = windows->GrabClientRegion(id, {0, 0, 53, 15});
    const PixelBuffer picture = windows->GrabPicture(id, PictureArea::WholeWindow, {0, 0, 20, 20});
    const Rect rect = windows->WindowRect(id);
    const WindowId foreground = windows->ForegroundWindow();
    windows->FindWindow("Gamebryo Application");
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    EXPECT_EQ(afterDeath.width, 53);
    EXPECT_EQ(afterDeath.height, 15);
    EXPECT_EQ(WrongPixels(afterDeath, {0, 0, 53, 15}, *game, [](int, int) { return false; }), 0);
    EXPECT_EQ(picture.width, 20);
    EXPECT_EQ(rect, Rect{});
    EXPECT_NE(foreground, id);
    EXPECT_TRUE(WaitFor([&] { return windows->FindWindow("Gamebryo Application") == kNoWindow; }));
    // The connection is still good for the next window.
    auto next = open({.width = 100, .height = 100, .seed = 1});
    EXPECT_EQ(windows->FindWindow("Gamebryo Application"), next->id());
}

TEST_P(X11GameWindowsTest, AWindowClosingDuringTheGrabNeverCrashesOrPrints)
{
    ::testing::internal::CaptureStderr();
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        auto game = open({.width = 200, .height = 100, .seed = round});
        const WindowId id = game->id();
        // No waiting: the grab races the server's destruction of the window.
        game->destroy();
        const PixelBuffer buffer = windows->GrabClientRegion(id, {0, 0, 53, 15});
        const PixelBuffer picture =
            windows->GrabPicture(id, PictureArea::WholeWindow, {0, 0, 53, 15});
        ASSERT_EQ(buffer.width, 53);
        ASSERT_EQ(picture.height, 15);
        // Either the window was still there or every pixel is black.
        const bool intact =
            WrongPixels(buffer, {0, 0, 53, 15}, *game, [](int, int) { return true; }) == 0;
        const bool black =
            WrongPixels(buffer, {0, 0, 53, 15}, *game, [](int, int) { return false; }) == 0;
        EXPECT_TRUE(intact || black);
        ASSERT_TRUE(
            WaitFor([&] { return windows->FindWindow("Gamebryo Application") == kNoWindow; }));
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_P(X11GameWindowsTest, UnknownWindowIdsReadBlack)
{
    for (const WindowId id : {kNoWindow, WindowId{0x7FFFFF}, WindowId{0x1FFFFFFFFull}}) {
        SCOPED_TRACE(id);
        const PixelBuffer buffer = windows->GrabClientRegion(id, {0, 0, 4, 4});
        EXPECT_EQ(buffer.width, 4);
        EXPECT_EQ(buffer.bgra[0] | buffer.bgra[1] | buffer.bgra[2], 0);
        EXPECT_EQ(windows->WindowRect(id), Rect{});
    }
}

TEST_P(X11GameWindowsTest, WholeWindowPictureIncludesTheFrame)
{
    auto game = open({.width = 400, .height = 300});
    const WindowId id = windows->FindWindow("Gamebryo Application");
    const Rect outer = windows->WindowRect(id);
    int clientX = 0, clientY = 0;
    ASSERT_TRUE(game->clientOrigin(clientX, clientY));
    // The manager's frame surrounds the client: a title bar at least.
    EXPECT_GT(outer.height, 300);
    EXPECT_GE(outer.width, 400);
    EXPECT_LE(outer.x, clientX);
    EXPECT_LT(outer.y, clientY);

    const PixelBuffer picture =
        windows->GrabPicture(id, PictureArea::WholeWindow, {0, 0, outer.width, outer.height});
    ASSERT_EQ(picture.width, outer.width);
    ASSERT_EQ(picture.height, outer.height);
    const int dx = clientX - outer.x, dy = clientY - outer.y;
    EXPECT_EQ(At(picture, dx, dy), game->expected(0, 0));
    EXPECT_EQ(At(picture, dx + 399, dy + 299), game->expected(399, 299));
    // The title bar is drawn by the manager: not the client's pixels, and not all black.
    bool drawnFrame = false;
    for (int x = 0; x < outer.width && !drawnFrame; ++x)
        drawnFrame = At(picture, x, dy / 2) != Rgb{0, 0, 0};
    EXPECT_TRUE(drawnFrame);

    // The client picture starts at the client's corner.
    const PixelBuffer client = windows->GrabPicture(id, PictureArea::Client, {0, 0, 400, 300});
    EXPECT_EQ(At(client, 0, 0), game->expected(0, 0));
}

TEST_P(X11GameWindowsTest, PartOfTheWindowOffTheScreenReadsBlack)
{
    auto game = open({.width = 300, .height = 200});
    const WindowId id = windows->FindWindow("Gamebryo Application");
    session->run({"xdotool", "windowmove", "--sync", std::to_string(id), "1180", "900"});
    int x = 0, y = 0;
    ASSERT_TRUE(WaitFor([&] { return game->clientOrigin(x, y) && x > 1000 && y > 800; }));
    // The screen is 1280 x 1024.
    const int visibleWidth = 1280 - x, visibleHeight = 1024 - y;
    ASSERT_LT(visibleWidth, 300);
    const auto onScreen = [&](int cx, int cy) { return cx < visibleWidth && cy < visibleHeight; };
    const Rect region{0, 0, 300, 200};
    EXPECT_TRUE(WaitFor([&] {
        return WrongPixels(windows->GrabClientRegion(id, region), region, *game, onScreen) == 0;
    }));
}

INSTANTIATE_TEST_SUITE_P(Transfer, X11GameWindowsTest, ::testing::Values(true, false),
                         [](const auto& param) { return param.param ? "Shm" : "Plain"; });

// Without a window manager nobody keeps a client list or an active window.
class X11GameWindowsWithoutManagerTest : public X11GameWindowsTest {
protected:
    XvfbSession::Options sessionOptions() override { return {.windowManager = false}; }
};

TEST_P(X11GameWindowsWithoutManagerTest, FindsTopLevelWindowsInTheTree)
{
    auto game = open({.width = 200, .height = 100});
    auto other = open({.instance = "x", .windowClass = "Other", .width = 200, .height = 100});
    EXPECT_EQ(windows->FindWindow("Gamebryo Application"), game->id());
    EXPECT_EQ(windows->FindWindow("Other"), other->id());
    EXPECT_EQ(windows->FindWindow("Missing"), kNoWindow);
    EXPECT_EQ(windows->WindowRect(game->id()), (Rect{40, 40, 200, 100}));
}

TEST_P(X11GameWindowsWithoutManagerTest, ForegroundIsTheFocusWalkedUpToItsTopLevel)
{
    auto game = open({.width = 200, .height = 100, .child = true});
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
    const PixelBuffer buffer = windows->GrabClientRegion(game->id(), region);
    EXPECT_FALSE(windows->usesShm());
    EXPECT_EQ(WrongPixels(buffer, region, *game, [](int, int) { return true; }), 0);
}

INSTANTIATE_TEST_SUITE_P(Transfer, X11GameWindowsWithoutShmTest, ::testing::Values(true),
                         [](const auto&) { return "ShmAsked"; });

TEST(X11GameWindowsServerTest, AServerThatGoesAwayReadsAsNoWindow)
{
    XvfbSession session({.windowManager = false});
    if (session.display().empty())
        GTEST_SKIP() << "No X server for the X11 tests: " << session.problem();
    X11GameWindows windows({session.display()});
    TestWindow game(session.display(), {.width = 100, .height = 100});
    ASSERT_TRUE(WaitFor([&] { return windows.FindWindow("Gamebryo Application") != kNoWindow; }));
    const WindowId id = windows.FindWindow("Gamebryo Application");
    session.killServer();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(windows.FindWindow("Gamebryo Application"), kNoWindow);
    EXPECT_EQ(windows.ForegroundWindow(), kNoWindow);
    const PixelBuffer buffer = windows.GrabClientRegion(id, {0, 0, 53, 15});
    EXPECT_EQ(windows.WindowRect(id), Rect{});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(buffer.width, 53);
    EXPECT_EQ(buffer.bgra[0] | buffer.bgra[1] | buffer.bgra[2], 0);
    EXPECT_FALSE(windows.isConnected());
}

TEST(LinuxSystemInfoScreenTest, DescribesTheScreenModeOfTheServer)
{
    XvfbSession session({.windowManager = false, .screen = "800x600x24"});
    if (session.display().empty())
        GTEST_SKIP() << "No X server for the X11 tests: " << session.problem();
    LinuxSystemInfo info({.display = session.display()});
    EXPECT_EQ(info.Facts().videoModeDescription, "800 x 600 x 16777216 colors");
    LinuxSystemInfo nowhere({.display = ":4093"});
    EXPECT_EQ(nowhere.Facts().videoModeDescription, "");
}

TEST(X11BellTest, RingsOnAServerAndSaysSoWithoutOne)
{
    XvfbSession session({.windowManager = false});
    if (session.display().empty())
        GTEST_SKIP() << "No X server for the X11 tests: " << session.problem();
    X11Bell bell(session.display());
    EXPECT_TRUE(bell.Ring());
    session.killServer();
    EXPECT_FALSE(bell.Ring());
    EXPECT_FALSE(X11Bell(":4093").Ring());
}
