// Frames of the simulated game read back through the real capture and recognition path.

#include "tools/simgame/GameFrame.h"

#include "common/DebugLog.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "recognition/Binarization.h"
#include "recognition/GlyphRenderer.h"
#include "recognition/Recognition.h"
#include "records/Program.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <set>

using namespace kesmaro;

namespace {

constexpr InterfaceColour kColours[] = {InterfaceColour::Yellow, InterfaceColour::Red,
                                        InterfaceColour::Blue, InterfaceColour::White};

GameFrameSpec makeSpec(int level, double exp, std::int64_t coins, CoinArea area = CoinArea::Both,
                       bool window = false, InterfaceColour colour = InterfaceColour::Yellow,
                       QSize size = QSize())
{
    GameFrameSpec frameSpec;
    frameSpec.level = level;
    frameSpec.expPercent = exp;
    frameSpec.coins = coins;
    frameSpec.coinArea = area;
    frameSpec.windowMode = window;
    frameSpec.colour = colour;
    frameSpec.size = size;
    return frameSpec;
}

struct Reading {
    QString level;
    QString exp;
    QString coins2;
    QString coins4;
};

class GameFrameTest : public ::testing::Test {
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
        return RecognizeNumber(p, category);
    }

    Reading readAll(const PixelBuffer& frame, const GameFrameSpec& frameSpec)
    {
        return {read(frame, frameSpec, 0, CategoryLevel), read(frame, frameSpec, 1, CategoryExp),
                read(frame, frameSpec, 2, CategoryMoney), read(frame, frameSpec, 4, CategoryMoney)};
    }

    // Backgrounds are drawn once per mode and colour; the numbers go onto copies.
    PixelBuffer frameFor(const GameFrameSpec& frameSpec)
    {
        const auto key = std::tuple{frameSpec.windowMode, static_cast<int>(frameSpec.colour),
                                    frameSpec.size.width(), frameSpec.size.height()};
        auto it = backgrounds.find(key);
        if (it == backgrounds.end())
            it = backgrounds.emplace(key, RenderGameBackground(frameSpec)).first;
        PixelBuffer frame = it->second;
        DrawHudValues(frame, frameSpec);
        return frame;
    }

    static QString expDigits(double exp) { return QString::number(std::llround(exp * 100.0)); }

    void expectRoundTrip(const GameFrameSpec& frameSpec)
    {
        const Reading r = readAll(frameFor(frameSpec), frameSpec);
        const QString coins = QString::number(frameSpec.coins);
        EXPECT_EQ(r.level, QString::number(frameSpec.level));
        EXPECT_EQ(r.exp, expDigits(frameSpec.expPercent));
        const bool in2 =
            frameSpec.coinArea == CoinArea::Area2 || frameSpec.coinArea == CoinArea::Both;
        const bool in4 =
            frameSpec.coinArea == CoinArea::Area4 || frameSpec.coinArea == CoinArea::Both;
        EXPECT_EQ(r.coins2, in2 ? coins : QString());
        EXPECT_EQ(r.coins4, in4 ? coins : QString());
    }

    QTemporaryDir dir;
    SimGameWindows windows;
    SimServices sim{std::chrono::local_days(std::chrono::year(2024) / 5 / 1), 3600 * 1000,
                    &windows};
    DebugLog log{dir.path(), sim.clock};
    ProgramView view;
    Program p{sim.services, log, view, dir.path()};
    std::map<std::tuple<bool, int, int, int>, PixelBuffer> backgrounds;
};

