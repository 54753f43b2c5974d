// bench_win32: figures of the Windows program's parts, for running under Wine beside the Linux
// benchmarks (no Google Benchmark for mingw-w64 here: medians of timed repetitions instead).
//   bench_win32 tick <kesmaro-simgame.exe>   one capture tick against the live simulated game:
//                                            find + foreground + grab + read of three regions
//   bench_win32 memory [SAMPLES]             the working set of the real main window driven
//                                            through SAMPLES captures on the simulated clock

#include <windows.h>
// clang-format off
#include <psapi.h>
// Undefines windows.h's FindWindow: before anything that declares the game-window seam.
#include "platform/win32/Win32GameWindows.h"
// clang-format on

#include "ProgramHarness.h"
#include "app/Command.h"
#include "app/MainWindowLogic.h"
#include "common/Utf8.h"
#include "config/Defaults.h"
#include "measurement/CaptureCycle.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "recognition/Recognition.h"
#include "state/Program.h"
#include "tools/simgame/GameFrame.h"
#include "ui/win32/FormMain.h"
#include "ui/win32/Win32View.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

constexpr int kLevel = 87;
constexpr std::int64_t kCoins = 98765432;

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::size_t workingSetKiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return 0;
    return counters.WorkingSetSize / 1024;
}

std::string read(Program& p, WindowId game, int category)
{
    const auto c = static_cast<std::size_t>(category);
    const Settings& s = p.settings;
    CaptureColumnText(p, game, s.CaptureArea[c], category, s.BinaryThreshold[c], s.BinaryMask[c]);
    return RecognizeNumber(p, category);
}

int tick(const std::wstring& simgame)
{
    std::wstring command = L"\"" + simgame + L"\" --level " + std::to_wstring(kLevel) +
                           L" --exp 45.09 --coins " + std::to_wstring(kCoins);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION game{};
    if (!CreateProcessW(simgame.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &game)) {
        std::fprintf(stderr, "cannot start the simulated game\n");
        return 1;
    }
    Win32GameWindows windows;
    test::ProgramHarness harness(
        test::ProgramOptions{.start = test::At(2024, 5, 1, 0), .gameWindows = &windows});
    Program& p = harness.p;
    p.settings = FrameSettings(GameFrameSpec{});
    p.settings.LagCancelTime = 0;
    p.settings.SearchWindowClass = kDefaultWindowClass;
    const std::string want[] = {std::to_string(kLevel), "4509", std::to_string(kCoins)};
    WindowId id = kNoWindow;
    bool ready = false;
    for (int attempt = 0; attempt < 600 && !ready; ++attempt) {
        Sleep(100);
        id = windows.FindWindow(p.settings.SearchWindowClass);
        if (id == kNoWindow)
            continue;
        SetForegroundWindow(reinterpret_cast<HWND>(id));
        ready = true;
        for (int c = 0; c < kCategoryCount; ++c)
            ready = ready && read(p, id, c) == want[c];
    }
    if (!ready) {
        std::fprintf(stderr,
                     "the game's values could not be read (window %s:", id ? "found" : "missing");
        for (int c = 0; c < kCategoryCount && id; ++c)
            std::fprintf(stderr, " \"%s\"", read(p, id, c).c_str());
        std::fprintf(stderr, ")\n");
        TerminateProcess(game.hProcess, 1);
        return 1;
    }
    // As the capture cycle reads: every region the tick may read grabbed from one device
    // context, then level, Exp and coins read from the grabs.
    const auto once = [&] {
        const WindowId found = windows.FindWindow(p.settings.SearchWindowClass);
        if (windows.ForegroundWindow() != found)
            return false;
        const RegionBatch batch(p, found, {AreaLevel, AreaExp, AreaMoney, AreaMoneySecond});
        CaptureAreaColumnText(p, found, AreaLevel, CategoryLevel);
        const std::int32_t level = LevelFromText(RecognizeNumber(p, CategoryLevel));
        const Currency exp = ReadExpArea(p, found);
        CaptureAreaColumnText(p, found, AreaMoney, CategoryMoney);
        const Currency coins = AmountFromText(RecognizeNumber(p, CategoryMoney));
        return level == kLevel && exp == Currency::FromInteger(4509) &&
               coins == Currency::FromInteger(kCoins);
    };
    const auto findOnly = [&] {
        return windows.ForegroundWindow() == windows.FindWindow(p.settings.SearchWindowClass);
    };
    bool allRight = true;
    const auto measure = [&](const char* what, const auto& step) {
        constexpr int kRuns = 9;
        constexpr int kTicks = 200;
        std::vector<double> micros;
        for (int run = 0; run < kRuns; ++run) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < kTicks; ++i)
                allRight = step() && allRight;
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            micros.push_back(took.count() / kTicks);
        }
        std::sort(micros.begin(), micros.end());
        std::printf("%s: median %.1f us, min %.1f, max %.1f over %d runs of %d\n", what,
                    micros[kRuns / 2], micros.front(), micros.back(), kRuns, kTicks);
    };
    measure("find + foreground", findOnly);
    measure("capture tick, window source (find + foreground + grab + read of three regions)", once);
    windows.SetCaptureSource(CaptureSource::Screen);
    measure("capture tick, screen source", once);
    TerminateProcess(game.hProcess, 0);
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
    if (!allRight)
        std::printf("SOME READINGS WERE WRONG\n");
    return allRight ? 0 : 1;
}

