#include "config/Defaults.h"

#include "common/DebugLog.h"
#include "common/Files.h"
#include "platform/Prompter.h"

namespace kesmaro {

namespace {

using Patterns = std::array<const char*, kGlyphCount>;

constexpr Patterns kLevelPatterns = {
    "07F01FFC380E200260034001400160032002380E1FFC", "000000000008000C000600067FFF7FFF000000000000",
    "00006000780E6C06460343014181418340C2407E403C", "0000380C30066003608340C140C361E3313E3F1C1E00",
    "00000700078006E00630061C06067FFF7FFF06000600", "0000180030FE20CF604340634063606330C33F830F00",
    "07E01FFC30866042606340614063606330C63F8C0F00", "000000030003000370033E0307C300FB001F00030000",
    "1E1C3F3E31E260C340C140C140C160C331E23F3E1E1C", "007810FE31866303430143016301210338861FFC03F0",
    "000000000000000007C001F001F801F801FC01FC001C",
};

constexpr Patterns kMoneyPatterns = {
    "007C00820101010101010082", "00000002000201FF00000000", "010001C2012101210111010E",
    "0000008201010111011900E6", "00600050004C004201FF0040", "0080010F01090109011900F1",
    "00FC019201090109011B00F0", "0001000101810071000F0001", "00EE011101110111011100EE",
    "009E0131012101210081007C", "000000000000000300000000",
};

// Yellow and red share their patterns and differ only in the threshold.
constexpr Patterns kExpYellowPatterns = {
    "02FD01FE01FE01FE02FD0303", "03FF03F903FD000003FF03FF", "017C01BE01DE01EC01F103FF",
    "02FC01FE01EE01CE023103FF", "034F037703790000037F03FF", "01E901ED01ED01CD021D03FF",
    "02DD01EE01EE01EE02DD031F", "03FD03FD00FD031D03E103F9", "01CC01DE01DE01DC022103FF",
    "00DC01BE01BE01BE02DD0303", "03EE01EE026E03B103EF023B",
};

constexpr Patterns kExpBluePatterns = {
    "02FD01FE01FE01FE02FD0303", "03FF03FD03FD000003FF03FF", "017C01BE01DE01EE01F103FF",
    "02FC01FE01FE01CE023103FF", "034F037703790000037F03FF", "01E901ED01ED01ED021D03FF",
    "02DD01EE01EE01EE02DD033F", "03FD03FD00FD031D03E103FD", "01DC01DE01DE01DC022103FF",
    "01DC01BE01BE01BE02DD0383", "03EE01EE026E03B103EF023B",
};

constexpr Patterns kExpWhitePatterns = {
    "02FD01FE01FE01FE02FD0303", "03FF03FD03FD000003FF03FF", "017C01BE01DE01EE01F103FF",
    "02FD01FE01FE01CE023103FF", "034F037703790000037F03FF", "01E901ED01ED01ED021D03FF",
    "02DD01EE01EE01EE02DD033F", "03FD03FD00FD031D03E103FD", "01DC01DE01DE01DE022103FF",
    "01DC01BE01BE01BE02DD0383", "03EE01EE026E03B103EF023B",
};

void setCategory(Settings& s, int k, GlyphSize size, std::int32_t threshold,
                 const Patterns& patterns)
{
    const auto i = static_cast<std::size_t>(k);
    s.PatternSize[i] = size;
    s.BinaryThreshold[i] = threshold;
    s.BinaryMask[i] = -1;
    for (std::size_t d = 0; d < patterns.size(); ++d)
        s.PatternString[i][d] = patterns[d];
}

PromptAnswer ask(Prompter& prompter, std::string title, std::string text, PromptButtons buttons,
                 PromptIcon icon)
{
    return prompter.Ask(Prompt{std::move(title), std::move(text), buttons, icon});
}

} // namespace

std::string DefaultSaveFolder(std::string_view programFolder)
{
    std::string folder = PathToUtf8(PathFromUtf8(programFolder).make_preferred());
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    while (folder.size() > 1 && folder.back() == separator)
        folder.pop_back();
    return folder;
}

void ApplyDefaults(Settings& s, std::string_view programFolder)
{
    s.SaveFolder = DefaultSaveFolder(programFolder);
    s.SaveFile = "給与明細";
    s.SaveCsv = false;
    s.MonthlyAppend = true;
    s.LagCancelTime = 0;
    s.StartDelay = 15;
    s.StartUp = {false, false};
    s.StartUpPath = {std::string(), std::string()};
    s.StartUpDelay = 15;
    s.DoHLInterval = 1000;
    s.DoHLCheckExec = false;
    s.SaveFormat = ".png";
    s.GestureEnabled = false;
    s.GestureTime = 500;
    s.GraphEnabled = true;
    s.GraphTimeScale = 20;
    s.GraphAveNum = 10;
    s.DualDisplay = false;
    s.AutoStart = true;
    s.CaptureInterval = 6;
    s.BeepMode = 0;
    s.WindowMemory = false;
    s.DisplayOffsetX = 0;
    s.DisplayOffsetY = 0;
    s.WindowPosition = {};
}

void SetDefaultCaptureAreas(Settings& s, ScreenMode mode)
{
    const std::int32_t dx = mode == ScreenMode::Window ? 3 : 0;
    const std::int32_t dy = mode == ScreenMode::Window ? 22 : 0;
    s.CaptureArea[0] = {392 + dx, 726 + dy, 53, 15};
    s.CaptureArea[1] = {687 + dx, 752 + dy, 49, 10};
    s.CaptureArea[2] = {846 + dx, 202 + dy, 179, 9};
    s.CaptureArea[3] = {0, 0, s.CaptureArea[1].Width, s.CaptureArea[1].Height};
    s.CaptureArea[4] = {846 + dx, 43 + dy, s.CaptureArea[2].Width, s.CaptureArea[2].Height};
}

ScreenMode AskScreenMode(Settings& s, Prompter& prompter)
{
    const std::string title = "検査領域追従選択";
    const std::string crlf = "\r\n";
    ScreenMode mode;
    if (ask(prompter, title,
            s.SearchWindowClass + "をフルスクリーンでプレイするときは「はい」を、" + crlf +
                "ウィンドウモードでプレイする場合は「いいえ」を選択してください。" + crlf +
                "(ドラゴニカでは基本的にはいを選んでください)",
            PromptButtons::YesNo, PromptIcon::Question) == PromptAnswer::Yes) {
        mode = ask(prompter, title,
                   "フルスクリーンモードでよろしいですか？" + crlf +
                       "(ドラゴニカでは基本的にこちらを選んでください)",
                   PromptButtons::OkCancel, PromptIcon::Question) == PromptAnswer::Ok
                   ? ScreenMode::FullScreen
                   : ScreenMode::Window;
    } else {
        mode = ask(prompter, title, "ウィンドウモードでよろしいですか？", PromptButtons::OkCancel,
                   PromptIcon::Question) == PromptAnswer::Ok
                   ? ScreenMode::Window
                   : ScreenMode::FullScreen;
    }
    SetDefaultCaptureAreas(s, mode);
    return mode;
}

void LoadDefaultGlyphTables(Settings& s, InterfaceColour colour)
{
    setCategory(s, CategoryLevel, {11, 15}, 135, kLevelPatterns);
    setCategory(s, CategoryMoney, {6, 9}, 165, kMoneyPatterns);
    switch (colour) {
    case InterfaceColour::Yellow:
        setCategory(s, CategoryExp, {6, 10}, 108, kExpYellowPatterns);
        break;
    case InterfaceColour::Red:
        setCategory(s, CategoryExp, {6, 10}, 107, kExpYellowPatterns);
        break;
    case InterfaceColour::Blue:
        setCategory(s, CategoryExp, {6, 10}, 105, kExpBluePatterns);
        break;
    case InterfaceColour::White:
        setCategory(s, CategoryExp, {6, 10}, 104, kExpWhitePatterns);
        break;
    }
}

InterfaceColour AskInterfaceColour(Prompter& prompter)
{
    struct Step {
        const char* title;
        const char* text;
        InterfaceColour colour;
    };
    static const std::array<Step, 4> steps = {{
        {"EXP基準パターン選択1/4", "ゲーム内オプションのインターフェイスの色設定は「黄色」ですか？",
         InterfaceColour::Yellow},
        {"EXP基準パターン選択2/4", "ゲーム内オプションのインターフェイスの色設定は「赤色」ですか？",
         InterfaceColour::Red},
        {"EXP基準パターン選択3/4", "ゲーム内オプションのインターフェイスの色設定は「青色」ですか？",
         InterfaceColour::Blue},
        {"EXP基準パターン選択4/4", "ゲーム内オプションのインターフェイスの色設定は「白色」ですか？",
         InterfaceColour::White},
    }};
    for (;;) {
        for (const Step& step : steps)
            if (ask(prompter, step.title, step.text, PromptButtons::YesNo, PromptIcon::Question) ==
                PromptAnswer::Yes)
                return step.colour;
        ask(prompter, "EXP基準パターン選択5", "あの･･･4つのどれかを選択してくださいね？",
            PromptButtons::Ok, PromptIcon::Exclamation);
    }
}

InterfaceColour SelectGlyphColour(Settings& s, Prompter& prompter, DebugLog& log)
{
    const InterfaceColour colour = AskInterfaceColour(prompter);
    static const std::array<const char*, 4> names = {"Yellow ", "Red ", "Blue ", "White "};
    log.WriteDebugLog(std::string("Selected EXP Collar Pattern ") +
                      names[static_cast<std::size_t>(colour)]);
    LoadDefaultGlyphTables(s, colour);
    return colour;
}

} // namespace kesmaro