TEST_F(GameFrameTest, EdgeValuesReadBackInEveryModeAndColour)
{
    struct Row {
        int level;
        double exp;
        std::int64_t coins;
    };
    const Row rows[] = {
        {1, 0.0, 0},
        {999, 100.0, 999'999'999'999'999},
        {10, 0.01, 1},
        {100, 99.99, 10},
        {58, 12.34, 1'000},
        {7, 0.1, 100'000'000'000'000},
        {420, 50.5, 123'456'789'012'345},
    };
    for (const bool window : {false, true}) {
        for (const InterfaceColour colour : kColours) {
            for (const Row& row : rows) {
                SCOPED_TRACE(::testing::Message()
                             << "window " << window << " colour " << static_cast<int>(colour)
                             << " level " << row.level << " exp " << row.exp);
                expectRoundTrip(
                    makeSpec(row.level, row.exp, row.coins, CoinArea::Both, window, colour));
            }
        }
    }
}

TEST_F(GameFrameTest, LevelsExpAndCoinsOfEveryLengthReadBack)
{
    std::int64_t coins = 0;
    int step = 0;
    for (int level = 1; level <= 999; level += 37, ++step) {
        const double exp = (level * 271 % 10001) / 100.0;
        SCOPED_TRACE(::testing::Message()
                     << "level " << level << " exp " << exp << " coins " << coins);
        expectRoundTrip(
            makeSpec(level, exp, coins, CoinArea::Area2, step % 2 == 1, kColours[step % 4]));
        coins = coins * 10 + (step % 9) + 1; // 1 to 15 digits over the loop
        if (coins > 999'999'999'999'999)
            coins = 0;
    }
}

TEST_F(GameFrameTest, EachCoinAreaChoiceShowsTheCoinsOnlyThere)
{
    for (const CoinArea area : {CoinArea::Area2, CoinArea::Area4, CoinArea::Both, CoinArea::None}) {
        for (const bool window : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "area " << static_cast<int>(area) << " window " << window);
            expectRoundTrip(makeSpec(35, 15.34, 4'000, area, window, InterfaceColour::Yellow));
        }
    }
}

TEST_F(GameFrameTest, CoinsBeyondFifteenDigitsAreDrawnButNotRead)
{
    for (const std::int64_t coins :
         {std::int64_t{1'000'000'000'000'000}, std::numeric_limits<std::int64_t>::max()}) {
        SCOPED_TRACE(coins);
        const GameFrameSpec frameSpec = makeSpec(5, 1.0, coins, CoinArea::Both);
        const PixelBuffer frame = frameFor(frameSpec);
        EXPECT_EQ(read(frame, frameSpec, 2, CategoryMoney), "");
        EXPECT_EQ(p.results.lblCapture[CategoryMoney], "認識NG");
        EXPECT_EQ(read(frame, frameSpec, 4, CategoryMoney), "");
        EXPECT_EQ(read(frame, frameSpec, 0, CategoryLevel), "5");
    }
}

TEST_F(GameFrameTest, TheCoinAreasReachOneColumnPastTheFullScreenFrame)
{
    const GameFrameSpec frameSpec = makeSpec(12, 3.45, 987'654'321'012'345, CoinArea::Both);
    const Settings s = FrameSettings(frameSpec);
    EXPECT_EQ(s.CaptureArea[2].X + s.CaptureArea[2].Width, 1025);
    EXPECT_EQ(FrameSize(frameSpec), QSize(1024, 768));
    expectRoundTrip(frameSpec);
}

TEST_F(GameFrameTest, SizesFromTheSmallestToLargerReadTheSame)
{
    for (const bool window : {false, true}) {
        GameFrameSpec frameSpec = makeSpec(321, 45.67, 8'765'432, CoinArea::Both, window);
        const QSize minimum = MinimumFrameSize(frameSpec);
        EXPECT_EQ(minimum, window ? QSize(1027, 784) : QSize(1024, 762));
        EXPECT_EQ(DefaultFrameSize(window), window ? QSize(1030, 793) : QSize(1024, 768));
        for (const QSize size : {minimum, QSize(1280, 1024)}) {
            SCOPED_TRACE(::testing::Message()
                         << "window " << window << " " << size.width() << "x" << size.height());
            frameSpec.size = size;
            const PixelBuffer frame = RenderGameFrame(frameSpec);
            EXPECT_EQ(frame.width, size.width());
            EXPECT_EQ(frame.height, size.height());
            expectRoundTrip(frameSpec);
        }
    }
}

class GameBackgroundTest : public GameFrameTest {};

TEST_F(GameBackgroundTest, EveryAreaReadsNothingForEveryCategory)
{
    for (const bool window : {false, true}) {
        for (const InterfaceColour colour : kColours) {
            const GameFrameSpec frameSpec = makeSpec(1, 0.0, 0, CoinArea::Both, window, colour);
            const PixelBuffer background = RenderGameBackground(frameSpec);
            for (std::size_t area = 0; area < kCaptureAreaCount; ++area) {
                for (int category = 0; category < kCategoryCount; ++category) {
                    SCOPED_TRACE(::testing::Message()
                                 << "window " << window << " colour " << static_cast<int>(colour)
                                 << " area " << area << " category " << category);
                    EXPECT_EQ(read(background, frameSpec, area, category), "");
                    EXPECT_EQ(p.results.lblCapture[static_cast<std::size_t>(category)], "NotFind");
                }
            }
        }
    }
}

TEST_F(GameBackgroundTest, TheExpAreaIsSetLikeTheInvertedGlyphsAndTheOthersClear)
{
    for (const InterfaceColour colour : kColours) {
        SCOPED_TRACE(static_cast<int>(colour));
        const GameFrameSpec frameSpec = makeSpec(1, 0.0, 0, CoinArea::Both, false, colour);
        const Settings s = FrameSettings(frameSpec);
        ASSERT_TRUE(HasSetBackground(GlyphFont::FromSettings(s, CategoryExp)));
        const WindowId game =
            windows.addWindow("Gamebryo Application", RenderGameBackground(frameSpec));
        for (std::size_t area = 0; area < kCaptureAreaCount; ++area) {
            const std::size_t category = area == 1 ? 1 : area == 0 ? 0 : 2;
            const CaptureRect& rect = s.CaptureArea[area];
            const std::vector<std::uint16_t> words =
                BinarizeColumns(GrabRegionPixels(windows, game, rect), s.BinaryThreshold[category],
                                s.BinaryMask[category]);
            const auto full = static_cast<std::uint16_t>((1U << rect.Height) - 1U);
            // The column past the right edge of the frame is black.
            const std::size_t inside = std::min<std::size_t>(
                words.size(), static_cast<std::size_t>(std::max(0, 1024 - rect.X)));
            for (std::size_t x = 0; x < inside; ++x)
                ASSERT_EQ(words[x], area == 1 ? full : 0) << "area " << area << " column " << x;
        }
        windows.removeWindow(game);
    }
}

TEST_F(GameBackgroundTest, IsTexturedInsideTheAreasAndVariedAround)
{
    const GameFrameSpec frameSpec;
    const PixelBuffer background = RenderGameBackground(frameSpec);
    const Settings s = FrameSettings(frameSpec);
    const auto colours = [&](int x0, int y0, int x1, int y1) {
        std::set<std::uint32_t> seen;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < std::min(x1, background.width); ++x) {
                const std::uint8_t* px = background.pixel(x, y);
                seen.insert(std::uint32_t{px[0]} | std::uint32_t{px[1]} << 8 |
                            std::uint32_t{px[2]} << 16);
            }
        return seen.size();
    };
    for (const CaptureRect& area : s.CaptureArea) {
        SCOPED_TRACE(::testing::Message() << area.X << "," << area.Y);
        EXPECT_GT(colours(area.X, area.Y, area.X + area.Width, area.Y + area.Height), 20U);
    }
    EXPECT_GT(colours(0, 0, background.width, background.height), 5000U);
}

class GameFrameSpecTest : public ::testing::Test {};

TEST_F(GameFrameSpecTest, ExpTextHasTwoDecimals)
{
    EXPECT_EQ(ExpText(0.0), "0.00");
    EXPECT_EQ(ExpText(12.34), "12.34");
    EXPECT_EQ(ExpText(5.5), "5.50");
    EXPECT_EQ(ExpText(0.07), "0.07");
    EXPECT_EQ(ExpText(100.0), "100.00");
    EXPECT_EQ(ExpText(99.999), "100.00");
    EXPECT_EQ(ExpText(-3.0), "0.00");
    EXPECT_EQ(ExpText(1e300), "100.00");
    EXPECT_EQ(ExpText(std::numeric_limits<double>::quiet_NaN()), "0.00");
}

TEST_F(GameFrameSpecTest, RefusedSpecsGiveNoFrame)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* name;
        GameFrameSpec frameSpec;
    };
    const Row rows[] = {
        {"level 0", makeSpec(0, 1.0, 1)},
        {"level 1000", makeSpec(1000, 1.0, 1)},
        {"negative exp", makeSpec(1, -0.01, 1)},
        {"exp above 100", makeSpec(1, 100.01, 1)},
        {"exp NaN", makeSpec(1, nan, 1)},
        {"exp infinite", makeSpec(1, inf, 1)},
        {"negative coins", makeSpec(1, 1.0, -1)},
        {"coin area out of range", makeSpec(1, 1.0, 1, static_cast<CoinArea>(9))},
        {"colour out of range",
         makeSpec(1, 1.0, 1, CoinArea::Area2, false, static_cast<InterfaceColour>(-1))},
        {"too narrow for the coins",
         makeSpec(1, 1.0, 1, CoinArea::Area2, false, InterfaceColour::Yellow, QSize(1023, 768))},
        {"too short",
         makeSpec(1, 1.0, 1, CoinArea::None, false, InterfaceColour::Yellow, QSize(1024, 761))},
        {"window mode on a full-screen size",
         makeSpec(1, 1.0, 1, CoinArea::Area2, true, InterfaceColour::Yellow, QSize(1024, 768))},
        {"too large",
         makeSpec(1, 1.0, 1, CoinArea::Area2, false, InterfaceColour::Yellow, QSize(4097, 768))},
        {"negative size",
         makeSpec(1, 1.0, 1, CoinArea::Area2, false, InterfaceColour::Yellow, QSize(-5, 768))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(CheckGameFrameSpec(row.frameSpec).isEmpty());
        EXPECT_TRUE(RenderGameFrame(row.frameSpec).isEmpty());
        EXPECT_TRUE(RenderGameBackground(row.frameSpec).isEmpty());
        PixelBuffer frame(4, 4);
        const std::vector<std::uint8_t> before = frame.bgra;
        DrawHudValues(frame, row.frameSpec);
        EXPECT_EQ(frame.bgra, before);
    }
    // Without coins the frame may end before the coin areas.
    EXPECT_EQ(CheckGameFrameSpec(makeSpec(1, 1.0, 1, CoinArea::None, false, InterfaceColour::Yellow,
                                          QSize(735, 762))),
              "");
}

TEST_F(GameFrameSpecTest, DrawingOntoASmallerImageStaysInside)
{
    PixelBuffer small(100, 50);
    DrawHudValues(small, makeSpec(999, 100.0, 999'999'999'999'999));
    EXPECT_EQ(small.bgra.size(), 100U * 50U * 4U);
}

TEST_F(GameFrameSpecTest, PngHoldsTheFramePixelForPixel)
{
    QTemporaryDir dir;
    const GameFrameSpec frameSpec =
        makeSpec(3, 4.5, 6, CoinArea::Area4, false, InterfaceColour::Red);
    const PixelBuffer frame = RenderGameFrame(frameSpec);
    const QString path = dir.filePath(QStringLiteral("frame.png"));
    ASSERT_TRUE(SaveFramePng(frame, path));
    const QImage image(path);
    ASSERT_EQ(image.size(), QSize(1024, 768));
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{400, 730}, std::pair{700, 755},
                               std::pair{1023, 767}, std::pair{512, 300}}) {
        SCOPED_TRACE(::testing::Message() << x << "," << y);
        const std::uint8_t* px = frame.pixel(x, y);
        EXPECT_EQ(image.pixel(x, y), qRgb(px[2], px[1], px[0]));
    }
    EXPECT_FALSE(SaveFramePng(frame, dir.filePath(QStringLiteral("missing/folder/frame.png"))));
    EXPECT_FALSE(SaveFramePng(PixelBuffer(), dir.filePath(QStringLiteral("empty.png"))));
}

} // namespace
