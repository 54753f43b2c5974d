// Frames of the simulated game read back through the real capture and recognition path.

#include "tools/simgame/GameFrame.h"

#include "QtProgramHarness.h"
#include "SimGameFrames.h"
#include "recognition/Recognition.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace kesmaro;

namespace {

constexpr InterfaceColour kColours[] = {InterfaceColour::Yellow, InterfaceColour::Red,
                                        InterfaceColour::Blue, InterfaceColour::White};

using test::FrameSpec;

class GameFrameTest : public test::QtProgramFixture {
protected:
    // Reads capture area `area` of the frame as `category`, with the frame's settings.
    QString read(const PixelBuffer& frame, const GameFrameSpec& frameSpec, std::size_t area,
                 int category)
    {
        p.settings = FrameSettings(frameSpec);
        p.settings.LagCancelTime = 0;
        const auto c = static_cast<std::size_t>(category);
        p.settings.CaptureArea[c] = p.settings.CaptureArea[area];
        const WindowId game = windows.addWindow("Gamebryo Application", frame);
        CaptureColumnText(p, game, p.settings.CaptureArea[c], category,
                          p.settings.BinaryThreshold[c], p.settings.BinaryMask[c]);
        windows.removeWindow(game);
        return QString::fromStdString(RecognizeNumber(p, category));
    }

