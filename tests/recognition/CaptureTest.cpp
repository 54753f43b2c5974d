// Region grabs and CaptureColumnText through image-backed game windows; the recognition test
// command.

#include "RecognitionHarness.h"
#include "recognition/Binarization.h"
#include "recognition/NumberReader.h"
#include "recognition/Recognition.h"

#include <gmock/gmock.h>

using namespace kesmaro;
using namespace kesmaro::test;
using ::testing::ElementsAre;

namespace {

class CaptureTest : public RecognitionFixture {
protected:
    // A game frame with the three numbers drawn at the default areas of the screen mode.
    PixelBuffer frame(const std::string& level, const std::string& exp, const std::string& money,
                      std::uint32_t seed = 0) const
    {
        PixelBuffer image(1030, 800);
        for (int c = 0; c < kCategoryCount; ++c) {
            const GlyphFont font = GlyphFontOf(p.settings, c);
            const CaptureRect& area = p.settings.CaptureArea[static_cast<std::size_t>(c)];
            FillGlyphBackground(image, Rect{area.X, area.Y, area.Width, area.Height}, font, seed);
            const std::string& text = c == 0 ? level : c == 1 ? exp : money;
            DrawNumber(image, area.X + 2, area.Y, text, font, GlyphInk{0, 2, seed});
        }
        return image;
    }

    WindowId openGame(PixelBuffer image)
    {
        const WindowId id = windows.addWindow("Gamebryo Application", std::move(image));
        windows.setForeground(id);
        return id;
    }

    std::string captureAndRead(WindowId window, int category)
    {
        const auto c = static_cast<std::size_t>(category);
        CaptureColumnText(p, window, p.settings.CaptureArea[c], category,
                          p.settings.BinaryThreshold[c], p.settings.BinaryMask[c]);
        const std::string read = RecognizeNumber(p, category);
        // Without the program the region's pixels read the same.
        EXPECT_EQ(RecognizePixels(GrabRegionPixels(windows, window, p.settings.CaptureArea[c]),
                                  GlyphFontOf(p.settings, category), category)
                      .result,
                  read);
        return read;
    }
};

TEST_F(CaptureTest, GrabHasTheRegionLayoutBlueFirst)
{
    PixelBuffer image(500, 800);
    std::uint8_t* corner = image.pixel(392, 726);
    corner[0] = 1;
    corner[2] = 3;
    const PixelBuffer grab =
        GrabRegionPixels(windows, openGame(std::move(image)), p.settings.CaptureArea[0]);
    ASSERT_EQ(grab.bgra.size(), 53U * 15U * 4U);
    EXPECT_EQ(grab.width, 53);
    EXPECT_EQ(grab.bgra[0], 1);
    EXPECT_EQ(grab.bgra[2], 3);
}

TEST_F(CaptureTest, ReadsTheThreeNumbersOfAGameFrameInEveryExpColourAndLayout)
{
    for (const InterfaceColour colour : {InterfaceColour::Yellow, InterfaceColour::Red,
                                         InterfaceColour::Blue, InterfaceColour::White}) {
        SCOPED_TRACE(static_cast<int>(colour));
        LoadDefaultGlyphTables(p.settings, colour);
        SetDefaultCaptureAreas(p.settings, colour == InterfaceColour::Blue
                                               ? ScreenMode::Window
                                               : ScreenMode::FullScreen);
        const WindowId game = openGame(frame("87", "45.09", "9876543", 7));
        EXPECT_EQ(captureAndRead(game, CategoryLevel), "87");
        EXPECT_EQ(captureAndRead(game, CategoryExp), "4509");
        EXPECT_EQ(captureAndRead(game, CategoryMoney), "9876543");
        windows.removeWindow(game);
    }
}

TEST_F(CaptureTest, RegionsOfAnySizeNeverCrashAndFailRecognition)
{
    const WindowId game = openGame(frame("12", "3.45", "678"));
    const std::vector<CaptureRect> regions = {
        {392, 726, 0, 15},
        {392, 726, 53, 0},
        {392, 726, -53, 15},
        {392, 726, 53, -15},
        {392, 726, INT32_MAX, 15},
        {INT32_MAX, INT32_MAX, 53, 15},
        {INT32_MIN, INT32_MIN, 53, 15},
        {-10, -10, 5000, 16},
        {392, 726, kMaxRegionSide + 1, 15},
    };
    for (const CaptureRect& region : regions) {
        SCOPED_TRACE(::testing::Message()
                     << region.X << "," << region.Y << " " << region.Width << "x" << region.Height);
        p.settings.CaptureArea[0] = region;
        CaptureColumnText(p, game, region, 0, 135, -1);
        EXPECT_EQ(p.ColumnText[0].size() % 4, 0);
        EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "");
        EXPECT_TRUE(CaptureWindowRegionPicture(windows, game, region).bgra.size() <=
                    static_cast<std::size_t>(kMaxPicturePixels) * 4);
    }
}

