// The finder on hand-drawn frames: which readings it refuses to propose, and tables it cannot
// search with.

#include "recognition/AreaFinder.h"

#include "RecognitionHarness.h"
#include "recognition/AutoDetect.h"
#include "recognition/NumberReader.h"

#include <gtest/gtest.h>

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

class PureAreaFinderTest : public RecognitionFixture {
protected:
    FinderFonts fonts() const { return FinderFontsOf(p.settings); }
    GlyphFont font(int category) const { return GlyphFontOf(p.settings, category); }

    // A dark 400 x 200 frame with one coin number drawn at (x, y).
    PixelBuffer coinsAt(int x, int y, const std::string& text, bool delimiter = true) const
    {
        PixelBuffer frame(400, 200);
        DrawNumber(frame, x, y, text, font(CategoryMoney), {}, delimiter);
        return frame;
    }
};

TEST_F(PureAreaFinderTest, OnlyNumbersTheRecognizerWouldReadAreProposed)
{
    struct Row {
        const char* name;
        PixelBuffer frame;
        FindStatus status;
        const char* digits;
    };
    const Row rows[] = {
        {"plain", coinsAt(100, 50, "305"), FindStatus::Found, "305"},
        {"leading zeros read as the recognizer reads them", coinsAt(100, 50, "007"),
         FindStatus::Found, "7"},
        {"no delimiter", coinsAt(100, 50, "305", false), FindStatus::NotFound, ""},
        // The 3 and 40 unreadable columns would add a hidden 0 before the 5: the 5 cannot get
        // an area of its own.
        {"a gap the recognizer fills with 0", coinsAt(100, 50, "3" + std::string(7, ' ') + "5"),
         FindStatus::Ambiguous, ""},
        {"cut by the frame's right edge", coinsAt(380, 50, "305"), FindStatus::NotFound, ""},
        {"on the bottom row", coinsAt(10, 191, "42"), FindStatus::Found, "42"},
        {"at the left edge", coinsAt(0, 0, "9"), FindStatus::Found, "9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const AreaProposal found = FindCaptureAreas(row.frame, fonts());
        EXPECT_EQ(found.coins.status, row.status);
        EXPECT_EQ(found.coins.digits, row.digits);
        if (row.status == FindStatus::Found) {
            const NumberRead read =
                RecognizePixels(CropFrame(row.frame, found.coins.area), font(CategoryMoney), 2);
            EXPECT_EQ(read.result, found.coins.digits);
            EXPECT_GE(found.coins.area.x, 0);
        }
    }
}

TEST_F(PureAreaFinderTest, ThreeCoinDisplaysAreAmbiguous)
{
    PixelBuffer frame(400, 200);
    for (int y : {20, 80, 140})
        DrawNumber(frame, 150, y, "12", font(CategoryMoney));
    const AreaProposal found = FindCaptureAreas(frame, fonts());
    EXPECT_EQ(found.coins.status, FindStatus::Ambiguous);
    EXPECT_EQ(found.coins2.status, FindStatus::Ambiguous);
    EXPECT_EQ(found.coins.all.size(), 3U);
}

TEST_F(PureAreaFinderTest, TablesThatCannotMatchFindNothingAndDoNotFail)
{
    const PixelBuffer frame = coinsAt(100, 50, "305");
    FinderFonts broken = fonts();
    broken.money.patterns[glyph::kDelimiter] = "00000000000000030000000x";
    EXPECT_EQ(FindCaptureAreas(frame, broken).coins.status, FindStatus::NotFound);
    broken = fonts();
    broken.money.width = 0;
    EXPECT_EQ(FindCaptureAreas(frame, broken).coins.status, FindStatus::NotFound);
    broken = fonts();
    broken.money.patterns.fill(std::string());
    EXPECT_EQ(FindCaptureAreas(frame, broken).coins.status, FindStatus::NotFound);
    broken.exp.clear();
    EXPECT_EQ(FindCaptureAreas(frame, broken).exp.status, FindStatus::NotFound);
    // A frame lower than the glyphs.
    EXPECT_EQ(FindCaptureAreas(PixelBuffer(400, 5), fonts()).coins.status, FindStatus::NotFound);
}

TEST_F(PureAreaFinderTest, CropIsBlackOutsideTheFrame)
{
    PixelBuffer frame(4, 4);
    frame.pixel(0, 0)[2] = 200;
    frame.pixel(3, 3)[1] = 100;
    const PixelBuffer crop = CropFrame(frame, {-1, -1, 6, 6});
    ASSERT_EQ(crop.width, 6);
    EXPECT_EQ(crop.pixel(1, 1)[2], 200);
    EXPECT_EQ(crop.pixel(4, 4)[1], 100);
    EXPECT_EQ(crop.pixel(0, 0)[2], 0);
    EXPECT_EQ(crop.pixel(5, 5)[1], 0);
    EXPECT_TRUE(CropFrame(frame, {100, 100, 3, 3}).bgra == PixelBuffer(3, 3).bgra);
}

} // namespace
