#include "app/SystemCheck.h"

#include "common/Paths.h"
#include "config/CommonQt.h"
#include "platform/Prompter.h"
#include "state/Program.h"

namespace kesmaro {

const std::array<SystemPartEntry, kSystemPartCount>& SystemPartTable()
{
    static const QString general = QStringLiteral("正常に動作しない可能性があります。");
    static const std::array<SystemPartEntry, kSystemPartCount> table{{
        {QStringLiteral("XInputExtension"),
         QStringLiteral("マウスジェスチャ機能が利用できない可能性があります。")},
        {QStringLiteral("MIT-SHM"), general},
        {QStringLiteral("PulseAudio"), general},
        {QStringLiteral("Japanese font"), general},
        {QStringLiteral("xdg-open"), general},
    }};
    return table;
}

void CheckSystemFiles(Program& p, const SystemPartsFound& found)
{
    const QString crLf = QStringLiteral("\r\n");
    bool allFound = true;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i])
            continue;
        allFound = false;
        const SystemPartEntry& entry = SystemPartTable()[i];
        p.log.WriteDebugLog(
            (QStringLiteral("System File of ") + entry.name + QStringLiteral(" is Not Find "))
                .toStdString());
        const QString text = entry.name + QStringLiteral(" ファイルが見つかりませんでした。") +
                             crLf + entry.consequence + crLf;
        p.services.prompter.Ask(Prompt{QStringLiteral("ライブラリファイルチェック").toStdString(),
                                       text.toStdString(), PromptButtons::Ok,
                                       PromptIcon::Information});
    }
    p.log.WriteDebugLog((allFound ? QStringLiteral("Result of System File Check : No Problem ")
                                  : QStringLiteral("Result of System File Check : A missing item "))
                            .toStdString());
}

std::optional<QString> ProgramFolderOrRefusal(Prompter& prompter, const QString& executableFolder,
                                              const QString& tempFolder)
{
    if (!IsInTempFolder(executableFolder.toStdString(), tempFolder.toStdString()))
        return QString::fromStdString(ResolveProgramFolder(executableFolder.toStdString()));
    const QString text =
        QStringLiteral("テンポラリフォルダでは実行できません。\r\n"
                       "Zip圧縮ファイルは適切なフォルダに解凍してから実行して"
                       "ください。\r\n"
                       "あるいは Windows7 または Vista のＵＡＣが誤動作しています。");
    prompter.Ask(Prompt{QStringLiteral("起動エラー").toStdString(), text.toStdString(),
                        PromptButtons::Ok, PromptIcon::None});
    return std::nullopt;
}

} // namespace kesmaro
