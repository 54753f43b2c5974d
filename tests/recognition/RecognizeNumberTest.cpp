// RecognizeNumber over the program state: results, captions, trace and the lag waits.

#include "RecognitionHarness.h"
#include "recognition/Recognition.h"

#include <gmock/gmock.h>

using namespace kesmaro;
using namespace kesmaro::test_support;
using ::testing::ElementsAre;

namespace {

class RecognizeNumberTest : public ProgramFixture {
protected:
    QString delimiter(int category) const { return glyph(category, kDelimiterGlyph); }
    // A slot holding `number` closed by the delimiter, with room on both sides.
    void setNumber(int category, const QString& number)
    {
        setSlot(category, blank(3) + digitsText(category, number) + delimiter(category) + blank(3));
    }
    QString caption(int category) const
    {
        return p.results.lblCapture[static_cast<std::size_t>(category)];
    }
};

TEST_F(RecognizeNumberTest, ReadsEachCategoryWithItsOwnGlyphsAndSlot)
{
    setNumber(CategoryLevel, QStringLiteral("53"));
    setNumber(CategoryMoney, QStringLiteral("1234567"));
    setSlot(CategoryExp, QStringLiteral("03FF").repeated(2) + digitsText(CategoryExp, "12") +
                             QStringLiteral("03FF") + digitsText(CategoryExp, "34") +
                             delimiter(CategoryExp) + QStringLiteral("03FF"));
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "53");
    EXPECT_EQ(RecognizeNumber(p, CategoryExp), "1234");
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "1234567");
    EXPECT_EQ(caption(CategoryMoney), "1234567");
}

TEST_F(RecognizeNumberTest, ZeroIsANumber)
{
    setSlot(CategoryMoney,
            blank(2) + glyph(CategoryMoney, 0) + blank(5) + delimiter(CategoryMoney) + blank(2));
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "0");
    EXPECT_EQ(caption(CategoryMoney), "0");
}

TEST_F(RecognizeNumberTest, LeadingZerosLeaveTheResultButStayInTheCaption)
{
    setNumber(CategoryLevel, QStringLiteral("0012"));
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "12");
    EXPECT_EQ(caption(CategoryLevel), "0012");
}

TEST_F(RecognizeNumberTest, FailuresGiveAnEmptyResultAndTheirCaption)
{
    struct Row {
        const char* name;
        QString text;
        const char* caption;
    };
    const std::vector<Row> rows = {
        {"no digit", blank(40), "NotFind"},
        {"empty slot", QString(), "NotFind"},
        {"narrower than a glyph", glyph(CategoryLevel, 1).left(40), "NotFind"},
        {"digits up to the edge", blank(3) + digitsText(CategoryLevel, "45"), "認識NG"},
        {"delimiter touching the edge", blank(3) + digitsText(CategoryLevel, "45") + delimiter(0),
         "認識NG"},
        {"delimiter only", blank(3) + delimiter(0) + blank(3), "NotFind"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setSlot(CategoryLevel, row.text);
        EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "");
        EXPECT_EQ(caption(CategoryLevel), QString::fromUtf8(row.caption));
    }
}

TEST_F(RecognizeNumberTest, DelimiterOneColumnBeforeTheEdgeCloses)
{
    setSlot(CategoryLevel, blank(3) + digitsText(CategoryLevel, "45") + delimiter(0) + blank(1));
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "45");
}

// Steps without a match after a digit: every 33 of them are a hidden 0.
TEST_F(RecognizeNumberTest, LongObstructionsInsideANumberAddZeros)
{
    struct Row {
        int gap;
        const char* result;
    };
    const std::vector<Row> rows = {{0, "12"},   {32, "12"},  {33, "102"},
                                   {40, "102"}, {65, "102"}, {66, "1002"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.gap);
        setSlot(CategoryMoney, blank(2) + glyph(CategoryMoney, 1) + blank(row.gap) +
                                   glyph(CategoryMoney, 2) + delimiter(CategoryMoney) + blank(2));
        EXPECT_EQ(RecognizeNumber(p, CategoryMoney), QString::fromLatin1(row.result));
    }
}

TEST_F(RecognizeNumberTest, UnreadableColumnsBeforeTheFirstDigitAddNothing)
{
    setSlot(CategoryMoney,
            blank(100) + glyph(CategoryMoney, 7) + delimiter(CategoryMoney) + blank(2));
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "7");
}

TEST_F(RecognizeNumberTest, FirstDigitOffTheColumnGridShiftsTheWholeScan)
{
    // Two characters of noise before the number: every glyph sits two characters off.
    setSlot(CategoryMoney, QStringLiteral("00") + digitsText(CategoryMoney, "305") +
                               delimiter(CategoryMoney) + blank(3) + QStringLiteral("00"));
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "305");
}

TEST_F(RecognizeNumberTest, FifteenDigitsAreReadSixteenAreNot)
{
    setNumber(CategoryMoney, QStringLiteral("922337203685477"));
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "922337203685477");
    setNumber(CategoryMoney, QStringLiteral("1000000000000000"));
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "");
    EXPECT_EQ(caption(CategoryMoney), "認識NG");
    // Leading zeros do not count: the value fits.
    setNumber(CategoryMoney, QStringLiteral("0000000000000000007"));
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "7");
}

TEST_F(RecognizeNumberTest, HandEditedGlyphsThatCannotMatchNeverMatch)
{
    // The capture shows "12"; with digit 1 spoilt the read starts at the 2.
    setNumber(CategoryMoney, QStringLiteral("12"));
    const QString one = glyph(CategoryMoney, 1);
    for (const QString& spoilt :
         {one.toLower(), QString(), one + QStringLiteral("00"), one.left(20)}) {
        SCOPED_TRACE(spoilt.toStdString());
        p.settings.PatternString[CategoryMoney][1] = spoilt;
        EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "2");
    }
}