    void expectRoundTrip(const GameFrameSpec& s)
    {
        const PixelBuffer frame = RenderGameFrame(s);
        const QString coins = QString::number(s.coins);
        const bool in2 = s.coinArea == CoinArea::Area2 || s.coinArea == CoinArea::Both;
        const bool in4 = s.coinArea == CoinArea::Area4 || s.coinArea == CoinArea::Both;
        EXPECT_EQ(read(frame, s, 0, CategoryLevel), QString::number(s.level));
        EXPECT_EQ(read(frame, s, 1, CategoryExp),
                  QString::number(std::llround(s.expPercent * 100)));
        EXPECT_EQ(read(frame, s, 2, CategoryMoney), in2 ? coins : QString());
        EXPECT_EQ(read(frame, s, 4, CategoryMoney), in4 ? coins : QString());
    }
};

TEST_F(GameFrameTest, ValuesReadBackInEveryModeColourAndCoinArea)
{
    struct Row {
        int level;
        double exp;
        std::int64_t coins;
        CoinArea area;
    };
    const Row rows[] = {
        {1, 0.0, 0, CoinArea::Both},
        {999, 100.0, 999'999'999'999'999, CoinArea::Area2},
        {10, 0.01, 1, CoinArea::Area4},
        {100, 99.99, 10, CoinArea::None},
        {7, 0.1, 100'000'000'000'000, CoinArea::Both},
        {58, 12.34, 1'000, CoinArea::Area2},
        {420, 50.5, 123'456'789'012'345, CoinArea::Both},
    };
    for (const bool window : {false, true}) {
        for (const InterfaceColour colour : kColours) {
            for (const Row& row : rows) {
                SCOPED_TRACE(::testing::Message()
                             << "window " << window << " colour " << static_cast<int>(colour)
                             << " level " << row.level << " exp " << row.exp);
                expectRoundTrip(FrameSpec(row.level, row.exp, row.coins, row.area, window, colour));
            }
        }
    }
}

TEST_F(GameFrameTest, CoinsBeyondFifteenDigitsAreDrawnButNotRead)
{
    const GameFrameSpec s =
        FrameSpec(5, 1.0, std::numeric_limits<std::int64_t>::max(), CoinArea::Both);
    const PixelBuffer frame = RenderGameFrame(s);
    EXPECT_EQ(read(frame, s, 2, CategoryMoney), "");
    EXPECT_EQ(p.results.lblCapture[CategoryMoney], "認識NG");
    EXPECT_EQ(read(frame, s, 0, CategoryLevel), "5");
}

TEST_F(GameFrameTest, SizesFromTheSmallestToLargerReadTheSame)
{
    for (const bool window : {false, true}) {
        GameFrameSpec s = FrameSpec(321, 45.67, 8'765'432, CoinArea::Both, window);
        EXPECT_EQ(DefaultFrameSize(window),
                  (window ? FrameExtent{1030, 793} : FrameExtent{1024, 768}));
        const FrameExtent minimum = MinimumFrameSize(s);
        EXPECT_EQ(minimum, (window ? FrameExtent{1027, 784} : FrameExtent{1024, 762}));
        for (const FrameExtent size : {minimum, FrameExtent{1280, 1024}}) {
            SCOPED_TRACE(::testing::Message() << "window " << window << " " << size.width);
            s.size = size;
            const PixelBuffer frame = RenderGameFrame(s);
            EXPECT_EQ((FrameExtent{frame.width, frame.height}), size);
            expectRoundTrip(s);
        }
    }
}

TEST_F(GameFrameTest, TheBackgroundReadsNothingInAnyAreaForAnyCategory)
{
    for (const bool window : {false, true}) {
        for (const InterfaceColour colour : kColours) {
            const GameFrameSpec s = FrameSpec(1, 0.0, 0, CoinArea::Both, window, colour);
            const PixelBuffer background = RenderGameBackground(s);
            for (std::size_t area = 0; area < kCaptureAreaCount; ++area) {
                for (int category = 0; category < kCategoryCount; ++category) {
                    SCOPED_TRACE(::testing::Message() << window << " " << static_cast<int>(colour)
                                                      << " " << area << " " << category);
                    EXPECT_EQ(read(background, s, area, category), "");
                    EXPECT_EQ(p.results.lblCapture[static_cast<std::size_t>(category)], "NotFind");
                }
            }
        }
    }
}

TEST(GameFrameSpecTest, ExpTextHasTwoDecimalsAndStaysInRange)
{
    EXPECT_EQ(FrameExpText(5.5), "5.50");
    EXPECT_EQ(FrameExpText(0.07), "0.07");
    EXPECT_EQ(FrameExpText(99.999), "100.00");
    EXPECT_EQ(FrameExpText(-3.0), "0.00");
    EXPECT_EQ(FrameExpText(std::numeric_limits<double>::quiet_NaN()), "0.00");
}

TEST(GameFrameSpecTest, RefusedSpecsGiveNoFrameAndDrawNothing)
{
    const FrameExtent yellow{1024, 768};
    const GameFrameSpec rows[] = {
        FrameSpec(0, 1.0, 1),
        FrameSpec(1000, 1.0, 1),
        FrameSpec(1, 100.01, 1),
        FrameSpec(1, std::numeric_limits<double>::quiet_NaN(), 1),
        FrameSpec(1, 1.0, -1),
        FrameSpec(1, 1.0, 1, static_cast<CoinArea>(9)),
        FrameSpec(1, 1.0, 1, CoinArea::Area2, false, static_cast<InterfaceColour>(-1)),
        FrameSpec(1, 1.0, 1, CoinArea::Area2, false, InterfaceColour::Yellow,
                  FrameExtent{1023, 768}),
        FrameSpec(1, 1.0, 1, CoinArea::Area2, true, InterfaceColour::Yellow, yellow),
        FrameSpec(1, 1.0, 1, CoinArea::Area2, false, InterfaceColour::Yellow,
                  FrameExtent{4097, 768}),
        FrameSpec(1, 1.0, 1, CoinArea::Area2, false, InterfaceColour::Yellow, FrameExtent{-5, 768}),
    };
    for (const GameFrameSpec& s : rows) {
        SCOPED_TRACE(::testing::Message() << s.level << " " << s.expPercent << " " << s.coins);
        EXPECT_FALSE(CheckGameFrameSpec(s).empty());
        EXPECT_TRUE(RenderGameFrame(s).isEmpty());
        PixelBuffer frame(4, 4);
        const std::vector<std::uint8_t> before = frame.bgra;
        DrawHudValues(frame, s);
        EXPECT_EQ(frame.bgra, before);
    }
    // Without coins the frame may end before the coin areas.
    EXPECT_EQ(CheckGameFrameSpec(FrameSpec(1, 1.0, 1, CoinArea::None, false,
                                           InterfaceColour::Yellow, FrameExtent{735, 762})),
              "");
    PixelBuffer small(100, 50); // drawing onto a smaller image stays inside it
    DrawHudValues(small, FrameSpec(999, 100.0, 999'999'999'999'999, CoinArea::Both));
    EXPECT_EQ(small.bgra.size(), 100U * 50U * 4U);
}

TEST(GameFrameSpecTest, PngHoldsTheFramePixelForPixel)
{
    QTemporaryDir dir;
    const PixelBuffer frame =
        RenderGameFrame(FrameSpec(3, 4.5, 6, CoinArea::Area4, false, InterfaceColour::Red));
    const QString path = dir.filePath(QStringLiteral("frame.png"));
    ASSERT_TRUE(SaveFramePng(frame, path.toStdString()));
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(1024, 768));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const std::uint8_t* px = frame.pixel(x, y);
            ASSERT_EQ(image.pixel(x, y), qRgb(px[2], px[1], px[0])) << x << "," << y;
        }
    EXPECT_FALSE(SaveFramePng(
        frame, dir.filePath(QStringLiteral("missing/folder/frame.png")).toStdString()));
    EXPECT_FALSE(
        SaveFramePng(PixelBuffer(), dir.filePath(QStringLiteral("empty.png")).toStdString()));
}

} // namespace
