#include "records/Documents.h"

#include "common/Paths.h"

#include <string>

namespace kesmaro {

namespace {

enum class Target { Document, Url };

void open(Context& ctx, Target target, std::string_view what, int waitMs)
{
    const bool isDocument = target == Target::Document;
    const std::string text(what);
    const bool present = isDocument ? FileExists(what) : !what.empty();
    if (!present) {
        const char* tail = isDocument ? "ファイルが見つかりません。" : "サイトが見つかりません。";
        ctx.services.prompter.Ask(
            Prompt{"実行エラー", GetFileName(what) + tail, PromptButtons::Ok, PromptIcon::None});
        ctx.log.WriteDebugLog("Execution File Not Find  " + text);
        return;
    }
    ctx.log.WriteDebugLog(
        (isDocument ? "Execution File Start ･･･  " : "Execution Url Start ･･･  ") + text);
    ctx.view.busyCursor(true);
    // The shell's own answer is not examined: the program it starts reports its own failures.
    if (isDocument)
        ctx.services.shell.OpenDocument(text);
    else
        ctx.services.shell.OpenUrl(text);
    ctx.services.scheduler.WaitMs(waitMs);
    ctx.view.busyCursor(false);
    ctx.log.WriteDebugLog(isDocument ? "Execution File Finish " : "Execution Url Finish ");
}

} // namespace

void OpenDocument(Context& ctx, std::string_view path, int waitMs)
{
    open(ctx, Target::Document, path, waitMs);
}

void OpenUrl(Context& ctx, std::string_view address, int waitMs)
{
    open(ctx, Target::Url, address, waitMs);
}

} // namespace kesmaro
