// GDI grabs of the simulated game's window, read back against the frame the core draws.
// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/Win32GameWindows.h"

#include "SimGameFrames.h"
#include "app/SystemCheck.h"
#include "common/Utf8.h"
#include "platform/win32/Win32SystemParts.h"
#include "tools/simgame/GameFrame.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <type_traits>

using namespace kesmaro;

namespace {

constexpr const char* kGameClass = "Gamebryo Application";
constexpr ULONGLONG kPatienceMs = 30000;

// Waits for `done` within a generous bound, letting this thread's windows run.
bool waitFor(const std::function<bool()>& done)
{
    const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
    while (!done()) {
        if (GetTickCount64() > deadline)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(20);
    }
    return true;
}

// The part of the frame that `region` covers; black where it leaves the frame.
PixelBuffer cropOf(const PixelBuffer& frame, const Rect& region)
{
    PixelBuffer out(region.width, region.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const int fx = region.x + x;
            const int fy = region.y + y;
            if (fx >= 0 && fy >= 0 && fx < frame.width && fy < frame.height)
                std::copy_n(frame.pixel(fx, fy), 4, out.pixel(x, y));
        }
    return out;
}

bool sameBytes(const std::vector<PixelBuffer>& a, const std::vector<PixelBuffer>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PixelBuffer& x, const PixelBuffer& y) { return x.bgra == y.bgra; });
}

// A build-tree path as this process can open it: under Wine the Linux root is drive Z:.
std::wstring programPath(std::string path)
{
    if (!path.empty() && path.front() == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return Utf8ToWide(path);
}

class Win32GameWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        frameSpec = new GameFrameSpec(test::FrameSpec(35, 12.34, 1234567, CoinArea::Both));
        std::wstring commandLine = L"\"" + programPath(KESMARO_SIMGAME_EXE) +
                                   L"\" --level 35 --exp 12.34 --coins 1234567 --coin-area both";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        process = new PROCESS_INFORMATION{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, process)) {
            delete process;
            process = nullptr;
        }
    }

    static void TearDownTestSuite()
    {
        if (process != nullptr) {
            if (HWND game = FindWindowA(kGameClass, nullptr))
                PostMessageW(game, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process->hProcess, 10000) != WAIT_OBJECT_0)
                TerminateProcess(process->hProcess, 1);
            CloseHandle(process->hThread);
            CloseHandle(process->hProcess);
            delete process;
            process = nullptr;
        }
        delete frameSpec;
        frameSpec = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(process, nullptr) << "kesmaro-simgame.exe did not start";
        frame = RenderGameFrame(*frameSpec);
        ASSERT_FALSE(frame.isEmpty());
        ASSERT_TRUE(waitFor([&] { return (game = windows.FindWindow(kGameClass)) != kNoWindow; }))
            << "no window of class " << kGameClass;
        bringGameForward();
    }

    void bringGameForward()
    {
        HWND handle = reinterpret_cast<HWND>(game);
        ASSERT_TRUE(waitFor([&] {
            SetForegroundWindow(handle);
            return windows.ForegroundWindow() == game;
        }));
    }

    // Waits until the window shows the frame (it paints once it is shown), then grabs.
    bool showsFrame()
    {
        const Rect all{0, 0, frame.width, frame.height};
        return waitFor([&] { return windows.GrabClientRegion(game, all).bgra == frame.bgra; });
    }

    std::vector<Rect> defaultRegions() const
    {
        const Settings s = FrameSettings(*frameSpec);
        std::vector<Rect> regions;
        for (int area : {0, 1, 2}) {
            const CaptureRect& a = s.CaptureArea[static_cast<std::size_t>(area)];
            regions.push_back(Rect{a.X, a.Y, a.Width, a.Height});
        }
        return regions;
    }

    static inline GameFrameSpec* frameSpec = nullptr;
    static inline PROCESS_INFORMATION* process = nullptr;
    Win32GameWindows windows;
    PixelBuffer frame;
    WindowId game = kNoWindow;
};

} // namespace

TEST_F(Win32GameWindowsTest, RegionsAndPicturesReadTheFrameExactly)
{
    ASSERT_TRUE(showsFrame());
    const std::vector<Rect> regions = defaultRegions();
    const std::vector<PixelBuffer> grabbed = windows.GrabClientRegions(game, regions);
    ASSERT_EQ(grabbed.size(), regions.size());
    for (std::size_t i = 0; i < regions.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(grabbed[i].width, regions[i].width);
        EXPECT_EQ(grabbed[i].height, regions[i].height);
        EXPECT_EQ(grabbed[i].bgra, cropOf(frame, regions[i]).bgra);
        EXPECT_EQ(windows.GrabClientRegion(game, regions[i]).bgra, grabbed[i].bgra);
    }

    // The whole window: the frame sits where the client area lies inside the window's frame.
    const Rect outer = windows.WindowRect(game);
    POINT client{0, 0};
    ASSERT_TRUE(ClientToScreen(reinterpret_cast<HWND>(game), &client));
    const int left = client.x - outer.x;
    const int top = client.y - outer.y;
    ASSERT_GE(outer.width, frame.width + left);
    ASSERT_GE(outer.height, frame.height + top);
    const PixelBuffer whole =
        windows.GrabPicture(game, PictureArea::WholeWindow, {0, 0, outer.width, outer.height});
    ASSERT_EQ(whole.width, outer.width);
    ASSERT_EQ(whole.height, outer.height);
    EXPECT_EQ(cropOf(whole, {left, top, frame.width, frame.height}).bgra, frame.bgra);
    EXPECT_EQ(windows.GrabPicture(game, PictureArea::Client, regions[1]).bgra, grabbed[1].bgra);
}

