// RecognizeNumber over the program state: results, captions, trace and the lag waits.

#include "RecognitionHarness.h"
#include "recognition/Recognition.h"

#include <gmock/gmock.h>

using namespace kesmaro;
using namespace kesmaro::test;
using ::testing::ElementsAre;

namespace {

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

class RecognizeNumberTest : public RecognitionFixture {
protected:
    std::string delimiter(int category) const { return glyph(category, kDelimiterGlyph); }
    std::string number(int category, const std::string& digits) const
    {
        return digitsText(category, digits) + delimiter(category);
    }
    const std::string& caption(int category) const
    {
        return p.results.lblCapture[static_cast<std::size_t>(category)];
    }
};

TEST_F(RecognizeNumberTest, ReadsEachCategoryWithItsOwnGlyphs)
{
    setSlot(CategoryLevel, blank(3) + number(CategoryLevel, "53") + blank(3));
    setSlot(CategoryExp, repeat("03FF", 2) + digitsText(CategoryExp, "12") + std::string("03FF") +
                             number(CategoryExp, "34") + std::string("03FF"));
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "53");
    EXPECT_EQ(RecognizeNumber(p, CategoryExp), "1234");
}

// Money slots: what is read and what the caption says.
TEST_F(RecognizeNumberTest, ResultsAndCaptions)
{
    const int m = CategoryMoney;
    const std::string one = glyph(m, 1), two = glyph(m, 2);
    struct Row {
        const char* name;
        std::string text;
        const char* result;
        const char* caption;
    };
    const std::vector<Row> rows = {
        {"zero is a number", blank(2) + glyph(m, 0) + blank(5) + delimiter(m) + blank(2), "0", "0"},
        {"leading zeros stay in the caption", blank(3) + number(m, "0012") + blank(3), "12",
         "0012"},
        {"no digit", blank(40), "", "NotFind"},
        {"empty slot", std::string(), "", "NotFind"},
        {"narrower than a glyph", one.substr(0, one.size() - 4), "", "NotFind"},
        {"delimiter only", blank(3) + delimiter(m) + blank(3), "", "NotFind"},
        {"no delimiter", blank(3) + digitsText(m, "45") + blank(3), "", "認識NG"},
        {"delimiter touching the edge", blank(3) + number(m, "45"), "", "認識NG"},
        {"delimiter one column before the edge", blank(3) + number(m, "45") + blank(1), "45", "45"},
        {"32 unreadable steps", blank(2) + one + blank(32) + two + delimiter(m) + blank(2), "12",
         "12"},
        {"33 unreadable steps are a hidden 0",
         blank(2) + one + blank(33) + two + delimiter(m) + blank(2), "102", "102"},
        {"65 steps", blank(2) + one + blank(65) + two + delimiter(m) + blank(2), "102", "102"},
        {"66 steps", blank(2) + one + blank(66) + two + delimiter(m) + blank(2), "1002", "1002"},
        {"none before the first digit", blank(100) + number(m, "7") + blank(2), "7", "7"},
        {"first digit off the column grid",
         std::string("00") + number(m, "305") + blank(3) + std::string("00"), "305", "305"},
        {"15 digits", blank(1) + number(m, "922337203685477") + blank(1), "922337203685477",
         "922337203685477"},
        {"16 digits", blank(1) + number(m, "1000000000000000") + blank(1), "", "認識NG"},
        {"leading zeros do not count", blank(1) + number(m, "0000000000000000007") + blank(1), "7",
         "0000000000000000007"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setSlot(m, row.text);
        EXPECT_EQ(RecognizeNumber(p, m), row.result);
        EXPECT_EQ(caption(m), row.caption);
        EXPECT_EQ(p.ColumnText[m], row.text); // the slot is left as it was
    }
}

TEST_F(RecognizeNumberTest, HandEditedGlyphsAndSizesNeverMatchOrCrash)
{
    // The capture shows "12"; with digit 1 spoilt the read starts at the 2.
    setSlot(CategoryMoney, blank(3) + number(CategoryMoney, "12") + blank(3));
    const std::string one = glyph(CategoryMoney, 1);
    for (const std::string& spoilt : {lower(one), std::string(), one + "00"}) {
        SCOPED_TRACE(spoilt);
        p.settings.PatternString[CategoryMoney][1] = spoilt;
        EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "2");
    }
    setSlot(CategoryLevel, blank(3) + number(CategoryLevel, "8") + blank(3));
    for (const std::int32_t glyphWidth : {0, -1, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(glyphWidth);
        p.settings.PatternSize[CategoryLevel].Width = glyphWidth;
        EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "");
    }
    p.settings.PatternSize[CategoryLevel].Width = 11;
    for (const std::int32_t regionWidth : {0, -5, INT32_MIN}) {
        SCOPED_TRACE(regionWidth);
        p.settings.CaptureArea[CategoryLevel].Width = regionWidth;
        EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "");
    }
    p.settings.CaptureArea[CategoryLevel].Width = INT32_MAX; // the scan ends with the text
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "8");
    EXPECT_EQ(RecognizeNumber(p, -1), "");
    EXPECT_EQ(RecognizeNumber(p, 3), "");
}

TEST_F(RecognizeNumberTest, WithoutDebugModeOnlyTheOutcomeIsShownAndNothingLogged)
{
    setSlot(CategoryLevel, digitsText(CategoryLevel, "12") + blank(1) + delimiter(0) + blank(1));
    RecognizeNumber(p, CategoryLevel);
    EXPECT_THAT(view.captions, ElementsAre("12"));
    EXPECT_TRUE(logLines().empty());
}

class LagCancelTest : public RecognizeNumberTest {
protected:
    LagCancelTest() { p.settings.LagCancelTime = 10; }
};

TEST_F(LagCancelTest, EveryScanStepWaitsAndLetsOtherEventsRun)
{
    setSlot(CategoryLevel, blank(20));
    RecognizeNumber(p, CategoryLevel);
    EXPECT_EQ(sim.clock.elapsedMs(), 0); // no digit, no wait
    // Steps: digit 1, digit 2, a blank column, the delimiter: four waits of 10 ms (+1 each).
    setSlot(CategoryLevel, digitsText(CategoryLevel, "12") + blank(1) + delimiter(0) + blank(1));
    int ticks = 0;
    const auto timer = sim.scheduler.CreateTimer([&] { ++ticks; });
    timer->setInterval(5);
    timer->setEnabled(true);
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "12");
    EXPECT_EQ(sim.clock.elapsedMs(), 4 * 11);
    EXPECT_GE(ticks, 8);
}

TEST_F(LagCancelTest, ACaptureOrSettingsChangeDuringTheWaitIsPickedUp)
{
    // The slot holds "1" without a delimiter; during the first wait a capture rewrites it.
    const std::string later = blank(2) + number(CategoryMoney, "17") + blank(2);
    setSlot(CategoryMoney,
            blank(2) + glyph(CategoryMoney, 1) + blank(static_cast<int>(later.size() / 4) - 8));
    sim.scheduler.at(5, [&] { p.ColumnText[CategoryMoney] = later; });
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "17");
    // The area shrinks so that the delimiter can no longer be reached.
    sim.scheduler.at(sim.clock.elapsedMs() + 5,
                     [&] { p.settings.CaptureArea[CategoryMoney].Width = 10; });
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "");
    EXPECT_EQ(caption(CategoryMoney), "認識NG");
}

} // namespace
