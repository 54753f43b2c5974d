#include "ui/win32/GdiGraphPainter.h"

#include "GraphTestSupport.h"

#include <cmath>
#include <set>
#include <tuple>

using namespace kesmaro;

namespace {

using Rgb = std::tuple<int, int, int>;

// A 385 x 361 frame: the plot is 309 x 337 pixels at (38, 6); with the Exp top 6 and the money
// top 400 a rate r sits at row 336 - 56 r (Exp) or 336 - 0.84 r (money), sample k at column
// 309 - 16.26 k.
class GdiGraphPainterTest : public GraphProgramTest {
protected:
    static constexpr int kLeft = 38;
    static constexpr int kTop = 6;
    static constexpr double kDx = 309.0 / 19.0;

    GdiGraphPainterTest()
    {
        clsGraphBuffer& b = *p.graph.GraphData;
        for (int i = 0; i < 30; ++i)
            b.AddGraphData(C(5), C(300), 10, 20, 0);
        // Exp 4 (row 112) with average 2.5 (row 196); money 180 (row 185) with average 130
        // (row 227), missing at k = 3 and 4 between 110 (k = 2) and 290 (k = 5).
        for (int k = 0; k < 20; ++k) {
            b.Value(k).RateE = C(4);
            b.Value(k).RateAveE = C(2.5);
            b.Value(k).RateM = C(180);
            b.Value(k).RateAveM = C(130);
        }
        b.Value(2).RateM = C(110);
        b.Value(3).RateM = C(-1);
        b.Value(4).RateM = C(-1);
        b.Value(5).RateM = C(290);
    }

    PixelBuffer render()
    {
        GraphFrameDisplay(p, PixelSize{385, 361});
        return RenderGraph(GraphPictureOf(p));
    }

