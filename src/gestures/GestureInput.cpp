#include "gestures/GestureInput.h"

#include "common/DateTime.h"
#include "common/DebugLog.h"
#include "common/Trap.h"
#include "records/Beep.h"
#include "records/Suspend.h"
#include "state/Program.h"

#include <algorithm>

namespace kesmaro {

namespace {

// The codes are ASCII: these lengths count bytes and characters alike.
constexpr std::size_t kHistoryLength = 20;
constexpr std::size_t kCheckedLength = 16;
constexpr int kGroupGapMs = 500;
constexpr int kQuickPairMs = 50;
constexpr int kSlowPairMs = 100;
// Batches held back during one command; a longer stream of clicks keeps the newest, which are
// the ones a gesture can still be made of.
constexpr std::size_t kMaxQueued = 16;

constexpr std::array kTable{
    GestureRow{GestureCommand::Suspend,
               "LdLuRdRuLdLuLdLu",
               {1, 2, 1, 1},
               "マウスジェスチャ：時給測定一時停止"},
    GestureRow{GestureCommand::Resume,
               "LdLuRdRuLdLuRdRu",
               {1, 2, 1, 2},
               "マウスジェスチャ：時給測定一時停止 解除"},
    GestureRow{GestureCommand::WatchOn,
               "RdRuLdLuLdLuLdLu",
               {2, 1, 1, 1},
               "マウスジェスチャ：自動撮影 監視開始"},
    GestureRow{GestureCommand::WatchOff,
               "RdRuLdLuLdLuRdRu",
               {2, 1, 1, 2},
               "マウスジェスチャ：自動撮影 監視終了"},
    GestureRow{GestureCommand::CaptureReset,
               "RdRuRdRuRdRuRdRu",
               {2, 2, 2, 2},
               "マウスジェスチャ：時給サイクルタイマリセット"},
};
constexpr GestureRow kPrintScreen{
    GestureCommand::PrintScreen, "", {3, 3, 0, 0}, "マウスジェスチャ：プリントスクリーン"};
constexpr std::array<std::string_view, 4> kPressChords{"LdRdLuRu", "RdLdLuRu", "LdRdRuLu",
                                                       "RdLdRuLu"};
constexpr std::array<std::string_view, 4> kReleasePressChords{"LuRuLdRd", "RuLuLdRd", "LuRuRdLd",
                                                              "RuLuRdLd"};

bool containsAny(std::string_view history, std::span<const std::string_view> chords)
{
    return std::any_of(chords.begin(), chords.end(), [&](std::string_view chord) {
        return history.find(chord) != std::string_view::npos;
    });
}

// The text log still takes Qt text.
void appendLine(Program& p, std::string_view line)
{
    p.txtLog.AppendToTextBox(std::string(line) + "\r\n");
}

void setWatch(Program& p, bool on)
{
    if (p.settings.DoHLCheckExec == on)
        return;
    p.settings.DoHLCheckExec = on;
    if (p.timers.timDoHLInterval)
        p.timers.timDoHLInterval->setEnabled(on);
}

// The action of a sequence gesture, taken only where the state allows it.
void act(Program& p, GestureCommand command, const GestureOperations& operations)
{
    switch (command) {
    case GestureCommand::Suspend:
        if (!p.flags.SuspendMode)
            ChangeSuspend(p, 0);
        break;
    case GestureCommand::Resume:
        if (p.flags.SuspendMode)
            ChangeSuspend(p, 0);
        break;
    case GestureCommand::WatchOn:
        setWatch(p, true);
        break;
    case GestureCommand::WatchOff:
        setWatch(p, false);
        break;
    case GestureCommand::CaptureReset:
        if (!p.LogStartStamp.empty() && operations.captureImage)
            operations.captureImage(p);
        break;
    case GestureCommand::PrintScreen:
        break;
    }
}

void printScreen(Program& p, const GestureOperations& operations)
{
    const std::string folder =
        operations.screenshotFolder ? operations.screenshotFolder(p) : std::string();
    const std::string base =
        folder + "PrtScr" + DateTime(p.services.clock.Now()).format("_yyyyMMddhhmmss");
    if (operations.saveScreenshot)
        operations.saveScreenshot(p, base, p.settings.SaveFormat);
}

void playRow(Program& p, const GestureRow& row)
{
    PlayBeepPattern(p, row.rhythm[0], row.rhythm[1], row.rhythm[2], row.rhythm[3]);
}

// One batch through the history and the table.
void handle(Program& p, const GestureBatch& batch, const GestureOperations& operations)
{
    GestureState& g = p.gestures;
    // A batch after a pause starts afresh, and may alone be longer than the history.
    const bool goesOn = batch.tickMs < g.GestureLastTime + p.settings.GestureTime;
    std::string history = (goesOn ? g.GestureHistory : std::string()) + batch.codes;
    if (history.size() > kHistoryLength)
        history.erase(0, history.size() - kHistoryLength);
    g.GestureHistory = std::move(history);
    g.GestureLastTime = batch.tickMs;
    if (g.GestureHistory.size() < kCheckedLength)
        return;

    for (const GestureRow& row : kTable) {
        if (g.GestureHistory.find(row.codes) == std::string::npos)
            continue;
        g.GestureHistory.clear();
        act(p, row.command, operations);
        playRow(p, row);
        appendLine(p, row.line);
        return;
    }
    if (containsAny(g.GestureHistory, kPressChords) &&
        containsAny(g.GestureHistory, kReleasePressChords)) {
        g.GestureHistory.clear();
        printScreen(p, operations);
        playRow(p, kPrintScreen);
        p.log.WriteDebugLog("OnLine Print Screen ･･･ End ");
        appendLine(p, kPrintScreen.line);
    }
}

// Clears the handling mark however the commands end.
struct HandlingScope {
    explicit HandlingScope(GestureState& g) : state(g) { state.handling = true; }
    ~HandlingScope() { state.handling = false; }
    HandlingScope(const HandlingScope&) = delete;
    HandlingScope& operator=(const HandlingScope&) = delete;
    GestureState& state;
};

} // namespace

std::span<const GestureRow> GestureTable()
{
    return kTable;
}

std::span<const std::string_view> PressChords()
{
    return kPressChords;
}

std::span<const std::string_view> ReleasePressChords()
{
    return kReleasePressChords;
}

const GestureRow& PrintScreenGesture()
{
    return kPrintScreen;
}

std::string GestureCodes(const std::vector<MouseButtonEvent>& events)
{
    std::string codes;
    codes.reserve(events.size() * 2);
    for (const MouseButtonEvent& e : events) {
        codes += e.button == MouseButton::Left ? 'L' : 'R';
        codes += e.pressed ? 'd' : 'u';
    }
    return codes;
}

void FormDirectX_Load(Program& p, GestureOperations operations)
{
    GestureState& g = p.gestures;
    if (g.loaded)
        return;
    g.loaded = true;
    const std::uint32_t eventId = ++g.eventId;
    p.log.WriteDebugLog("DirectX Loding ･･･ ");
    const MouseStart started =
        p.services.mouse.Start([&p, eventId, operations = std::move(operations)](
                                   const std::vector<MouseButtonEvent>& batch) {
            DirectXEvent8_DXCallback(p, eventId, batch, operations);
        });
    const auto tell = [&p](std::string_view logLine, std::string_view text) {
        p.log.WriteDebugLog(logLine);
        p.services.prompter.Ask(
            Prompt{kProgramTitle, std::string(text), PromptButtons::Ok, PromptIcon::None});
    };
    switch (started) {
    case MouseStart::Started:
        g.listening = true;
        p.log.WriteDebugLog("Mouse Events Acquire ･･･ Successfull ");
        break;
    case MouseStart::NoInputSystem:
        tell("It was mistake to Create DirectInput Object ",
             "DirectInputオブジェクトが生成できません。");
        break;
    case MouseStart::NoPointerDevice:
        tell("It was mistake to Create DirectInputDevice Object ",
             "Mouse用DirectInputDeviceオブジェクトが生成できません。");
        break;
    }
}

void FormDirectX_Unload(Program& p)
{
    GestureState& g = p.gestures;
    if (!g.loaded)
        return;
    if (g.listening) {
        p.services.mouse.Stop();
        g.listening = false;
        p.log.WriteDebugLog("Mouse Events UnAcquire ");
    }
    g.queued.clear();
    g.loaded = false;
    p.log.WriteDebugLog("DirectX UnLoding ･･･ End ");
}

void DirectXEvent8_DXCallback(Program& p, std::uint32_t eventId,
                              const std::vector<MouseButtonEvent>& batch,
                              const GestureOperations& operations)
{
    GestureState& g = p.gestures;
    if (eventId != g.eventId || !g.listening)
        return;
    GestureBatch next{GestureCodes(batch), p.services.clock.TickMs()};
    if (next.codes.empty())
        return;
    g.queued.push_back(std::move(next));
    if (g.queued.size() > kMaxQueued)
        g.queued.pop_front();
    // A command or rhythm is running further up this stack (inside one of its waits): the
    // batch is handled when it has ended, never on top of it.
    if (g.handling)
        return;
    const HandlingScope scope(g);
    Trap run(p.log, "DirectXEvent8_DXCallback");
    while (!g.queued.empty() && g.listening && !p.flags.ProgramClosing) {
        const GestureBatch batchNow = std::move(g.queued.front());
        g.queued.pop_front();
        run([&] { handle(p, batchNow, operations); });
    }
}

void PlayBeepPattern(Program& p, int a, int b, int c, int d)
{
    const int mode = p.settings.BeepMode;
    if (mode == 0 || a == 0)
        return;
    Scheduler& scheduler = p.services.scheduler;
    const std::array groups{a, b, c, d};
    for (std::size_t i = 0; i < groups.size() && groups[i] != 0; ++i) {
        if (i > 0)
            scheduler.WaitMs(kGroupGapMs);
        // The program is going away: the rest of the rhythm would only delay its end.
        if (p.flags.ProgramClosing)
            return;
        PlayBeep(p.services.beeper, mode);
        if (groups[i] >= 2) {
            scheduler.WaitMs(groups[i] == 2 ? kQuickPairMs : kSlowPairMs);
            PlayBeep(p.services.beeper, mode);
        }
    }
}

} // namespace kesmaro
