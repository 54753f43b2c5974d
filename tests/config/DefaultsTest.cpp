#include "config/Defaults.h"

#include "ConfigFileFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace kesmaro;
using ::testing::ElementsAre;

namespace {

std::vector<CaptureRect> areas(const Settings& s)
{
    return {s.CaptureArea.begin(), s.CaptureArea.end()};
}

const std::vector<CaptureRect> kFullScreen = {
    {392, 726, 53, 15}, {687, 752, 49, 10}, {846, 202, 179, 9}, {0, 0, 49, 10}, {846, 43, 179, 9}};
const std::vector<CaptureRect> kWindow = {
    {395, 748, 53, 15}, {690, 774, 49, 10}, {849, 224, 179, 9}, {0, 0, 49, 10}, {849, 65, 179, 9}};

} // namespace

TEST(ScreenModeTest, AnswersChooseTheCaptureAreas)
{
    struct Row {
        const char* name;
        PromptAnswer first, second;
        const std::vector<CaptureRect>& expected;
    };
    for (const Row& r :
         {Row{"full screen confirmed", PromptAnswer::Yes, PromptAnswer::Ok, kFullScreen},
          Row{"full screen cancelled", PromptAnswer::Yes, PromptAnswer::Cancel, kWindow},
          Row{"window confirmed", PromptAnswer::No, PromptAnswer::Ok, kWindow},
          Row{"window cancelled", PromptAnswer::No, PromptAnswer::Cancel, kFullScreen}}) {
        SCOPED_TRACE(r.name);
        Settings s;
        s.SearchWindowClass = "Gamebryo Application";
        SimPrompter prompter;
        prompter.queue(r.first);
        prompter.queue(r.second);
        AskScreenMode(s, prompter);
        EXPECT_EQ(areas(s), r.expected);
        ASSERT_EQ(prompter.asked().size(), 2u);
        EXPECT_EQ(prompter.asked()[0].prompt.title, "検査領域追従選択");
        EXPECT_EQ(prompter.asked()[1].prompt.buttons, PromptButtons::OkCancel);
    }
}

TEST(ScreenModeTest, QuestionNamesTheCurrentWindowClass)
{
    Settings s;
    s.SearchWindowClass = "Game.exe";
    SimPrompter prompter;
    AskScreenMode(s, prompter);
    EXPECT_EQ(prompter.asked()[0].prompt.text,
              "Game.exeをフルスクリーンでプレイするときは「はい」を、\r\n"
              "ウィンドウモードでプレイする場合は「いいえ」を選択してください。\r\n"
              "(ドラゴニカでは基本的にはいを選んでください)");
    EXPECT_EQ(
        prompter.asked()[1].prompt.text,
        "フルスクリーンモードでよろしいですか？\r\n(ドラゴニカでは基本的にこちらを選んでください)");
}

TEST(DefaultsTest, ApplyDefaultsLeavesClassAreasAndGlyphSettings)
{
    Settings s;
    s.SearchWindowClass = "custom";
    s.CaptureArea[2] = {1, 2, 3, 4};
    s.BinaryThreshold[1] = 99;
    s.WindowPosition = {5, 6, 7, 8};
    ApplyDefaults(s, "/opt/kesmaro/");
#ifdef _WIN32
    EXPECT_EQ(s.SaveFolder, "\\opt\\kesmaro"); // in the separators of the folder boxes
#else
    EXPECT_EQ(s.SaveFolder, "/opt/kesmaro");
#endif
    EXPECT_EQ(s.WindowPosition, CaptureRect{});
    EXPECT_EQ(s.SearchWindowClass, "custom");
    EXPECT_EQ(s.CaptureArea[2], (CaptureRect{1, 2, 3, 4}));
    EXPECT_EQ(s.BinaryThreshold[1], 99);
}

using ColourTest = ConfigFileFixture;

TEST_F(ColourTest, OnlyAYesEndsTheQuestions)
{
    for (int i = 0; i < 6; ++i)
        m_prompter.queue(PromptAnswer::No);
    m_prompter.queue(PromptAnswer::Yes);
    EXPECT_EQ(AskInterfaceColour(m_prompter), InterfaceColour::Blue);
    EXPECT_THAT(titles(), ElementsAre("EXP基準パターン選択1/4", "EXP基準パターン選択2/4",
                                      "EXP基準パターン選択3/4", "EXP基準パターン選択4/4",
                                      "EXP基準パターン選択5", "EXP基準パターン選択1/4",
                                      "EXP基準パターン選択2/4", "EXP基準パターン選択3/4"));
    EXPECT_EQ(m_prompter.asked()[4].prompt.text, "あの･･･4つのどれかを選択してくださいね？");
}

TEST_F(ColourTest, RedKeepsYellowPatternsAndResetsAllCategories)
{
    m_settings.PatternString[0][3] = "edited";
    m_settings.BinaryMask[2] = 7;
    m_prompter.queue(PromptAnswer::No);
    m_prompter.queue(PromptAnswer::Yes);
    EXPECT_EQ(SelectGlyphColour(m_settings, m_prompter, log), InterfaceColour::Red);

    Settings yellow;
    LoadDefaultGlyphTables(yellow, InterfaceColour::Yellow);
    EXPECT_EQ(m_settings.PatternString, yellow.PatternString);
    EXPECT_EQ(m_settings.BinaryThreshold, (std::array<std::int32_t, 3>{135, 107, 165}));
    EXPECT_EQ(m_settings.BinaryMask, (std::array<std::int32_t, 3>{-1, -1, -1}));
    EXPECT_EQ(ReadFileBytes(log.path()),
              "2024/05/01 12:00:00 Selected EXP Collar Pattern Red \r\n");
}

TEST(ScreenSizeTest, ListIsParsedFromTheTexts)
{
    const ScreenSizeList list = BuildScreenSizeList();
    EXPECT_EQ(list[13].Width, 800);
    EXPECT_EQ(list[13].Height, 600);
    EXPECT_EQ(list[13].Text, " 800×600   SVGA     ");
}
