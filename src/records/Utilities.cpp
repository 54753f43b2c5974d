#include "records/Utilities.h"

#include "common/Paths.h"

#include <QTime>
#include <algorithm>
#include <climits>

namespace kesmaro {

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
                                         PromptButtons::Ok, PromptIcon::Critical});
        ctx.log.WriteDebugLog(QStringLiteral("Execution File Not Find  ") + what);
        return;
    }
    ctx.log.WriteDebugLog((isDocument ? QStringLiteral("Execution File Start ･･･  ")
                                      : QStringLiteral("Execution Url Start ･･･  ")) +
                          what);
    ctx.view.busyCursor(true);
    // The shell's own answer is not examined: the program it starts reports its own failures.
    if (isDocument)
        ctx.services.shell.OpenDocument(what.toStdString());
    else
        ctx.services.shell.OpenUrl(what.toStdString());
    ctx.services.scheduler.WaitMs(waitMs);
    ctx.view.busyCursor(false);
    ctx.log.WriteDebugLog(isDocument ? QStringLiteral("Execution File Finish ")
                                     : QStringLiteral("Execution Url Finish "));
}

} // namespace

void WaitSeconds(Scheduler& scheduler, std::int32_t seconds)
{
    const std::int64_t ms = std::int64_t{seconds} * 1000;
    scheduler.WaitMs(static_cast<int>(std::clamp<std::int64_t>(ms, INT_MIN, INT_MAX)));
}

void OpenDocument(Context& ctx, const QString& path, int waitMs)
{
    open(ctx, Target::Document, path, waitMs);
}

void OpenUrl(Context& ctx, const QString& address, int waitMs)
{
    open(ctx, Target::Url, address, waitMs);
}

void PlayBeep(Beeper& beeper, int beepMode)
{
    switch (beepMode) {
    case 1:
        beeper.SystemBeep();
        break;
    case 2:
        beeper.Tone(500, 75);
        break;
    case 3:
        beeper.Tone(2000, 75);
        break;
    case 4:
        beeper.Tone(500, 200);
        break;
    case 5:
        beeper.Tone(2000, 200);
        break;
    default:
        break;
    }
}

void RandomizeSeed(Context& ctx)
{
    const QTime time = ToQDateTime(ctx.services.clock.Now()).time();
    const double secondsSinceMidnight = time.msecsSinceStartOfDay() / 1000.0;
    ctx.random.RandomizeSeed(static_cast<double>(ctx.services.clock.TickMs()),
                             secondsSinceMidnight);
}

void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, const QString& message,
               const QString& caption, int fontSize)
{
    popup.caption = caption.isEmpty() ? QStringLiteral("メッセージ ") : caption;
    popup.fontSize = fontSize;
    popup.message = message;
    flags.PopupShown = true;
    view.popupChanged();
}

void HidePopup(RuntimeFlags& flags, ProgramView& view)
{
    flags.PopupShown = false;
    view.popupChanged();
}

} // namespace kesmaro