int memory(int samples)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("kesmaro-bench-" + std::to_string(GetTickCount64()));
    std::filesystem::create_directories(dir);
    const std::string folder = PathToUtf8(dir);
    SimGameWindows windows;
    SimServices sim(std::chrono::local_days(std::chrono::year(2024) / 5 / 1), 3600 * 1000,
                    &windows);
    DebugLog log(folder, sim.clock);
    Win32View view;
    Program p(sim.services, log, view, folder);
    Settings& s = p.settings;
    s.SearchWindowClass = kDefaultWindowClass;
    ApplyDefaults(s, folder);
    SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
    LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
    s.StartDelay = 0;
    s.AutoStart = false;
    s.CaptureInterval = 1;
    s.GraphEnabled = true;
    view.attach(p);
    FormMain_Load(p);
    pump();

    GameFrameSpec shown;
    shown.level = 35;
    shown.expPercent = 12.34;
    shown.coins = 1000;
    const PixelBuffer background = RenderGameBackground(shown);
    const auto frame = [&] {
        PixelBuffer f = background;
        DrawHudValues(f, shown);
        return f;
    };
    const WindowId game = windows.addWindow(kDefaultWindowClass, frame());
    windows.setForeground(game);
    Execute(p, Command::Run);
    sim.scheduler.runUntil(30 * 1000);
    pump();

    std::printf("samples  working set(KiB)  txtLog(chars)  graph samples\n");
    const auto report = [&](int n) {
        std::printf("%7d  %16zu  %13zu  %13d\n", n, workingSetKiB(), p.txtLog.text().size(),
                    p.graph.GraphData ? static_cast<int>(p.graph.GraphData->BufferSize()) : 0);
        std::fflush(stdout);
    };
    report(0);
    for (int n = 1; n <= samples; ++n) {
        shown.expPercent += 0.37 + 0.2 * (n % 3);
        if (shown.expPercent >= 100.0) {
            shown.expPercent -= 100.0;
            ++shown.level;
        }
        shown.coins += 40 + (n * 13) % 90;
        windows.setImage(game, frame());
        sim.scheduler.runUntil(30 * 1000 + std::int64_t{n} * 60 * 1000);
        pump();
        if (n == 1 || n == 10 || n == 100 || n % 250 == 0 || n == samples)
            report(n);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"tick" && argc > 2)
        return tick(argv[2]);
    if (mode == L"memory")
        return memory(argc > 2 ? std::max(1, _wtoi(argv[2])) : 1000);
    std::fprintf(stderr, "usage: bench_win32 tick <kesmaro-simgame.exe> | memory [SAMPLES]\n");
    return 2;
}
