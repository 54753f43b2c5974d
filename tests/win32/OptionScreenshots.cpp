// Pictures of the options window's pages, the input dialog and the finder's dialog for the
// documents: run with KESMARO_SCREENSHOTS=<folder> and --gtest_also_run_disabled_tests.

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include "ProgramHarness.h"
#include "ScriptedModal.h"
#include "TestFrames.h"
#include "app/Command.h"
#include "app/MainWindowLogic.h"
#include "platform/ImageFiles.h"
#include "recognition/AutoDetect.h"
#include "ui/win32/AreaFinderDialog.h"
#include "ui/win32/FormInputCheck.h"
#include "ui/win32/FormOption.h"
#include "ui/win32/Win32View.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace kesmaro;
using test::ScriptedModal;

namespace {

void Pump()
{
    for (int turn = 0; turn < 20; ++turn) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(20); // lets the window manager and X server draw; nothing waits on it
    }
}

// The window as the screen shows it, its frame included.
void Save(HWND window, const char* name)
{
    const char* folder = std::getenv("KESMARO_SCREENSHOTS");
    ASSERT_NE(folder, nullptr);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    RECT r;
    GetWindowRect(window, &r);
    PixelBuffer picture(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), picture.bgra.data(), &info,
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(WriteImageFile(picture, std::filesystem::path(folder) / name, ImageFormat::Png),
              ImageFileStatus::Ok);
}

struct ViewHolder {
    Win32View m_view;
};

class OptionScreenshots : public ::testing::Test, private ViewHolder, public test::ProgramHarness {
protected:
    OptionScreenshots()
        : ProgramHarness({.start = test::At(2024, 5, 1, 10), .defaults = true, .view = &m_view})
    {
        p.settings.StartDelay = 0;
        p.settings.AutoStart = false;
        p.ScreenSizes = BuildScreenSizeList();
        m_view.attach(p);
        m_view.onEnded = [] {};
    }
    using ViewHolder::m_view;
};

TEST_F(OptionScreenshots, DISABLED_EachPageAndTheDialogs)
{
    FormMain_Load(p);
    Execute(p, Command::Option);
    FormOption& window = *m_view.options();
    SetWindowPos(window.hwnd(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    HWND tabs = win32::FindControl(window.hwnd(), IdTabOption);
    for (int page = 0; page < kOptionPageCount; ++page) {
        SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
        NMHDR header{tabs, IdTabOption, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(window.hwnd(), WM_NOTIFY, IdTabOption, reinterpret_cast<LPARAM>(&header));
        Pump();
        Save(window.hwnd(), ("options-" + std::to_string(page + 1) + ".png").c_str());
    }

    FormInputCheck input(sim.prompter);
    ScriptedModal::Then([&] {
        Pump();
        Save(input.hwnd(), "input.png");
        SendMessageW(input.hwnd(), WM_COMMAND, MAKEWPARAM(IdInputCmdCancel, BN_CLICKED), 0);
    });
    const OptionValueLabel& row = *FindOptionValueLabel("lblStartDelay");
    input.Ask({std::to_string(row.min), std::to_string(row.max), 30, std::to_string(row.step),
               row.prompt, "設定値入力"});

    Settings moved = p.settings;
    moved.CaptureArea[0].X = 60;
    moved.CaptureArea[0].Y = 40;
    const PixelBuffer frame = TestFrame(moved, "35", "12.34", "1000", 4);
    const AreaProposal proposal = FindCaptureAreas(frame, FinderFontsOf(p.settings));
    ScriptedModal::Then([&] {
        Pump();
        HWND finder = FindWindowW(L"KesmaroAreaFinder", nullptr);
        ASSERT_NE(finder, nullptr);
        SetWindowPos(finder, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
        Pump();
        Save(finder, "finder.png");
        PostMessageW(finder, WM_CLOSE, 0, 0);
    });
    AreaFinderDialog::confirm(window.hwnd(), frame, proposal);
}

} // namespace