    static Rgb colour(const PixelBuffer& image, int x, int y)
    {
        const std::uint8_t* px = image.pixel(x, y);
        return {px[2], px[1], px[0]};
    }
    // The colour at a position of the plot.
    static Rgb at(const PixelBuffer& image, int x, int y)
    {
        return colour(image, kLeft + x, kTop + y);
    }
    static bool anyIn(const PixelBuffer& image, int left, int top, int width, int height, Rgb c)
    {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                if (colour(image, x, y) == c)
                    return true;
        return false;
    }
    const Rgb blue{0, 0, 255};
    const Rgb red{255, 0, 0};
    const Rgb white{255, 255, 255};
    const Rgb black{0, 0, 0};
};

TEST_F(GdiGraphPainterTest, PaintsTheFrameThePlotTheGridAndTheCurvesWhereTheLayoutSays)
{
    const PixelBuffer image = render();
    ASSERT_EQ(image.width, 385);
    ASSERT_EQ(image.height, 361);
    for (std::size_t i = 3; i < image.bgra.size(); i += 4)
        ASSERT_EQ(image.bgra[i], 0xFF) << "opaque";
    EXPECT_EQ(colour(image, 2, 358), (Rgb{240, 240, 240})) << "the frame's background";
    EXPECT_EQ(at(image, 150, 60), white) << "the plot's background";
    // The solid border on all four sides, the dotted grey eighth lines alternate.
    EXPECT_EQ(at(image, 0, 150), black);
    EXPECT_EQ(at(image, 308, 150), black);
    EXPECT_EQ(at(image, 150, 0), black);
    EXPECT_EQ(at(image, 150, 336), black);
    EXPECT_EQ(at(image, 308, 336), white) << "the lines leave out their last pixel";
    const int eighth = 336 / 8;
    EXPECT_NE(at(image, 101, eighth), at(image, 102, eighth)) << "dotted";
    EXPECT_TRUE(at(image, 101, eighth) == (Rgb{128, 128, 128}) ||
                at(image, 102, eighth) == (Rgb{128, 128, 128}));
    // Every curve in its colour, on its row, away from the grid.
    const int x = static_cast<int>(309 - kDx * 10);
    EXPECT_TRUE(anyIn(image, kLeft + x, kTop + 111, 3, 3, blue)) << "Exp, solid";
    EXPECT_TRUE(anyIn(image, kLeft + x - 2, kTop + 195, 5, 3, blue)) << "Exp average, dotted";
    EXPECT_TRUE(anyIn(image, kLeft + x, kTop + 184, 3, 3, red)) << "money, solid";
    EXPECT_TRUE(anyIn(image, kLeft + x - 2, kTop + 226, 5, 3, red)) << "money average, dotted";
    EXPECT_FALSE(anyIn(image, kLeft + 1, kTop + 2, 307, 80, red)) << "nothing above the curves";
    EXPECT_FALSE(anyIn(image, kLeft + 1, kTop + 2, 307, 100, blue));
    // The Exp labels left in blue, the money labels right in red (smoothed text: their hue).
    const auto tinted = [&](int left, int channel) {
        for (int y = 0; y < 14; ++y)
            for (int column = left; column < left + 36; ++column) {
                const std::uint8_t* px = image.pixel(column, y);
                const int other = channel == 0 ? px[2] : px[0];
                if (px[channel] > other + 96 && px[channel] > px[1] + 96)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(tinted(0, 0)) << "blue";
    EXPECT_TRUE(tinted(349, 2)) << "red";
}

TEST_F(GdiGraphPainterTest, MissingMoneySamplesAreBridgedAndAMissingNewestOneDrawsNothing)
{
    {
        const PixelBuffer image = render();
        const double x5 = 309 - kDx * 5;
        const double x2 = 309 - kDx * 2;
        for (int x = static_cast<int>(x5) + 2; x < static_cast<int>(x2) - 1; ++x) {
            SCOPED_TRACE(x);
            const double y = 92 + (x - x5) * (244.0 - 92.0) / (x2 - x5);
            const int row = static_cast<int>(std::lround(y));
            EXPECT_TRUE(at(image, x, row - 1) == red || at(image, x, row) == red ||
                        at(image, x, row + 1) == red);
        }
        EXPECT_FALSE(anyIn(image, kLeft + static_cast<int>(x5) + 1, kTop + 260,
                           static_cast<int>(x2 - x5) - 1, 77, red));
    }
    p.graph.GraphData->Value(0).RateM = C(-1);
    const PixelBuffer image = render();
    // Right of sample k = 1 only the dotted money average (rows 226 to 228) is red.
    EXPECT_FALSE(anyIn(image, kLeft + 294, kTop, 15, 226, red));
    EXPECT_FALSE(anyIn(image, kLeft + 294, kTop + 229, 15, 108, red));
    EXPECT_TRUE(anyIn(image, kLeft + 294, kTop + 112, 15, 1, blue));
}

TEST_F(GdiGraphPainterTest, AnyFrameSizeRendersAtItsSizeAndAFarStartingPointStaysOnItsLine)
{
    for (const PixelSize size :
         {PixelSize{0, 0}, PixelSize{10, 10}, PixelSize{77, 25}, PixelSize{2000, 1200}}) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        p.graph.picture = GraphPicture{};
        GraphFrameDisplay(p, size);
        const PixelBuffer image = RenderGraph(GraphPictureOf(p));
        EXPECT_EQ(image.width, std::max(1, size.width));
        EXPECT_EQ(image.height, std::max(1, size.height));
    }
    // A newest Exp rate far above the top: the start lies far outside the plot, the line from
    // it still comes down to sample 1 instead of vanishing or wrapping around.
    p.graph.GraphData->Value(0).RateE = C(900000);
    const PixelBuffer image = render();
    const int x1 = static_cast<int>(309 - kDx);
    EXPECT_TRUE(anyIn(image, kLeft + x1 + 1, kTop + 1, 309 - x1 - 2, 110, blue));
}

} // namespace
