#include "app/EchoingPrompter.h"

#include "platform/sim/SimPrompter.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace kesmaro;

TEST(EchoingPrompterTest, EchoesEachBoxUntilTurnedOffAndPassesTheAnswerThrough)
{
    SimPrompter shown;
    std::ostringstream echo;
    EchoingPrompter prompter(shown, echo);

    const Prompt refusal{"起動エラー",
                         "テンポラリフォルダでは実行できません。\r\n"
                         "Zip圧縮ファイルは適切なフォルダに解凍してから実行してください。\r\n",
                         PromptButtons::Ok, PromptIcon::None};
    EXPECT_EQ(prompter.Ask(refusal), PromptAnswer::Ok);
    EXPECT_EQ(echo.str(), "kesmaro: message box \u201c起動エラー\u201d:\n"
                          "  テンポラリフォルダでは実行できません。\n"
                          "  Zip圧縮ファイルは適切なフォルダに解凍してから実行してください。\n");

    shown.queue(PromptAnswer::No);
    EXPECT_EQ(prompter.Ask({"ターゲット変更選択", "ターゲットは dragonica.exe でよろしいいですか？",
                            PromptButtons::YesNo, PromptIcon::None}),
              PromptAnswer::No);
    EXPECT_NE(echo.str().find("  ターゲットは dragonica.exe でよろしいいですか？\n"),
              std::string::npos);

    prompter.setEchoing(false);
    const std::string before = echo.str();
    prompter.Ask(
        {"エラー", "既にプログラムは起動しています。", PromptButtons::Ok, PromptIcon::None});
    EXPECT_EQ(echo.str(), before) << "echoed after the start-up";
    ASSERT_EQ(shown.asked().size(), 3u) << "every box is still shown";
    EXPECT_EQ(shown.asked()[0].prompt.text, refusal.text);
}

TEST(EchoingPrompterTest, EveryLineOfTheTextIsIndentedWhateverItsLineEnds)
{
    const struct {
        const char* text;
        const char* echoed;
    } rows[] = {
        {"", ""},
        {"one", "  one\n"},
        {"one\r\ntwo", "  one\n  two\n"},
        {"one\ntwo\r\n", "  one\n  two\n"},
        {"one\r\n\r\nthree", "  one\n  \n  three\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(EchoText({"t", row.text, PromptButtons::Ok, PromptIcon::None}),
                  std::string("kesmaro: message box \u201ct\u201d:\n") + row.echoed);
    }
}
