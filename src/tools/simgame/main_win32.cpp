// kesmaro-simgame for Windows: the same options as the Linux program; the live game is a Win32
// window whose numbers a script or a simulated player changes.

// clang-format off
#include <windows.h>
// clang-format on

#include "common/Utf8.h"
#include "tools/simgame/GameFrame.h"
#include "tools/simgame/GameScript.h"
#include "tools/simgame/PlayerSimulation.h"
#include "tools/simgame/SimGameArguments.h"
#include "tools/simgame/SimGameWindowWin32.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr UINT_PTR kScriptTimer = 1;
constexpr UINT_PTR kPlayTimer = 2;

void printError(const std::string& message)
{
    std::fprintf(stderr, "kesmaro-simgame: %s\n", message.c_str());
}

// Plays the script's steps at their times, measured from the start.
class ScriptPlayer {
public:
    ScriptPlayer(kesmaro::SimGameWindowWin32& window, kesmaro::GameScript script)
        : m_window(window), m_script(std::move(script)), m_startMs(GetTickCount64())
    {}

    void advance()
    {
        const auto now = static_cast<std::int64_t>(GetTickCount64() - m_startMs);
        while (m_next < m_script.steps.size() && m_script.steps[m_next].atMs <= now)
            m_window.showValues(
                kesmaro::ApplyScriptStep(m_window.frameSpec(), m_script.steps[m_next++]));
        HWND window = reinterpret_cast<HWND>(m_window.handle());
        if (m_next < m_script.steps.size())
            SetTimer(window, kScriptTimer,
                     static_cast<UINT>(std::clamp<std::int64_t>(m_script.steps[m_next].atMs - now,
                                                                1, 24LL * 3600 * 1000)),
                     nullptr);
        else
            KillTimer(window, kScriptTimer);
    }

private:
    kesmaro::SimGameWindowWin32& m_window;
    kesmaro::GameScript m_script;
    ULONGLONG m_startMs;
    std::size_t m_next = 0;
};

int live(const kesmaro::SimGameCommand& command)
{
    kesmaro::GameScript script;
    if (!command.script.empty()) {
        script = kesmaro::LoadGameScript(command.script);
        if (!script.error.empty()) {
            printError("--script " + script.error);
            return kExitUsage;
        }
        const std::string problem = kesmaro::CheckScriptFrames(script, command.frameSpec);
        if (!problem.empty()) {
            printError(problem);
            return kExitUsage;
        }
    }
    // Pixels must reach the screen one to one, whatever the display's scale.
    SetProcessDPIAware();

    kesmaro::SimGameWindowWin32 window(command.frameSpec, command.windowClass);
    if (!window.show()) {
        printError("cannot open a window of class '" + command.windowClass + "'");
        return kExitFailure;
    }
    HWND handle = reinterpret_cast<HWND>(window.handle());
    std::unique_ptr<ScriptPlayer> scriptPlayer;
    std::unique_ptr<kesmaro::PlayerSimulation> player;
    if (!script.steps.empty()) {
        scriptPlayer = std::make_unique<ScriptPlayer>(window, std::move(script));
        scriptPlayer->advance();
    }
    if (command.play) {
        player =
            std::make_unique<kesmaro::PlayerSimulation>(command.frameSpec, command.playOptions);
        SetTimer(handle, kPlayTimer, kesmaro::PlayerSimulation::kTickMs, nullptr);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == handle) {
            if (message.wParam == kScriptTimer && scriptPlayer)
                scriptPlayer->advance();
            else if (message.wParam == kPlayTimer && player && player->tick())
                window.showValues(player->frameSpec());
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(kesmaro::WideToUtf8(argv[i]));
    const kesmaro::SimGameCommand command = kesmaro::ParseSimGameArguments(arguments);
    if (!command.error.empty()) {
        printError(command.error);
        return kExitUsage;
    }
    switch (command.mode) {
    case kesmaro::SimGameCommand::Mode::Help:
        std::fputs(kesmaro::SimGameUsage().c_str(), stdout);
        return 0;
    case kesmaro::SimGameCommand::Mode::Render:
        if (!kesmaro::SaveFramePng(kesmaro::RenderGameFrame(command.frameSpec), command.output)) {
            printError("cannot write " + command.output);
            return kExitFailure;
        }
        return 0;
    case kesmaro::SimGameCommand::Mode::Live:
        return live(command);
    }
    return kExitUsage;
}
