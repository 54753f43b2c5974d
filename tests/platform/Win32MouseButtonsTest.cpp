// The DirectInput mouse seam, with real clicks on a window of another process. Under Wine the
// clicks come from xdotool through click_driver.py (asked for on standard output, answered on
// standard input); run alone on Windows, the program makes them with SendInput instead.

#include "platform/win32/Win32MouseButtons.h"

#include "platform/win32/Win32ClockScheduler.h"

#include <windows.h>

// clang-format off
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
// clang-format on

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

constexpr wchar_t kTargetClass[] = L"KesmaroMouseTarget";
constexpr wchar_t kTargetTitle[] = L"KesmaroMouseTarget";

// The other program: a plain window that takes the clicks and the focus.
int RunTargetWindow()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kTargetClass;
    RegisterClassW(&windowClass);
    CreateWindowW(kTargetClass, kTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200, 400, 300,
                  nullptr, nullptr, windowClass.hInstance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

// Runs this thread's messages (the seam reads on them) until `done`, at most `bound`.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds bound = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

std::string Codes(const std::vector<MouseButtonEvent>& events)
{
    std::string codes;
    for (const MouseButtonEvent& e : events) {
        if (!codes.empty())
            codes += ' ';
        codes += e.button == MouseButton::Left ? 'L' : 'R';
        codes += e.pressed ? 'd' : 'u';
    }
    return codes;
}

// Presses and releases in xdotool's words ("mousedown 1", "click 3"; 1 left, 2 middle,
// 3 right), made over the target window.
class Clicker {
public:
    explicit Clicker(HWND target) : m_target(target)
    {
        const char* driver = std::getenv("KESMARO_CLICK_DRIVER");
        m_xdotool = driver && std::string(driver) == "xdotool";
    }

    // Gives the target the focus and puts the pointer over it.
    bool focus()
    {
        RECT area{};
        GetWindowRect(m_target, &area);
        const int x = (area.left + area.right) / 2;
        const int y = (area.top + area.bottom) / 2;
        if (m_xdotool) {
            const std::string title(std::begin(kTargetTitle), std::end(kTargetTitle) - 1);
            return xdotool("search --name ^" + title + "$ windowactivate --sync mousemove " +
                           std::to_string(x) + " " + std::to_string(y));
        }
        SetForegroundWindow(m_target);
        return SetCursorPos(x, y) != 0;
    }

    bool buttons(const std::string& steps)
    {
        if (m_xdotool)
            return xdotool(steps);
        std::vector<INPUT> inputs;
        std::size_t at = 0;
        while (at < steps.size()) {
            const std::size_t blank = steps.find(' ', at);
            const std::string verb = steps.substr(at, blank - at);
            const std::size_t next = steps.find(' ', blank + 1);
            const int button = std::stoi(steps.substr(blank + 1, next - blank - 1));
            at = next == std::string::npos ? steps.size() : next + 1;
            const DWORD down = button == 1   ? MOUSEEVENTF_LEFTDOWN
                               : button == 3 ? MOUSEEVENTF_RIGHTDOWN
                                             : MOUSEEVENTF_MIDDLEDOWN;
            // Each *UP flag is the *DOWN flag's double.
            if (verb != "mouseup")
                inputs.push_back(mouse(down));
            if (verb != "mousedown")
                inputs.push_back(mouse(down * 2));
        }
        return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
               inputs.size();
    }

private:
    static INPUT mouse(DWORD flags)
    {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        return input;
    }

    // xdotool returns once the X server has the events.
    static bool xdotool(const std::string& arguments)
    {
        std::printf("@xdotool %s\n", arguments.c_str());
        std::fflush(stdout);
        char answer[32] = {};
        return std::fgets(answer, sizeof answer, stdin) && answer[0] == '0';
    }

    HWND m_target;
    bool m_xdotool = false;
};

class Win32MouseButtonsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --target-window";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &s_target))
            WaitFor([] { return (s_window = FindWindowW(kTargetClass, kTargetTitle)) != nullptr; });
    }

    static void TearDownTestSuite()
    {
        if (s_window)
            PostMessageW(s_window, WM_CLOSE, 0, 0);
        if (s_target.hProcess) {
            if (WaitForSingleObject(s_target.hProcess, 10000) != WAIT_OBJECT_0)
                TerminateProcess(s_target.hProcess, 1);
            CloseHandle(s_target.hProcess);
            CloseHandle(s_target.hThread);
        }
    }

    void SetUp() override
    {
        ASSERT_NE(s_window, nullptr) << "the target window of the other process did not come";
        clicker = std::make_unique<Clicker>(s_window);
        ASSERT_TRUE(clicker->focus());
    }

    MouseButtons::Handler into(std::vector<MouseButtonEvent>& events)
    {
        return [this, &events](const std::vector<MouseButtonEvent>& batch) {
            EXPECT_FALSE(batch.empty());
            EXPECT_EQ(GetCurrentThreadId(), thread);
            batches.push_back(batch);
            events.insert(events.end(), batch.begin(), batch.end());
        };
    }

    bool clickAndWait(const std::string& steps, const std::vector<MouseButtonEvent>& events,
                      std::size_t count)
    {
        return clicker->buttons(steps) && WaitFor([&] { return events.size() >= count; });
    }

    static PROCESS_INFORMATION s_target;
    static HWND s_window;
    Win32Clock clock;
    Win32MouseButtons mouse{clock};
    std::unique_ptr<Clicker> clicker;
    const DWORD thread = GetCurrentThreadId();
    std::vector<std::vector<MouseButtonEvent>> batches;
    std::vector<MouseButtonEvent> received;
};

