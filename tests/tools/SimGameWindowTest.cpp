// The live window's pixels: the scene drawn once, the numbers redrawn only when they change.

#include "tools/simgame/SimGameWindow.h"

#include "SimGameFrames.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

using test::FrameSpec;

bool SamePixels(const PixelBuffer& a, const PixelBuffer& b)
{
    return a.width == b.width && a.height == b.height && a.bgra == b.bgra;
}

class SimGameWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QGuiApplication::instance()) { // offscreen platform; one for the whole program
            static int argc = 1;
            static char name[] = "test_simgame";
            static char* argv[] = {name, nullptr};
            static QGuiApplication app(argc, argv);
        }
    }
};

TEST_F(SimGameWindowTest, ShowsTheRenderedFrameAfterEveryChangeAndOnlyThen)
{
    GameFrameSpec first = FrameSpec(35, 12.34, 1000);
    first.windowMode = true;
    first.colour = InterfaceColour::Red;
    SimGameWindow window(first);
    EXPECT_EQ(window.size(), QSize(1030, 793));
    EXPECT_TRUE(SamePixels(window.frame(), RenderGameFrame(first)));
    window.showValues(FrameSpec(35, 12.341, 1000)); // the same two decimals
    EXPECT_EQ(window.redraws(), 0);
    // Shorter numbers leave nothing of the longer ones behind.
    for (const GameFrameSpec& next : {FrameSpec(999, 100, 999999999999999, CoinArea::Both),
                                      FrameSpec(1, 0, 0, CoinArea::Area4), FrameSpec(0, 1, -5)}) {
        SCOPED_TRACE(next.level);
        window.showValues(next); // the mode and colour are the window's own
        GameFrameSpec want = next.level == 0 ? FrameSpec(1, 0, 0, CoinArea::Area4) : next;
        want.windowMode = true;
        want.colour = InterfaceColour::Red;
        EXPECT_TRUE(SamePixels(window.frame(), RenderGameFrame(want)));
    }
    EXPECT_EQ(window.redraws(), 2); // values that cannot be drawn keep the last frame
}

} // namespace
