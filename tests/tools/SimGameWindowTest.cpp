// The live window's pixels: the scene drawn once, the numbers redrawn only when they change.

#include "tools/simgame/SimGameWindow.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

GameFrameSpec Spec(int level, double exp, std::int64_t coins, CoinArea area = CoinArea::Area2)
{
    GameFrameSpec s;
    s.level = level;
    s.expPercent = exp;
    s.coins = coins;
    s.coinArea = area;
    return s;
}

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
    GameFrameSpec first = Spec(35, 12.34, 1000);
    first.windowMode = true;
    first.colour = InterfaceColour::Red;
    SimGameWindow window(first);
    EXPECT_EQ(window.size(), QSize(1030, 793));
    EXPECT_TRUE(SamePixels(window.frame(), RenderGameFrame(first)));
    window.showValues(Spec(35, 12.341, 1000)); // the same two decimals
    EXPECT_EQ(window.redraws(), 0);
    // Shorter numbers leave nothing of the longer ones behind.
    for (const GameFrameSpec& next : {Spec(999, 100, 999999999999999, CoinArea::Both),
                                      Spec(1, 0, 0, CoinArea::Area4), Spec(0, 1, -5)}) {
        SCOPED_TRACE(next.level);
        window.showValues(next); // the mode and colour are the window's own
        GameFrameSpec want = next.level == 0 ? Spec(1, 0, 0, CoinArea::Area4) : next;
        want.windowMode = true;
        want.colour = InterfaceColour::Red;
        EXPECT_TRUE(SamePixels(window.frame(), RenderGameFrame(want)));
    }
    EXPECT_EQ(window.redraws(), 2); // values that cannot be drawn keep the last frame
}

} // namespace