TEST_F(Win32GameWindowsTest, WhatLiesOutsideTheClientAreaReadsBlack)
{
    ASSERT_TRUE(showsFrame());
    const Rect corner{frame.width - 12, frame.height - 5, 30, 20};
    const PixelBuffer grabbed = windows.GrabClientRegion(game, corner);
    EXPECT_EQ(grabbed.bgra, cropOf(frame, corner).bgra);
    // The frame's title bar lies above the client area: still black, not the window's frame.
    const Rect above{-4, -6, 10, 10};
    EXPECT_EQ(windows.GrabClientRegion(game, above).bgra, cropOf(frame, above).bgra);
    const PixelBuffer beyond = windows.GrabClientRegion(game, {frame.width + 5, 0, 8, 8});
    EXPECT_EQ(beyond.bgra, PixelBuffer(8, 8).bgra);
    EXPECT_TRUE(windows.GrabClientRegion(game, {0, 0, 0, 5}).isEmpty());
    // A window that does not exist (any more) reads black at the asked size.
    EXPECT_EQ(windows.GrabClientRegion(kNoWindow, {0, 0, 4, 3}).bgra, PixelBuffer(4, 3).bgra);
    EXPECT_EQ(windows.WindowRect(kNoWindow), Rect{});
    EXPECT_EQ(windows.FindWindow("Kesmaro No Such Class"), kNoWindow);
}

TEST_F(Win32GameWindowsTest, TheForegroundWindowFollowsTheFocus)
{
    EXPECT_EQ(windows.ForegroundWindow(), game);
    // A window of ours in front: the game is behind it.
    HWND ours = CreateWindowExW(0, L"STATIC", L"in front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(ours, nullptr);
    const auto oursId = static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(ours));
    EXPECT_TRUE(waitFor([&] {
        SetForegroundWindow(ours);
        return windows.ForegroundWindow() == oursId;
    }));
    EXPECT_NE(windows.ForegroundWindow(), game);
    DestroyWindow(ours);
    bringGameForward();
    EXPECT_EQ(windows.ForegroundWindow(), game);
}

TEST_F(Win32GameWindowsTest, TheScreenSourceReadsTheSamePixelsWhileTheGameIsInFront)
{
    ASSERT_TRUE(showsFrame());
    const std::vector<Rect> regions = defaultRegions();
    const std::vector<PixelBuffer> fromWindow = windows.GrabClientRegions(game, regions);
    windows.SetCaptureSource(CaptureSource::Screen);
    EXPECT_EQ(windows.source(), CaptureSource::Screen);
    // The screen shows the window once the window manager has drawn it in front.
    EXPECT_TRUE(
        waitFor([&] { return sameBytes(windows.GrabClientRegions(game, regions), fromWindow); }));
    const std::vector<PixelBuffer> fromScreen = windows.GrabClientRegions(game, regions);
    ASSERT_EQ(fromScreen.size(), regions.size());
    for (std::size_t i = 0; i < regions.size(); ++i)
        EXPECT_EQ(fromScreen[i].bgra, cropOf(frame, regions[i]).bgra) << i;
    const Rect corner{frame.width - 12, frame.height - 5, 30, 20};
    EXPECT_EQ(windows.GrabClientRegion(game, corner).bgra, cropOf(frame, corner).bgra);
}

TEST(Win32StartFacts, TheLibraryProbeAndTheTemporaryFolder)
{
    // The probe answers in the order of the library check's table.
    static_assert(std::is_same_v<decltype(ProbeSystemParts()), SystemPartsFound>);
    static_assert(int{Win32PartGdiplus} == int{SystemPartGdiplus} &&
                  int{Win32PartDirectInput8} == int{SystemPartDirectInput8} &&
                  int{Win32PartCommonControls} == int{SystemPartCommonControls} &&
                  int{Win32PartJapaneseFont} == int{SystemPartJapaneseFont});
    const SystemPartsFound found = ProbeSystemParts();
    EXPECT_TRUE(found[SystemPartGdiplus]);
    EXPECT_TRUE(found[SystemPartCommonControls]);
    const std::string temp = Win32TempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_NE(temp.back(), '\\');
    EXPECT_NE(temp.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(Utf8ToWide(temp))));
}