TEST_F(CaptureTest, TallRegionsGrabOnlyTheRowsThatCount)
{
    const WindowId game = openGame(frame("12", "3.45", "678"));
    CaptureRect tall = p.settings.CaptureArea[0];
    for (const std::int32_t height : {16, 5000, INT32_MAX}) {
        SCOPED_TRACE(height);
        tall.Height = height;
        EXPECT_EQ(CaptureColumnText(p, game, tall, 0, 135, -1), 16);
        EXPECT_EQ(p.ColumnText[0].size(), 53 * 4);
        // The row below the digits is dark, so the number still reads.
        EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "12");
    }
    // Slots outside the five are ignored.
    EXPECT_EQ(CaptureColumnText(p, game, tall, 5, 135, -1), 0);
    EXPECT_EQ(CaptureColumnText(p, game, tall, -1, 135, -1), 0);
    // A text written over a capture is read, not the capture's words.
    setSlot(CategoryLevel, blank(1) + digitsText(CategoryLevel, "7") +
                               glyph(CategoryLevel, kDelimiterGlyph) + blank(1));
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "7");
}

TEST_F(CaptureTest, OutsideTheWindowIsBlack)
{
    PixelBuffer white(20, 10);
    std::fill(white.bgra.begin(), white.bgra.end(), 0xFF);
    const WindowId game = openGame(std::move(white));
    CaptureColumnText(p, game, CaptureRect{18, 8, 4, 4}, 3, 100, -1);
    // Columns 18 and 19 have rows 0 and 1 inside the window.
    EXPECT_EQ(p.ColumnText[3], "0003000300000000");
    windows.removeWindow(game);
    CaptureColumnText(p, game, CaptureRect{0, 0, 2, 2}, 3, 100, -1);
    EXPECT_EQ(p.ColumnText[3], "00000000");
}

TEST_F(CaptureTest, DebugPicturesShowEveryAreaOfTheClientArea)
{
    p.settings.CaptureArea[3] = CaptureRect{-5, -5, 0, 10};
    const WindowId game = windows.addWindow("Gamebryo Application", frame("12", "3.45", "678"), 0,
                                            0, SimWindowFrame{3, 22, 3, 3});
    ShowCapturePictures(p, game);
    EXPECT_THAT(view.pictures, ElementsAre(0, 1, 2, 3, 4));
    EXPECT_EQ(p.picCapture[0].width, 53);
    EXPECT_EQ(p.picCapture[2].width, 179);
    EXPECT_TRUE(p.picCapture[3].isEmpty());
    // Client coordinates: the frame does not shift the areas.
    const PixelBuffer& level = p.picCapture[0];
    EXPECT_EQ(ColumnWordsToText(BinarizeColumns(level, 135, -1)).substr(8, 44), glyph(0, 1));
}

class RecognitionCommandTest : public CaptureTest {};

TEST_F(RecognitionCommandTest, UnreadSlotsStoreMinusOneAndTheButtonsStayOffWhileTheScanWaits)
{
    p.settings.LagCancelTime = 100;
    setSlot(CategoryLevel,
            blank(1) + digitsText(CategoryLevel, "7") + glyph(0, kDelimiterGlyph) + blank(1));
    bool offDuringWait = false;
    sim.scheduler.at(
        5, [&] { offDuringWait = !p.menus.cmdRecognizeEnabled && !p.menus.cmdCaptureEnabled; });
    cmdRecognize_Click(p);
    EXPECT_TRUE(offDuringWait);
    EXPECT_TRUE(p.menus.cmdRecognizeEnabled);
    EXPECT_EQ(p.measurement.ReadLv, 7);
    EXPECT_EQ(p.measurement.ReadExp, Currency::FromInteger(-1));
    EXPECT_EQ(p.measurement.ReadMoney, Currency::FromInteger(-1));
    EXPECT_EQ(p.results.lblElapse, "0.202秒"); // two scan steps of 100 ms (+1 ms each)
}

TEST(NumberValueTest, TextsBecomeValuesOrMinusOne)
{
    EXPECT_EQ(LevelFromText(""), -1);
    EXPECT_EQ(LevelFromText("0"), 0);
    EXPECT_EQ(LevelFromText("2147483647"), 2147483647);
    EXPECT_EQ(LevelFromText("2147483648"), -1);
    EXPECT_EQ(AmountFromText(""), Currency::FromInteger(-1));
    EXPECT_EQ(AmountFromText("922337203685477"), Currency::FromInteger(922337203685477));
    EXPECT_EQ(AmountFromText("922337203685478"), Currency::FromInteger(-1));
    EXPECT_EQ(AmountFromText("999999999999999"), Currency::FromInteger(-1));
    // Blanks around and a plus sign are read; anything else inside is not a number.
    EXPECT_EQ(LevelFromText(" 12\t"), 12);
    EXPECT_EQ(LevelFromText("+12"), 12);
    EXPECT_EQ(AmountFromText("+007"), Currency::FromInteger(7));
    for (const char* bad : {"-3", "+", "+-3", "--3", "1 2", "12a", "0x10", " ", "１２"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(LevelFromText(bad), -1);
        EXPECT_EQ(AmountFromText(bad), Currency::FromInteger(-1));
    }
    EXPECT_EQ(AmountFromText("99999999999999999999"), Currency::FromInteger(-1));
}

} // namespace
