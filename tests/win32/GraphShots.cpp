// kesmaro-win32-shots: frmGraph after a session of several samples, the popup of a missing game
// and the version window, side by side on the screen, for screenshots under Wine or on Windows.
// Prints each window's screen rectangle ("graph L T W H") and keeps them up until the given
// number of seconds has passed (default 60) or the console is closed.

#include "Amounts.h"
#include "ProgramHarness.h"
#include "config/Defaults.h"
#include "graph/GraphDisplay.h"
#include "records/Popup.h"
#include "ui/win32/FormPopup.h"
#include "ui/win32/FormVersion.h"
#include "ui/win32/GraphWindow.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace kesmaro;

namespace {

void Print(const char* name, HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void CALLBACK Quit(HWND, UINT, UINT_PTR, DWORD)
{
    PostQuitMessage(0);
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    test::ProgramHarness h({.defaults = true});
    Program& p = h.p;
    p.settings.GraphEnabled = true;
    p.settings.GraphTimeScale = 20;
    p.settings.CaptureInterval = 6;
    p.menus.menuRunEnabled = false;
    p.menus.menuStopEnabled = true;
    p.graph.GraphData.emplace(h.sim.clock);
    // A session whose rates wander: the curves, their averages and a gap in the money rate.
    for (int i = 0; i < 24; ++i) {
        const double exp = 3.2 + 1.4 * std::sin(i * 0.55) + 0.05 * i;
        const double money = i == 9 || i == 10 ? -1 : 210 + 90 * std::cos(i * 0.4);
        AddGraphSample(p, C(exp), C(money));
    }

    HWND host =
        CreateWindowExW(0, L"STATIC", L"frmGraph", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 20, 20,
                        420, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    RECT inner{0, 0, 385, 361};
    AdjustWindowRectEx(&inner, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
    SetWindowPos(host, nullptr, 0, 0, inner.right - inner.left, inner.bottom - inner.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    HWND graph = CreateGraphWindow(host, p, 1);
    MoveWindow(graph, 0, 0, 385, 361, TRUE);
    GraphFrameDisplay(p, PixelSize{385, 361});
    RefreshGraph(graph);

    p.settings.SearchWindowClass = kDefaultWindowClass;
    FormPopup popup(p);
    ShowPopup(p.popup, p.flags, h.view, "ゲームウィンドウが見つかりません。", "", 9);
    popup.showState();
    SetWindowPos(popup.hwnd(), nullptr, 460, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    FormVersion version(p, nullptr);
    SetWindowPos(version.hwnd(), nullptr, 460, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    Print("graph", graph);
    Print("popup", popup.hwnd());
    Print("version", version.hwnd());
    std::fflush(stdout);
    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, Quit);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DestroyWindow(host);
    return 0;
}
