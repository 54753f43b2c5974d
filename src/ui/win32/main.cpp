// kesmaro.exe: the Windows program. Builds the real services, starts the program and runs its
// windows until the main window closes.

// The game-window seam undefines windows.h's FindWindow: first, before GameWindows.h.
#include <windows.h>
// clang-format off
#include "platform/win32/Win32GameWindows.h"
// clang-format on

#include "app/CommandLine.h"
#include "app/EchoingPrompter.h"
#include "app/MainWindowLogic.h"
#include "app/SystemCheck.h"
#include "common/DebugLog.h"
#include "common/Paths.h"
#include "common/Utf8.h"
#include "platform/NullDevices.h"
#include "platform/SingleInstance.h"
#include "platform/win32/Win32ClockScheduler.h"
#include "platform/win32/Win32Devices.h"
#include "platform/win32/Win32MouseButtons.h"
#include "platform/win32/Win32SystemParts.h"
#include "records/Documents.h"
#include "state/Program.h"
#include "ui/win32/FormInputCheck.h"
#include "ui/win32/FormMain.h"
#include "ui/win32/Win32View.h"

// clang-format off
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Arguments()
{
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; words && i < count; ++i)
        arguments.push_back(kesmaro::WideToUtf8(words[i]));
    if (words)
        LocalFree(words);
    return arguments;
}

// The folder of this executable, without the trailing separator.
std::string ExecutableFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return kesmaro::WideToUtf8(slash == std::wstring::npos ? path : path.substr(0, slash));
}

// A second start is refused before it writes anything, so the running one keeps its debug log.
bool RefusedAsSecondInstance(kesmaro::Prompter& prompter, kesmaro::SingleInstance& lock)
{
    if (lock.tryAcquire() != kesmaro::SingleInstance::Result::AlreadyRunning)
        return false;
    prompter.Ask(kesmaro::Prompt{"エラー", "既にプログラムは起動しています。",
                                 kesmaro::PromptButtons::Ok, kesmaro::PromptIcon::None});
    return true;
}

// The modeless windows take their keyboard navigation from IsDialogMessage.
int RunMessageLoop(const kesmaro::Win32View& view)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND modeless = view.modelessWindow();
        if (modeless && IsDialogMessageW(modeless, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // Arguments first: --version and --help need no window. A GUI program has standard output
    // only when it was redirected (or under Wine, which passes the terminal's on).
    const kesmaro::CommandLineResult command = kesmaro::ParseCommandLine(Arguments());
    if (command.action != kesmaro::CommandLineAction::Run) {
        std::FILE* out = command.action == kesmaro::CommandLineAction::Print ? stdout : stderr;
        std::fwrite(command.text.data(), 1, command.text.size(), out);
        std::fflush(out);
        return command.exitStatus;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    kesmaro::Win32Clock clock;
    kesmaro::Win32Scheduler scheduler;
    // The source follows [Capture] Source once the settings are read.
    kesmaro::Win32GameWindows windows;
    kesmaro::Win32Prompter shownPrompter;
    // Until the main window is up, every box is also written to standard error.
    kesmaro::EchoingPrompter prompter(shownPrompter, std::cerr);
    kesmaro::Win32Shell shell;
    kesmaro::Win32Beeper beeper;
    // Read on this thread: batches come through the message loop below and the waits.
    kesmaro::Win32MouseButtons mouse(clock);
    kesmaro::Win32SystemInfo systemInfo;
    kesmaro::FormInputCheck numberInput(prompter);
    kesmaro::Services services{clock,  scheduler, windows,    prompter,   shell,
                               beeper, mouse,     systemInfo, numberInput};

    kesmaro::SingleInstance instance;
    if (RefusedAsSecondInstance(prompter, instance))
        return 0;
    const std::string executableFolder = ExecutableFolder();
    // Portable: the settings, debug.txt, log\ and ss\ live beside the executable.
    const std::optional<std::string> startFolder =
        kesmaro::ProgramFolderOrRefusal(prompter, executableFolder, kesmaro::Win32TempFolder());
    if (!startFolder)
        return 0;
    const std::string& programFolder = *startFolder;

    kesmaro::DebugLog log(programFolder, clock);
    kesmaro::Win32View view;
    kesmaro::Program program(services, log, view, programFolder);
    program.documentFolder = kesmaro::ResolveDocumentFolder(
        executableFolder, std::vector<std::string>{std::string(kesmaro::kQuickReferenceDocument),
                                                   std::string(kesmaro::kHowToUseDocument),
                                                   std::string(kesmaro::kReadMeDocument)});
    view.attach(program);
    bool ended = false;
    view.onEnded = [&] {
        ended = true;
        PostQuitMessage(0);
    };

    kesmaro::Main(program, [](kesmaro::Program& p) {
        kesmaro::CheckSystemFiles(p, kesmaro::ProbeSystemParts());
    });
    prompter.setEchoing(false);
    if (ended)
        return 0;
    return RunMessageLoop(view);
}
