#include "platform/win32/Win32MouseButtons.h"

#include <windows.h>

// clang-format off
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
// clang-format on

#include <atomic>
#include <utility>
#include <vector>

namespace kesmaro {

namespace {

// As many events as the device keeps between two reads; more are lost (and counted as such by
// DirectInput), not delivered late.
constexpr DWORD kDeviceBufferSize = 10;
// Records asked for in one GetDeviceData call.
constexpr DWORD kReadRecords = 16;
constexpr UINT kReadMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"KesmaroMouseButtons";

template <typename T> void ReleaseAndClear(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

struct Win32MouseButtons::State {
    State(const Clock& c, DirectInputFactory f) : clock(c), factory(std::move(f)) {}

    const Clock& clock;
    DirectInputFactory factory;
    // Top-level and never shown: SetCooperativeLevel asks for a top-level window of the
    // process, which a message-only window is not.
    HWND window = nullptr;
    IDirectInput8W* input = nullptr;
    IDirectInputDevice8W* device = nullptr;
    HANDLE event = nullptr;
    HANDLE wait = nullptr;
    // Set by the wait, cleared by the read: one message in the queue is enough.
    std::atomic<bool> posted{false};
    Handler handler;

    bool ensureWindow();
    MouseStart open();
    void close();
    void read();
};

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReadMessage) {
        // Null once the seam is gone; a message posted just before a stop finds no device.
        if (auto* state = reinterpret_cast<Win32MouseButtons::State*>(
                GetWindowLongPtrW(window, GWLP_USERDATA)))
            state->read();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// On a thread-pool thread: only the window's thread may touch the device and the handler.
VOID CALLBACK Signalled(PVOID context, BOOLEAN /*timedOut*/)
{
    auto* state = static_cast<Win32MouseButtons::State*>(context);
    if (!state->posted.exchange(true))
        PostMessageW(state->window, kReadMessage, 0, 0);
}

} // namespace

bool Win32MouseButtons::State::ensureWindow()
{
    if (window)
        return true;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(instance))
        return false;
    window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, instance, nullptr);
    if (!window)
        return false;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

MouseStart Win32MouseButtons::State::open()
{
    if (!ensureWindow())
        return MouseStart::NoInputSystem;
    const HRESULT made =
        factory ? factory(&input)
                : DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION,
                                     IID_IDirectInput8W, reinterpret_cast<void**>(&input), nullptr);
    if (FAILED(made) || !input) {
        input = nullptr;
        return MouseStart::NoInputSystem;
    }
    if (FAILED(input->CreateDevice(GUID_SysMouse, &device, nullptr)) || !device) {
        device = nullptr;
        close();
        return MouseStart::NoPointerDevice;
    }
    DIPROPDWORD bufferSize{};
    bufferSize.diph.dwSize = sizeof bufferSize;
    bufferSize.diph.dwHeaderSize = sizeof bufferSize.diph;
    bufferSize.diph.dwHow = DIPH_DEVICE;
    bufferSize.dwData = kDeviceBufferSize;
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    // A device that takes any of these cannot be read as a mouse: for the user it is a mouse
    // device we could not make.
    const bool ready =
        event && SUCCEEDED(device->SetDataFormat(&c_dfDIMouse2)) &&
        SUCCEEDED(device->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND)) &&
        SUCCEEDED(device->SetProperty(DIPROP_BUFFERSIZE, &bufferSize.diph)) &&
        SUCCEEDED(device->SetEventNotification(event)) &&
        RegisterWaitForSingleObject(&wait, event, Signalled, this, INFINITE, WT_EXECUTEDEFAULT) &&
        SUCCEEDED(device->Acquire());
    if (!ready) {
        close();
        return MouseStart::NoPointerDevice;
    }
    return MouseStart::Started;
}

void Win32MouseButtons::State::close()
{
    if (wait) {
        // Waits for a running callback, so none posts to us after this.
        UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
        wait = nullptr;
    }
    if (device) {
        device->Unacquire();
        device->SetEventNotification(nullptr);
    }
    ReleaseAndClear(device);
    ReleaseAndClear(input);
    if (event) {
        CloseHandle(event);
        event = nullptr;
    }
    posted = false;
}

void Win32MouseButtons::State::read()
{
    posted = false;
    if (!device || !handler)
        return;
    std::vector<DIDEVICEOBJECTDATA> records;
    for (;;) {
        DIDEVICEOBJECTDATA data[kReadRecords];
        DWORD count = kReadRecords;
        const HRESULT result = device->GetDeviceData(sizeof data[0], data, &count, 0);
        if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED) {
            // What was buffered is gone; the next presses count again.
            device->Acquire();
            break;
        }
        if (FAILED(result))
            break;
        records.insert(records.end(), data, data + count);
        if (count < kReadRecords)
            break;
    }
    std::vector<MouseButtonEvent> batch;
    std::vector<DWORD> times;
    for (const DIDEVICEOBJECTDATA& record : records) {
        if (record.dwOfs != DIMOFS_BUTTON0 && record.dwOfs != DIMOFS_BUTTON1)
            continue;
        MouseButtonEvent out;
        // The first button is the primary one, the left unless the user swapped them.
        out.button = record.dwOfs == DIMOFS_BUTTON0 ? MouseButton::Left : MouseButton::Right;
        out.pressed = (record.dwData & 0x80) != 0;
        batch.push_back(out);
        times.push_back(record.dwTimeStamp);
    }
    if (batch.empty())
        return;
    // The records carry the system's millisecond count, not our clock: keep their spacing and
    // anchor the newest at the moment of reading.
    const std::int64_t now = clock.TickMs();
    for (std::size_t i = 0; i < batch.size(); ++i) {
        // Unsigned difference: right across the 49-day wrap of the count.
        const DWORD age = times.back() - times[i];
        batch[i].tickMs = now - static_cast<std::int64_t>(age);
    }
    // A copy: the handler may stop or restart us.
    const Handler current = handler;
    current(batch);
}

Win32MouseButtons::Win32MouseButtons(const Clock& clock, DirectInputFactory factory)
    : m_state(std::make_unique<State>(clock, std::move(factory)))
{}

Win32MouseButtons::~Win32MouseButtons()
{
    Stop();
    if (m_state->window) {
        SetWindowLongPtrW(m_state->window, GWLP_USERDATA, 0);
        DestroyWindow(m_state->window);
    }
}

MouseStart Win32MouseButtons::Start(Handler handler)
{
    if (!m_state->device) {
        const MouseStart opened = m_state->open();
        if (opened != MouseStart::Started) {
            m_state->handler = nullptr;
            return opened;
        }
    }
    m_state->handler = std::move(handler);
    return MouseStart::Started;
}

void Win32MouseButtons::Stop()
{
    m_state->handler = nullptr;
    m_state->close();
}

} // namespace kesmaro
