#include "app/MainWindowGeometry.h"

#include "ProgramFixture.h"
#include "app/MainWindowEvents.h"
#include "app/PopupRemarks.h"

namespace kesmaro {
namespace {

TEST(MainWindowGeometry, ResizeRulesTestTheInnerSizeAndCorrectTheOuterOne)
{
    const struct {
        PixelSize inner;
        bool graph;
        std::optional<int> outerWidth, outerHeight;
        PixelSize graphFrame; // empty: hidden
    } rows[] = {
        {{877, 385}, true, {}, {}, {385, 379}}, {{709, 299}, true, 710, 346, {218, 294}},
        {{710, 300}, true, {}, {}, {218, 294}}, {{488, 385}, false, {}, {}, {}},
        {{480, 120}, false, 488, 346, {}},      {{900, 400}, false, 488, {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.inner.width << "x" << row.inner.height << (row.graph ? " graph" : ""));
        const ResizeRules rules = ApplyResizeRules(row.inner, row.graph);
        EXPECT_EQ(rules.outerWidth, row.outerWidth);
        EXPECT_EQ(rules.outerHeight, row.outerHeight);
        EXPECT_EQ(rules.graphVisible, row.graph);
        if (row.graph) {
            EXPECT_EQ(rules.graphFrame, row.graphFrame);
        }
    }
}

TEST(MainWindowGeometry, LoadTakesTheSavedEdgesAndRescuesAWindowOffEveryScreen)
{
    const PixelRect designed{200, 100, 877, 430};
    const std::vector<PixelRect> screens{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const struct {
        const char* name;
        CaptureRect saved;
        PixelRect expected;
    } rows[] = {
        {"all zero", {0, 0, 0, 0}, designed},
        {"left edge only", {100, 0, 0, 0}, {100, 100, 877, 430}},
        {"width without height", {0, 40, 600, 0}, {200, 40, 877, 430}},
        {"on the second screen", {2000, 50, 700, 400}, {2000, 50, 700, 400}},
        {"partly visible", {-600, 900, 700, 400}, {-600, 900, 700, 400}},
        {"off every screen", {3300, 50, 700, 400}, {200, 100, 700, 400}},
        // The screens' last column and row count; the one past them does not.
        {"on the last column", {3199, 50, 700, 400}, {3199, 50, 700, 400}},
        {"past the last column", {3200, 50, 700, 400}, {200, 100, 700, 400}},
        {"on the last row", {2000, 1079, 700, 400}, {2000, 1079, 700, 400}},
        {"past the last row", {2000, 1080, 700, 400}, {200, 100, 700, 400}},
        {"above the first row", {100, -400, 700, 400}, {200, 100, 700, 400}},
        {"touching the first row", {100, -399, 700, 400}, {100, -399, 700, 400}},
        // A negative size counts back from the saved corner.
        {"negative width reaching back", {3300, 50, -700, 400}, {3300, 50, -700, 400}},
        {"negative width off the screens", {-1, 50, -700, 400}, {200, 100, -700, 400}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LoadGeometry(row.saved, designed, screens), row.expected);
    }
    EXPECT_EQ(LoadGeometry({3300, 50, 700, 400}, designed, {}), (PixelRect{3300, 50, 700, 400}));
    // A screen of no size shows nothing.
    EXPECT_EQ(LoadGeometry({10, 10, 700, 400}, designed, {{10, 10, 0, 0}}),
              (PixelRect{200, 100, 700, 400}));
}

TEST(MainWindowGeometry, RememberedPositionIsTheOuterRectangle)
{
    EXPECT_EQ(RememberedPosition({-8, 30, 900, 431}), (CaptureRect{-8, 30, 900, 431}));
}

TEST(PopupRemarks, EachCounterSaysItsRemarkAndTheAnimationsKeepTheirPace)
{
    const std::string cls = "Game.exe";
    const struct {
        int counter;
        const char* first; // nullptr: a face of an animation
        std::size_t frames;
        int firstPauseMs;
    } rows[] = {
        {1, "閉じないでください。", 1, 1000},
        {3, "Game.exeを起動すれば勝手に閉じますよ", 1, 1000},
        {9, "閉じないでください。", 1, 1000},
        {14, "・・・", 1, 1000},
        {15, "あんまりしつこいようだと・・・", 1, 1000},
        {19, "ハードディスクフォーマット\r\n始めるよ！", 4, 2000},
        {20, "ただの冗談だよっ", 2, 2000},
        {21, "おしまい", 1, 1000},
        {25, nullptr, 6, 1000},
        {60, nullptr, 6, 500},
        {55, nullptr, 9, 1000},
        {90, nullptr, 9, 250},
        {59, "ここからはさきほどの内容を早送りでお送りします", 1, 1000},
        {105, "暇ですか？", 1, 1000},
        {110, "ちょｗどんだけ暇ですかっ！？", 1, 1000},
        {111, "まじでおしまい", 1, 1000},
        {300, " っ 「キング・オブ・ひまじん」", 1, 1000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.counter);
        const std::vector<RemarkFrame> remark = PopupRemark(row.counter, cls);
        ASSERT_EQ(remark.size(), row.frames);
        if (row.first) {
            EXPECT_EQ(remark.front().text, row.first);
        }
        EXPECT_EQ(remark.front().pauseMs, row.firstPauseMs);
        EXPECT_EQ(remark.back().pauseMs, kRemarkStandMs);
    }
    // The replays show the same faces as the first showings.
    EXPECT_EQ(PopupRemark(25, cls).front().text, PopupRemark(60, cls).front().text);
}

TEST(PopupRemarks, TheLabelIsCentredAndAWindowTooSmallGrowsAroundIt)
{
    EXPECT_EQ(CentrePopupLabel({394, 50}, {400, 73}, {120, 20}),
              (PopupPlacement{{137, 15}, {}, {}}));
    EXPECT_EQ(CentrePopupLabel({394, 50}, {400, 73}, {500, 60}),
              (PopupPlacement{{0, 0}, 500 + 12, 60 + 46}));
}

class MainWindowEventsTest : public test::ProgramFixture {
protected:
    MainWindowEventsTest()
        : test::ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}
};

TEST_F(MainWindowEventsTest, ResizeRemembersTheCorrectedPositionAndMinimisedDoesNothing)
{
    p.settings.WindowMemory = true;
    EXPECT_FALSE(Form_Resize(p, {300, 200}, {10, 20, 302, 230}, true));
    EXPECT_TRUE(logLines().empty());
    EXPECT_EQ(p.settings.WindowPosition, CaptureRect{});

    ASSERT_TRUE(Form_Resize(p, {300, 200}, {10, 20, 302, 230}, false));
    EXPECT_EQ(p.settings.WindowPosition, (CaptureRect{10, 20, 488, 346}));
    EXPECT_EQ(logLines(), std::vector<std::string>{"Resaizing Form ･･･ End "});
    EXPECT_EQ(p.menus.innerHeight, 200);
}

} // namespace
} // namespace kesmaro