TEST_F(RecognizeNumberTest, AnySizeSettingIsSafe)
{
    setNumber(CategoryLevel, QStringLiteral("8"));
    const QString text = p.ColumnText[CategoryLevel];
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
    // A region far wider than its text: the scan ends with the text.
    p.settings.CaptureArea[CategoryLevel].Width = INT32_MAX;
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "8");
    EXPECT_EQ(RecognizeNumber(p, -1), "");
    EXPECT_EQ(RecognizeNumber(p, 3), "");
}

TEST_F(RecognizeNumberTest, RecognitionLeavesTheSlotAsItWas)
{
    setNumber(CategoryLevel, QStringLiteral("99"));
    const QString before = p.ColumnText[CategoryLevel];
    RecognizeNumber(p, CategoryLevel);
    EXPECT_EQ(p.ColumnText[CategoryLevel], before);
}

class RecognizeDebugTest : public RecognizeNumberTest {
protected:
    RecognizeDebugTest() { p.flags.DebugMode = true; }
};

TEST_F(RecognizeDebugTest, TraceIsOneLogEntryWithTheTextAndEveryStep)
{
    const QString text =
        blank(1) + digitsText(CategoryMoney, "40") + delimiter(CategoryMoney) + blank(1);
    setSlot(CategoryMoney, text);
    ASSERT_EQ(RecognizeNumber(p, CategoryMoney), "40");
    EXPECT_THAT(logLines(),
                ElementsAre(QStringLiteral("category2 変換データ : ") + text,
                            QStringLiteral(" 認識結果:4 認識結果:0 認識結果:デリミタ")));
}

TEST_F(RecognizeDebugTest, TraceOfFailuresNamesThem)
{
    setSlot(CategoryMoney, blank(5));
    RecognizeNumber(p, CategoryMoney);
    setSlot(CategoryMoney,
            blank(1) + glyph(CategoryMoney, 1) + blank(34) + glyph(CategoryMoney, 3) + blank(1));
    RecognizeNumber(p, CategoryMoney);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QStringLiteral("category2 数値が見つかりませんでした"));
    EXPECT_EQ(lines[3],
              QStringLiteral(" 認識結果:1 遮蔽物検出0付加 10 認識結果:3 デリミタ未検出 103"));
}

TEST_F(RecognizeDebugTest, CaptionShowsProgressAfterEveryStep)
{
    setSlot(CategoryLevel, digitsText(CategoryLevel, "12") + blank(1) + delimiter(0) + blank(1));
    RecognizeNumber(p, CategoryLevel);
    EXPECT_THAT(view.captions, ElementsAre("認識中…", "1認識中…", "12認識中…", "12認識中…", "12"));
}

TEST_F(RecognizeNumberTest, WithoutDebugModeOnlyTheOutcomeIsShownAndNothingLogged)
{
    setSlot(CategoryLevel, digitsText(CategoryLevel, "12") + blank(1) + delimiter(0) + blank(1));
    RecognizeNumber(p, CategoryLevel);
    EXPECT_THAT(view.captions, ElementsAre("12"));
    EXPECT_TRUE(logLines().isEmpty());
}

class LagCancelTest : public RecognizeNumberTest {
protected:
    LagCancelTest() { p.settings.LagCancelTime = 10; }
};

TEST_F(LagCancelTest, EveryScanStepWaitsAndLetsOtherEventsRun)
{
    // Steps: digit 1, digit 2, a blank column, the delimiter: four waits of 10 ms (+1 each).
    setSlot(CategoryLevel, digitsText(CategoryLevel, "12") + blank(1) + delimiter(0) + blank(1));
    int ticks = 0;
    const auto timer = sim.scheduler.CreateTimer([&] { ++ticks; });
    timer->setInterval(5);
    timer->setEnabled(true);
    const std::int64_t before = sim.clock.elapsedMs();
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "12");
    EXPECT_EQ(sim.clock.elapsedMs() - before, 4 * 11);
    EXPECT_GE(ticks, 8);
}

TEST_F(LagCancelTest, NoDigitMeansNoWait)
{
    setSlot(CategoryLevel, blank(20));
    RecognizeNumber(p, CategoryLevel);
    EXPECT_EQ(sim.clock.elapsedMs(), 0);
}

TEST_F(LagCancelTest, ACaptureDuringTheWaitChangesTheTextUnderTheScan)
{
    // The slot first holds "1" and no delimiter; during the first wait a capture rewrites it
    // as "17" closed by the delimiter, and the scan goes on in the new text.
    const QString later =
        blank(2) + digitsText(CategoryMoney, "17") + delimiter(CategoryMoney) + blank(2);
    setSlot(CategoryMoney,
            blank(2) + glyph(CategoryMoney, 1) + blank(static_cast<int>(later.size() / 4) - 8));
    ASSERT_EQ(p.ColumnText[CategoryMoney].size(), later.size());
    sim.scheduler.at(5, [&] { p.ColumnText[CategoryMoney] = later; });
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "17");
}

TEST_F(LagCancelTest, ASettingsChangeDuringTheWaitIsPickedUp)
{
    setSlot(CategoryMoney,
            blank(2) + digitsText(CategoryMoney, "55") + delimiter(CategoryMoney) + blank(2));
    // The area shrinks so that the delimiter can no longer be reached.
    sim.scheduler.at(5, [&] { p.settings.CaptureArea[CategoryMoney].Width = 10; });
    EXPECT_EQ(RecognizeNumber(p, CategoryMoney), "");
    EXPECT_EQ(caption(CategoryMoney), "認識NG");
}

} // namespace
