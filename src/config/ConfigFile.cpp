#include "config/ConfigFile.h"

#include "common/DebugLog.h"
#include "common/Paths.h"
#include "common/TextFile.h"
#include "config/CommonQt.h"
#include "config/Defaults.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QSaveFile>
#include <cerrno>
#include <optional>

namespace kesmaro {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCurrentVersion = QStringLiteral("Ver.2.30");

PromptAnswer ask(Prompter& prompter, const QString& title, const QString& text,
                 PromptButtons buttons)
{
    return prompter.Ask(Prompt{title.toStdString(), text.toStdString(), buttons, PromptIcon::None});
}

ConfigReadResult readSettings(ConfigContext& ctx, std::optional<TextLineReader>& reader,
                              ConfigLayout layout, Trap& trap)
{
    Settings& s = ctx.settings;
    if (!reader)
        return ConfigReadResult::Failed;
    const QString candidate = ReadSettingsLines(s, *reader, layout, trap);
    if (trap.failed())
        return ConfigReadResult::Failed;

    ConfigReadResult result = ConfigReadResult::Done;
    if (candidate.size() >= 5 && candidate != s.SearchWindowClass) {
        const PromptAnswer answer =
            ask(ctx.prompter, QStringLiteral("ターゲット変更選択"),
                QStringLiteral("ターゲットは ") + candidate +
                    QStringLiteral(" でよろしいいですか？") + kCrLf +
                    QStringLiteral("「いいえ」のときは[") + s.SearchWindowClass + QLatin1Char(']'),
                PromptButtons::YesNo);
        if (answer == PromptAnswer::Yes) {
            s.SearchWindowClass = candidate;
            ctx.log.WriteDebugLog("Target Change : " + candidate.toStdString());
        }
        result = ConfigReadResult::Asked;
    }
    ctx.log.WriteDebugLog("Target Change : " + s.SearchWindowClass.toStdString());
    return result;
}

std::string readerName(ConfigLayout layout)
{
    return layout == ConfigLayout::V230 ? "ConfigFileReadV230" : "ConfigFileReadV220";
}

ConfigReadResult readFile(ConfigContext& ctx, const QString& path, ConfigLayout layout)
{
    Trap trap(ctx.log, readerName(layout));
    std::optional<TextLineReader> reader;
    trap([&] { reader.emplace(path.toStdString()); });
    return readSettings(ctx, reader, layout, trap);
}

void copyReplacing(const QString& from, const QString& to)
{
    const QByteArray bytes = QByteArray::fromStdString(ReadFileBytes(from.toStdString()));
    QSaveFile file(to);
    // Unbuffered, so that a short write is seen instead of committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Raise(ErrPathFileAccess);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const bool full = errno == ENOSPC;
        file.cancelWriting();
        Raise(full ? ErrDiskFull : ErrPathFileAccess);
    }
    if (!file.commit())
        Raise(ErrPathFileAccess);
}

} // namespace

QString ConfigFilePath(const QString& programFolder)
{
    return JoinPath(programFolder, QStringLiteral("KM2DConfig") + QStringLiteral(".ini"));
}

QString ConfigBackupPath(const QString& programFolder)
{
    return JoinPath(programFolder, QStringLiteral("KM2DConfig") + QStringLiteral("Back.ini"));
}

QString ConfigFileVersion(const QString& firstLine)
{
    const qsizetype at = firstLine.indexOf(QLatin1String("Ver."));
    return at < 0 ? QString() : firstLine.mid(at, 8);
}

ConfigReadResult ConfigFileReadV230(ConfigContext& ctx, const QString& path)
{
    return readFile(ctx, path, ConfigLayout::V230);
}

ConfigReadResult ConfigFileReadV220(ConfigContext& ctx, const QString& path)
{
    return readFile(ctx, path, ConfigLayout::V220);
}

ConfigReadResult ReadConfigBytes(ConfigContext& ctx, const QByteArray& bytes, ConfigLayout layout)
{
    Trap trap(ctx.log, readerName(layout));
    std::optional<TextLineReader> reader;
    trap([&] { reader.emplace(TextLineReader::FromBytes(bytes.toStdString())); });
    return readSettings(ctx, reader, layout, trap);
}

ConfigMode ConfigFile(ConfigContext& ctx, ConfigMode mode)
{
    Settings& s = ctx.settings;
    const QString file = ConfigFilePath(ctx.programFolder);
    const QString backup = ConfigBackupPath(ctx.programFolder);
    const QString readTitle = QStringLiteral("設定ファイル読込み");
    // The user's previous file is replaced only once it is safe in the backup file.
    bool keepFile = false;

    if (mode == ConfigMode::Read) {
        if (!FileExists(file)) {
            mode = ConfigMode::Reset;
        } else {
            Trap trap(ctx.log, "ConfigFile");
            // A file whose title cannot be read is left to the reader, which reports it.
            QString version;
            Trap quiet(TrapPolicy::Silent);
            quiet([&] {
                version = ConfigFileVersion(
                    QString::fromStdString(TextLineReader(file.toStdString()).readLine()));
            });
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
                        QStringLiteral("古い設定ファイルを読み込みました。") + kCrLf +
                            QStringLiteral("　　新しい項目を追加した設定ファイルを再作成します。") +
                            kCrLf +
                            QStringLiteral(
                                "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。") +
                            kCrLf,
                        PromptButtons::Ok);
                    saveBackup();
                    mode = ConfigMode::Colour;
                }
            }
            if (r == ConfigReadResult::Failed) {
                ask(ctx.prompter, readTitle,
                    QStringLiteral("読込みできない設定ファイルです。") + kCrLf +
                        QStringLiteral("　　初期値で設定ファイルを再作成します。") + kCrLf +
                        QStringLiteral(
                            "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。") +
                        kCrLf,
                    PromptButtons::Ok);
                saveBackup();
                mode = ConfigMode::Reset;
            } else if (!FileExists(s.SaveFolder)) {
                s.SaveFolder = DefaultSaveFolder(ctx.programFolder);
                ask(ctx.prompter, readTitle,
                    QStringLiteral("時給記録フォルダが不正のため") + kCrLf +
                        QStringLiteral("デフォルトフォルダに変更しました。"),
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
            WriteTextLinesAtomic(file.toStdString(), ToStdStrings(ConfigFileLines(s) << QString()));
        });
        if (!saved)
            ask(ctx.prompter, QStringLiteral("設定ファイル書き込み"),
                QStringLiteral("設定をファイルに保存できませんでした。"), PromptButtons::Ok);
    }
    return mode;
}

} // namespace kesmaro
