#include "platform/win32/Win32ClockScheduler.h"

#include "common/DateTime.h"

#include <algorithm>
#include <windows.h>

namespace kesmaro {

LocalDateTime Win32Clock::Now() const
{
    return DateTime::FromSystemTime(std::chrono::system_clock::now()).time();
}

std::int64_t Win32Clock::TickMs() const
{
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return std::int64_t{f.QuadPart};
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    // Split so that counter × 1000 cannot overflow after months of uptime.
    const std::int64_t c = count.QuadPart;
    return c / frequency * 1000 + c % frequency * 1000 / frequency;
}

namespace {

constexpr UINT kOverdueTick = WM_APP + 1;
constexpr wchar_t kClassName[] = L"KesmaroSchedulerWindow";

struct TimerState {
    std::shared_ptr<std::function<void()>> onTick;
    int interval = 0;
    bool enabled = false;
    bool running = false;
    bool missed = false;
};

} // namespace

struct Win32Scheduler::Window {
    HWND hwnd = nullptr;
    UINT_PTR nextId = 1;
    std::map<UINT_PTR, TimerState> timers;

    void restart(UINT_PTR id, const TimerState& state)
    {
        if (hwnd == nullptr)
            return;
        // SetTimer on a live id replaces it: the count starts afresh.
        if (state.enabled && state.interval > 0)
            SetTimer(hwnd, id, static_cast<UINT>(state.interval), nullptr);
        else
            KillTimer(hwnd, id);
    }

    void tick(UINT_PTR id)
    {
        auto found = timers.find(id);
        // KillTimer leaves a WM_TIMER already queued: a stopped timer must ignore it.
        if (found == timers.end() || !found->second.enabled || found->second.interval <= 0)
            return;
        if (found->second.running) {
            found->second.missed = true;
            return;
        }
        found->second.running = true;
        // The callback may destroy its own timer: keep the function alive and look again.
        const auto onTick = found->second.onTick;
        (*onTick)();
        found = timers.find(id);
        if (found == timers.end())
            return;
        found->second.running = false;
        if (found->second.missed && found->second.enabled && found->second.interval > 0) {
            found->second.missed = false;
            restart(id, found->second);
            PostMessageW(hwnd, kOverdueTick, id, 0);
        }
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_TIMER || message == kOverdueTick) {
            auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (self != nullptr)
                self->tick(static_cast<UINT_PTR>(wParam));
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

namespace {

class Win32Timer : public Timer {
public:
    Win32Timer(std::shared_ptr<Win32Scheduler::Window> window, UINT_PTR id)
        : m_owner(std::move(window)), m_window(*m_owner), m_id(id)
    {}
    ~Win32Timer() override
    {
        if (m_window.hwnd != nullptr)
            KillTimer(m_window.hwnd, m_id);
        m_window.timers.erase(m_id);
    }

    void setInterval(int ms) override
    {
        state().interval = ms;
        m_window.restart(m_id, state());
    }
    int interval() const override { return m_window.timers.at(m_id).interval; }

    void setEnabled(bool enabled) override
    {
        if (enabled == state().enabled)
            return;
        state().enabled = enabled;
        state().missed = false;
        m_window.restart(m_id, state());
    }
    bool isEnabled() const override { return m_window.timers.at(m_id).enabled; }

private:
    TimerState& state() { return m_window.timers.at(m_id); }

    std::shared_ptr<Win32Scheduler::Window> m_owner;
    Win32Scheduler::Window& m_window;
    UINT_PTR m_id;
};

HWND CreateMessageWindow(Win32Scheduler::Window* owner)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32Scheduler::Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    // A second scheduler finds the class already there, which is fine.
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    HWND hwnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                nullptr);
    if (hwnd != nullptr)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return hwnd;
}

} // namespace

Win32Scheduler::Win32Scheduler() : m_window(std::make_shared<Window>())
{
    m_window->hwnd = CreateMessageWindow(m_window.get());
}

Win32Scheduler::~Win32Scheduler()
{
    if (m_window->hwnd != nullptr)
        DestroyWindow(m_window->hwnd);
    m_window->hwnd = nullptr;
}

bool Win32Scheduler::isReady() const
{
    return m_window->hwnd != nullptr;
}

std::unique_ptr<Timer> Win32Scheduler::CreateTimer(std::function<void()> onTick)
{
    const UINT_PTR id = m_window->nextId++;
    m_window->timers[id].onTick = std::make_shared<std::function<void()>>(std::move(onTick));
    return std::make_unique<Win32Timer>(m_window, id);
}

void Win32Scheduler::WaitMs(int ms)
{
    const std::int64_t requested = std::max(ms, 1);
    const std::int64_t start = m_clock.TickMs();
    std::int64_t remaining = requested;
    bool quit = false;
    WPARAM quitCode = 0;
    do {
        // MWMO_INPUTAVAILABLE also wakes for messages an outer loop has already seen but not
        // taken, which the plain wait would sleep through when called from a handler.
        const DWORD woke = MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(remaining),
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                // The quit request belongs to the outermost loop: hand it back when done.
                if (message.message == WM_QUIT) {
                    quit = true;
                    quitCode = message.wParam;
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        remaining = requested + start - m_clock.TickMs();
    } while (remaining >= 0);
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
}

} // namespace kesmaro
