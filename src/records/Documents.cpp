#include "records/Documents.h"

#include "common/Paths.h"
#include "config/CommonQt.h"

namespace kesmaro {

const QString kQuickReferenceDocument = QStringLiteral("とりあえず始めよう.html");
const QString kHowToUseDocument = QStringLiteral("使用方法D.html");
const QString kReadMeDocument = QStringLiteral("ReadMeD.txt");

namespace {

enum class Target { Document, Url };

void open(Context& ctx, Target target, const QString& what, int waitMs)
{
    const bool isDocument = target == Target::Document;
    const bool present = isDocument ? FileExists(what) : !what.isEmpty();
    if (!present) {
        const QString tail = isDocument ? QStringLiteral("ファイルが見つかりません。")
                                        : QStringLiteral("サイトが見つかりません。");
        ctx.services.prompter.Ask(Prompt{QStringLiteral("実行エラー").toStdString(),
                                         (GetFileName(what) + tail).toStdString(),
                                         PromptButtons::Ok, PromptIcon::None});
        ctx.log.WriteDebugLog("Execution File Not Find  " + what.toStdString());
        return;
    }
    ctx.log.WriteDebugLog(
        (isDocument ? "Execution File Start ･･･  " : "Execution Url Start ･･･  ") +
        what.toStdString());
    ctx.view.busyCursor(true);
    // The shell's own answer is not examined: the program it starts reports its own failures.
    if (isDocument)
        ctx.services.shell.OpenDocument(what.toStdString());
    else
        ctx.services.shell.OpenUrl(what.toStdString());
    ctx.services.scheduler.WaitMs(waitMs);
    ctx.view.busyCursor(false);
    ctx.log.WriteDebugLog(isDocument ? "Execution File Finish " : "Execution Url Finish ");
}

} // namespace

void OpenDocument(Context& ctx, const QString& path, int waitMs)
{
    open(ctx, Target::Document, path, waitMs);
}

void OpenUrl(Context& ctx, const QString& address, int waitMs)
{
    open(ctx, Target::Url, address, waitMs);
}

} // namespace kesmaro
