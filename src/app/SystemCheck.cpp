#include "app/SystemCheck.h"

#include "common/Paths.h"
#include "platform/Prompter.h"
#include "state/Program.h"

namespace kesmaro {

const std::array<SystemPartEntry, kSystemPartCount>& SystemPartTable()
{
    static const std::string general = "正常に動作しない可能性があります。";
    static const std::string gestures = "マウスジェスチャ機能が利用できない可能性があります。";
#ifdef _WIN32
    static const std::array<SystemPartEntry, kSystemPartCount> table{{
        {"gdiplus.dll", general},
        {"dinput8.dll", gestures},
        {"comctl32.dll", "オプションウィンドウを開けない可能性があります。"},
        {"Japanese font", general},
    }};
#else
    static const std::array<SystemPartEntry, kSystemPartCount> table{{
        {"XInputExtension", gestures},
        {"MIT-SHM", general},
        {"PulseAudio", general},
        {"Japanese font", general},
        {"xdg-open", general},
    }};
#endif
    return table;
}

void CheckSystemFiles(Program& p, const SystemPartsFound& found)
{
    const std::string crLf = "\r\n";
    bool allFound = true;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i])
            continue;
        allFound = false;
        const SystemPartEntry& entry = SystemPartTable()[i];
        p.log.WriteDebugLog("System File of " + entry.name + " is Not Find ");
        const std::string text =
            entry.name + " ファイルが見つかりませんでした。" + crLf + entry.consequence + crLf;
        p.services.prompter.Ask(
            Prompt{"ライブラリファイルチェック", text, PromptButtons::Ok, PromptIcon::Information});
    }
    p.log.WriteDebugLog(allFound ? "Result of System File Check : No Problem "
                                 : "Result of System File Check : A missing item ");
}

std::optional<std::string> ProgramFolderOrRefusal(Prompter& prompter,
                                                  std::string_view executableFolder,
                                                  std::string_view tempFolder)
{
    if (!IsInTempFolder(executableFolder, tempFolder))
        return ResolveProgramFolder(executableFolder);
    const std::string text = "テンポラリフォルダでは実行できません。\r\n"
                             "Zip圧縮ファイルは適切なフォルダに解凍してから実行して"
                             "ください。\r\n"
                             "あるいは Windows7 または Vista のＵＡＣが誤動作しています。";
    prompter.Ask(Prompt{"起動エラー", text, PromptButtons::Ok, PromptIcon::None});
    return std::nullopt;
}

} // namespace kesmaro
