// Image-backed game windows: finding, focus, grabs inside and outside, frames, closing.

#include "platform/sim/SimGameWindows.h"

#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

PixelBuffer filled(int width, int height, std::uint8_t value)
{
    PixelBuffer image(width, height);
    std::fill(image.bgra.begin(), image.bgra.end(), value);
    return image;
}

class SimGameWindowsTest : public ::testing::Test {
protected:
    SimGameWindows windows;
};

TEST_F(SimGameWindowsTest, FindsByClassAndFollowsTheFocus)
{
    EXPECT_EQ(windows.FindWindow("Gamebryo Application"), kNoWindow);
    const WindowId other = windows.addWindow("Editor", filled(10, 10, 1));
    const WindowId game = windows.addWindow("Gamebryo Application", filled(10, 10, 2));
    EXPECT_EQ(windows.FindWindow("Gamebryo Application"), game);
    EXPECT_EQ(windows.ForegroundWindow(), kNoWindow);
    windows.setForeground(other);
    EXPECT_EQ(windows.ForegroundWindow(), other);
    windows.setForeground(game);
    EXPECT_EQ(windows.ForegroundWindow(), game);
    windows.removeWindow(game);
    EXPECT_EQ(windows.FindWindow("Gamebryo Application"), kNoWindow);
    EXPECT_EQ(windows.ForegroundWindow(), kNoWindow);
    windows.setForeground(game);
    EXPECT_EQ(windows.ForegroundWindow(), kNoWindow);
}

TEST_F(SimGameWindowsTest, GrabsAreTheRequestedSizeWithBlackOutsideTheWindow)
{
    const WindowId game = windows.addWindow("Game", filled(4, 4, 0xEE));
    const PixelBuffer grab = windows.GrabClientRegion(game, Rect{-1, 2, 3, 4});
    ASSERT_EQ(grab.width, 3);
    ASSERT_EQ(grab.height, 4);
    EXPECT_EQ(grab.pixel(0, 0)[0], 0);    // left of the window
    EXPECT_EQ(grab.pixel(1, 0)[0], 0xEE); // inside
    EXPECT_EQ(grab.pixel(1, 2)[0], 0);    // below
    EXPECT_EQ(grab.pixel(1, 2)[3], 0xFF);
}

TEST_F(SimGameWindowsTest, ImpossibleRegionsGiveEmptyOrBlackBuffers)
{
    const WindowId game = windows.addWindow("Game", filled(4, 4, 0xEE));
    EXPECT_TRUE(windows.GrabClientRegion(game, Rect{0, 0, 0, 4}).isEmpty());
    EXPECT_TRUE(windows.GrabClientRegion(game, Rect{0, 0, 4, -1}).isEmpty());
    EXPECT_TRUE(windows.GrabClientRegion(game, Rect{0, 0, INT32_MAX, 4}).isEmpty());
    const PixelBuffer far = windows.GrabClientRegion(game, Rect{INT32_MAX, INT32_MIN, 2, 2});
    ASSERT_EQ(far.width, 2);
    EXPECT_EQ(far.pixel(1, 1)[0], 0);
    const PixelBuffer gone = windows.GrabClientRegion(0xDEAD, Rect{0, 0, 2, 2});
    ASSERT_EQ(gone.width, 2);
    EXPECT_EQ(gone.pixel(0, 0)[0], 0);
}

TEST_F(SimGameWindowsTest, WholeWindowPicturesAndRectIncludeTheFrame)
{
    const WindowId game =
        windows.addWindow("Game", filled(8, 6, 0xEE), 100, 50, SimWindowFrame{2, 10, 2, 3});
    EXPECT_EQ(windows.WindowRect(game), (Rect{100, 50, 12, 19}));
    const PixelBuffer whole =
        windows.GrabPicture(game, PictureArea::WholeWindow, Rect{0, 0, 12, 19});
    EXPECT_NE(whole.pixel(0, 0)[0], 0xEE);
    EXPECT_NE(whole.pixel(0, 0)[0], 0);
    EXPECT_EQ(whole.pixel(2, 10)[0], 0xEE);
    EXPECT_EQ(whole.pixel(9, 15)[0], 0xEE);
    EXPECT_NE(whole.pixel(10, 15)[0], 0xEE);
    EXPECT_EQ(windows.WindowRect(0xDEAD), Rect{});
}

TEST_F(SimGameWindowsTest, ANewImageReplacesWhatTheWindowShows)
{
    const WindowId game = windows.addWindow("Game", filled(4, 4, 0x11));
    windows.setImage(game, filled(2, 2, 0x22));
    const PixelBuffer grab = windows.GrabClientRegion(game, Rect{0, 0, 4, 4});
    EXPECT_EQ(grab.pixel(1, 1)[0], 0x22);
    EXPECT_EQ(grab.pixel(3, 3)[0], 0);
    EXPECT_EQ(windows.WindowRect(game).width, 2);
    EXPECT_EQ(windows.grabCount(), 1);
}

} // namespace
