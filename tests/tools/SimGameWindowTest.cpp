// The live window's pixels: the scene drawn once, the numbers redrawn only when they change.

#include "tools/simgame/SimGameWindow.h"

#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

using namespace kesmaro;

namespace {

class SimGameWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The tests run on the offscreen platform; one application for the whole program.
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_simgame";
            static char* argv[] = {name, nullptr};
            static QGuiApplication app(argc, argv);
        }
    }

    static GameFrameSpec frameSpec(int level, double exp, std::int64_t coins,
                                   CoinArea area = CoinArea::Area2, bool window = false,
                                   InterfaceColour colour = InterfaceColour::Yellow)
    {
        GameFrameSpec s;
        s.level = level;
        s.expPercent = exp;
        s.coins = coins;
        s.coinArea = area;
        s.windowMode = window;
        s.colour = colour;
        return s;
    }

    static bool samePixels(const PixelBuffer& a, const PixelBuffer& b)
    {
        return a.width == b.width && a.height == b.height && a.bgra == b.bgra;
    }
};

TEST_F(SimGameWindowTest, ShowsTheRenderedFrameAfterEveryChange)
{
    const GameFrameSpec first =
        frameSpec(35, 12.34, 1000, CoinArea::Area2, true, InterfaceColour::Red);
    SimGameWindow window(first);
    EXPECT_EQ(window.size(), QSize(1030, 793));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(samePixels(window.frame(), RenderGameFrame(first)));
    // Shorter numbers leave nothing of the longer ones behind.
    for (const GameFrameSpec& next :
         {frameSpec(999, 100, 999999999999999, CoinArea::Both), frameSpec(1, 0, 0, CoinArea::Area4),
          frameSpec(2, 5.5, 10, CoinArea::None)}) {
        SCOPED_TRACE(next.level);
        GameFrameSpec want = next;
        want.windowMode = true;
        want.colour = InterfaceColour::Red;
        window.showValues(next); // the mode and colour are the window's own
        EXPECT_TRUE(samePixels(window.frame(), RenderGameFrame(want)));
    }
    EXPECT_EQ(window.redraws(), 3);
}

TEST_F(SimGameWindowTest, RedrawsOnlyWhenAShownValueChanges)
{
    SimGameWindow window(frameSpec(5, 10.0, 100));
    window.showValues(frameSpec(5, 10.0, 100));
    window.showValues(frameSpec(5, 10.001, 100)); // the same two decimals
    EXPECT_EQ(window.redraws(), 0);
    window.showValues(frameSpec(5, 10.01, 100));
    EXPECT_EQ(window.redraws(), 1);
    window.showValues(frameSpec(5, 10.01, 100, CoinArea::Both));
    EXPECT_EQ(window.redraws(), 2);
    // Values that cannot be drawn keep the last frame.
    window.showValues(frameSpec(0, 10.01, -5));
    EXPECT_EQ(window.redraws(), 2);
    EXPECT_EQ(window.frameSpec().level, 5);
    EXPECT_TRUE(
        samePixels(window.frame(), RenderGameFrame(frameSpec(5, 10.01, 100, CoinArea::Both))));
}

} // namespace
