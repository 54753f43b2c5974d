#include "config/ConfigFile.h"

#include "common/DebugLog.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/TextFile.h"
#include "common/Utf8.h"
#include "config/Defaults.h"
#include "platform/Prompter.h"

#include <optional>

namespace kesmaro {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCurrentVersion = "Ver.2.30";

PromptAnswer ask(Prompter& prompter, std::string title, std::string text, PromptButtons buttons)
{
    return prompter.Ask(Prompt{std::move(title), std::move(text), buttons, PromptIcon::None});
}

ConfigReadResult readSettings(ConfigContext& ctx, std::optional<TextLineReader>& reader,
                              ConfigLayout layout, Trap& trap)
{
    Settings& s = ctx.settings;
    if (!reader)
        return ConfigReadResult::Failed;
    const std::string candidate = ReadSettingsLines(s, *reader, layout, trap);
    if (trap.failed())
        return ConfigReadResult::Failed;

    ConfigReadResult result = ConfigReadResult::Done;
    if (Utf8Length(candidate) >= 5 && candidate != s.SearchWindowClass) {
        const PromptAnswer answer =
            ask(ctx.prompter, "ターゲット変更選択",
                "ターゲットは " + candidate + " でよろしいいですか？" + std::string(kCrLf) +
                    "「いいえ」のときは[" + s.SearchWindowClass + ']',
                PromptButtons::YesNo);
        if (answer == PromptAnswer::Yes) {
            s.SearchWindowClass = candidate;
            ctx.log.WriteDebugLog("Target Change : " + candidate);
        }
        result = ConfigReadResult::Asked;
    }
    ctx.log.WriteDebugLog("Target Change : " + s.SearchWindowClass);
    return result;
}

std::string readerName(ConfigLayout layout)
{
    return layout == ConfigLayout::V230 ? "ConfigFileReadV230" : "ConfigFileReadV220";
}

ConfigReadResult readFile(ConfigContext& ctx, const std::string& path, ConfigLayout layout)
{
    Trap trap(ctx.log, readerName(layout));
    std::optional<TextLineReader> reader;
    trap([&] { reader.emplace(path); });
    return readSettings(ctx, reader, layout, trap);
}

void copyReplacing(const std::string& from, const std::string& to)
{
    if (const int error = ReplaceFileAtomic(PathFromUtf8(to), ReadFileBytes(from)))
        Raise(error);
}

} // namespace

std::string ConfigFilePath(std::string_view programFolder)
{
    return JoinPath(programFolder, "KM2DConfig.ini");
}

std::string ConfigBackupPath(std::string_view programFolder)
{
    return JoinPath(programFolder, "KM2DConfigBack.ini");
}

std::string ConfigFileVersion(std::string_view firstLine)
{
    const std::size_t at = firstLine.find("Ver.");
    return at == std::string_view::npos ? std::string()
                                        : std::string(Utf8Left(firstLine.substr(at), 8));
}

ConfigReadResult ConfigFileReadV230(ConfigContext& ctx, const std::string& path)
{
    return readFile(ctx, path, ConfigLayout::V230);
}

ConfigReadResult ConfigFileReadV220(ConfigContext& ctx, const std::string& path)
{
    return readFile(ctx, path, ConfigLayout::V220);
}

ConfigReadResult ReadConfigBytes(ConfigContext& ctx, std::string_view bytes, ConfigLayout layout)
{
    Trap trap(ctx.log, readerName(layout));
    std::optional<TextLineReader> reader;
    trap([&] { reader.emplace(TextLineReader::FromBytes(std::string(bytes))); });
    return readSettings(ctx, reader, layout, trap);
}

ConfigMode ConfigFile(ConfigContext& ctx, ConfigMode mode)
{
    Settings& s = ctx.settings;
    const std::string file = ConfigFilePath(ctx.programFolder);
    const std::string backup = ConfigBackupPath(ctx.programFolder);
    const std::string readTitle = "設定ファイル読込み";
    const std::string crlf(kCrLf);
    // The user's previous file is replaced only once it is safe in the backup file.
    bool keepFile = false;

    if (mode == ConfigMode::Read) {
        if (!FileExists(file)) {
            mode = ConfigMode::Reset;
        } else {
            Trap trap(ctx.log, "ConfigFile");
            // A file whose title cannot be read is left to the reader, which reports it.
            std::string version;
            Trap quiet(TrapPolicy::Silent);
            quiet([&] { version = ConfigFileVersion(TextLineReader(file).readLine()); });
            auto saveBackup = [&] { keepFile = !trap([&] { copyReplacing(file, backup); }); };

            ConfigReadResult r;
            if (version == kCurrentVersion) {
                r = ConfigFileReadV230(ctx, file);
                if (r == ConfigReadResult::Asked)
                    mode = ConfigMode::Write;
            } else {
                r = ConfigFileReadV220(ctx, file);
                if (r != ConfigReadResult::Failed) {
                    ask(ctx.prompter, readTitle,
                        std::string("古い設定ファイルを読み込みました。") + crlf +
                            "　　新しい項目を追加した設定ファイルを再作成します。" + crlf +
                            "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。" + crlf,
                        PromptButtons::Ok);
                    saveBackup();
                    mode = ConfigMode::Colour;
                }
            }
            if (r == ConfigReadResult::Failed) {
                ask(ctx.prompter, readTitle,
                    std::string("読込みできない設定ファイルです。") + crlf +
                        "　　初期値で設定ファイルを再作成します。" + crlf +
                        "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。" + crlf,
                    PromptButtons::Ok);
                saveBackup();
                mode = ConfigMode::Reset;
            } else if (!FileExists(s.SaveFolder)) {
                s.SaveFolder = DefaultSaveFolder(ctx.programFolder);
                ask(ctx.prompter, readTitle,
                    std::string("時給記録フォルダが不正のため") + crlf +
                        "デフォルトフォルダに変更しました。",
                    PromptButtons::Ok);
                if (mode != ConfigMode::Colour)
                    mode = ConfigMode::Write;
            }
        }
    }
    if (mode == ConfigMode::Reset) {
        ApplyDefaults(s, ctx.programFolder);
        mode = ConfigMode::ScreenMode;
    }
    if (mode == ConfigMode::ScreenMode) {
        AskScreenMode(s, ctx.prompter);
        mode = ConfigMode::Colour;
    }
    if (mode == ConfigMode::Colour) {
        SelectGlyphColour(s, ctx.prompter, ctx.log);
        mode = ConfigMode::Write;
    }
    if (mode == ConfigMode::Write) {
        Trap trap(ctx.log, "ConfigFile 2");
        const bool saved = !keepFile && trap([&] {
            std::vector<std::string> lines = ConfigFileLines(s);
            lines.emplace_back();
            WriteTextLinesAtomic(file, lines);
        });
        if (!saved)
            ask(ctx.prompter, "設定ファイル書き込み", "設定をファイルに保存できませんでした。",
                PromptButtons::Ok);
    }
    return mode;
}

} // namespace kesmaro