PROCESS_INFORMATION Win32MouseButtonsTest::s_target{};
HWND Win32MouseButtonsTest::s_window = nullptr;

TEST_F(Win32MouseButtonsTest, ClicksOnAnotherProgramsWindowArriveInOrderOnThisThread)
{
    ASSERT_EQ(mouse.Start(into(received)), MouseStart::Started);
    const std::int64_t before = clock.TickMs();
    // The middle button is not ours; the chord's order is kept.
    ASSERT_TRUE(clickAndWait("mousedown 1 mousedown 3 mouseup 1 mouseup 3 click 2", received, 4));
    ASSERT_TRUE(clickAndWait("click 1 click 3", received, 8));
    EXPECT_EQ(Codes(received), "Ld Rd Lu Ru Ld Lu Rd Ru");
    for (std::size_t i = 0; i < received.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(received[i].tickMs, i > 0 ? received[i - 1].tickMs : before - 1000);
        EXPECT_LE(received[i].tickMs, clock.TickMs());
    }
    // The clicks went to the other window, which kept the focus.
    EXPECT_EQ(GetForegroundWindow(), s_window);
    mouse.Stop();
}

TEST_F(Win32MouseButtonsTest, StopEndsDeliveryAndStartingAgainReplacesTheHandler)
{
    std::vector<MouseButtonEvent> first, second;
    ASSERT_EQ(mouse.Start(into(first)), MouseStart::Started);
    ASSERT_TRUE(clickAndWait("click 1", first, 2));
    ASSERT_EQ(mouse.Start(into(second)), MouseStart::Started);
    ASSERT_TRUE(clickAndWait("click 3", second, 2));
    EXPECT_EQ(Codes(first), "Ld Lu");
    EXPECT_EQ(Codes(second), "Rd Ru");

    mouse.Stop();
    mouse.Stop(); // harmless twice
    // A second listener tells when the clicks made meanwhile have passed through the system;
    // had the stopped one kept them, they would come before the right click.
    std::vector<MouseButtonEvent> witnessed;
    Win32MouseButtons witness(clock);
    ASSERT_EQ(witness.Start(into(witnessed)), MouseStart::Started);
    ASSERT_TRUE(clickAndWait("click 1 click 1", witnessed, 4));
    witness.Stop();
    std::vector<MouseButtonEvent> third;
    ASSERT_EQ(mouse.Start(into(third)), MouseStart::Started);
    ASSERT_TRUE(clickAndWait("click 3", third, 2));
    EXPECT_EQ(Codes(third), "Rd Ru");
    EXPECT_EQ(Codes(first) + " " + Codes(second), "Ld Lu Rd Ru");
}

TEST_F(Win32MouseButtonsTest, AHandlerMayStopAndRestartTheListener)
{
    MouseButtons::Handler handler = [&](const std::vector<MouseButtonEvent>& batch) {
        received.insert(received.end(), batch.begin(), batch.end());
        mouse.Stop();
        EXPECT_EQ(mouse.Start(handler), MouseStart::Started);
    };
    ASSERT_EQ(mouse.Start(handler), MouseStart::Started);
    ASSERT_TRUE(clickAndWait("click 1", received, 2));
    ASSERT_TRUE(clickAndWait("click 3", received, 4));
    EXPECT_EQ(Codes(received), "Ld Lu Rd Ru");
}

// COM objects end through Release, never through a destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// A DirectInput without a mouse: CreateDevice fails; counts its references.
struct NoMouseInput : IDirectInput8W {
    ULONG references = 1;
    STDMETHOD(QueryInterface)(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override { return --references; }
    STDMETHOD(CreateDevice)(REFGUID, IDirectInputDevice8W** device, IUnknown*) override
    {
        *device = nullptr;
        return DIERR_DEVICENOTREG;
    }
    STDMETHOD(EnumDevices)(DWORD, LPDIENUMDEVICESCALLBACKW, void*, DWORD) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(GetDeviceStatus)(REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(FindDevice)(REFGUID, LPCWSTR, GUID*) override { return E_NOTIMPL; }
    STDMETHOD(EnumDevicesBySemantics)
    (LPCWSTR, LPDIACTIONFORMATW, LPDIENUMDEVICESBYSEMANTICSCBW, void*, DWORD) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(ConfigureDevices)
    (LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSW, DWORD, void*) override
    {
        return E_NOTIMPL;
    }
};
#pragma GCC diagnostic pop

TEST(Win32MouseButtonsStartTest, FailuresAreToldApartAndLeaveNothingBehind)
{
    Win32Clock clock;
    int calls = 0;
    const auto noHandler = [&](const std::vector<MouseButtonEvent>&) { ++calls; };
    {
        Win32MouseButtons noInput(clock, [](IDirectInput8W** made) {
            *made = nullptr;
            return static_cast<long>(DIERR_OLDDIRECTINPUTVERSION);
        });
        EXPECT_EQ(noInput.Start(noHandler), MouseStart::NoInputSystem);
        noInput.Stop();
    }
    NoMouseInput input;
    {
        Win32MouseButtons noMouse(clock, [&](IDirectInput8W** made) {
            *made = &input;
            return static_cast<long>(DI_OK);
        });
        EXPECT_EQ(noMouse.Start(noHandler), MouseStart::NoPointerDevice);
        // The seam owned the object it was given and let it go.
        EXPECT_EQ(input.references, 0u);
        // Trying again asks again.
        input.references = 1;
        EXPECT_EQ(noMouse.Start(noHandler), MouseStart::NoPointerDevice);
        EXPECT_EQ(input.references, 0u);
        noMouse.Stop();
    }
    EXPECT_EQ(calls, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--target-window")
        return RunTargetWindow();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
