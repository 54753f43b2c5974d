// clang-format off
#include <windows.h>
// clang-format on

#include "tools/simgame/SimGameWindowWin32.h"

#include "common/Utf8.h"

#include <algorithm>

namespace kesmaro {

namespace {

bool sameValues(const GameFrameSpec& a, const GameFrameSpec& b)
{
    return a.level == b.level && a.expPercent == b.expPercent && a.coins == b.coins &&
           a.coinArea == b.coinArea && a.hideLevel == b.hideLevel && a.hideExp == b.hideExp;
}

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

} // namespace

struct SimGameWindowWin32::Procedure {
    static LRESULT CALLBACK call(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self =
            reinterpret_cast<SimGameWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_PAINT:
            if (self != nullptr) {
                paint(window, self->m_frame);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1; // the frame covers the client area
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static void paint(HWND window, const PixelBuffer& frame)
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = frame.width;
        info.bmiHeader.biHeight = -frame.height; // top-down, as the buffer
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(
            dc, 0, 0, static_cast<DWORD>(frame.width), static_cast<DWORD>(frame.height), 0, 0, 0,
            static_cast<UINT>(frame.height), frame.bgra.data(), &info, DIB_RGB_COLORS);
        EndPaint(window, &ps);
    }
};

SimGameWindowWin32::SimGameWindowWin32(const GameFrameSpec& frameSpec,
                                       const std::string& windowClass)
    : m_spec(frameSpec), m_class(Utf8ToWide(windowClass)),
      m_background(RenderGameBackground(frameSpec)), m_frame(m_background)
{
    DrawHudValues(m_frame, m_spec);
}

SimGameWindowWin32::~SimGameWindowWin32()
{
    if (m_handle != 0)
        DestroyWindow(reinterpret_cast<HWND>(m_handle));
}

bool SimGameWindowWin32::show()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Procedure::call;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.lpszClassName = m_class.c_str();
    if (RegisterClassExW(&wc) == 0)
        return false;
    // The client area is the frame: the outer size is what the frame style adds around it.
    RECT outer{0, 0, m_frame.width, m_frame.height};
    AdjustWindowRect(&outer, kStyle, FALSE);
    HWND window = CreateWindowExW(0, m_class.c_str(), L"kesmaro-simgame", kStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, nullptr, instance, this);
    if (window == nullptr)
        return false;
    m_handle = reinterpret_cast<std::uintptr_t>(window);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return true;
}

void SimGameWindowWin32::showValues(const GameFrameSpec& values)
{
    GameFrameSpec next = m_spec;
    next.level = values.level;
    next.expPercent = values.expPercent;
    next.coins = values.coins;
    next.coinArea = values.coinArea;
    next.hideLevel = values.hideLevel;
    next.hideExp = values.hideExp;
    if (sameValues(next, m_spec) || !CheckGameFrameSpec(next).empty())
        return;
    m_spec = next;
    std::copy(m_background.bgra.begin(), m_background.bgra.end(), m_frame.bgra.begin());
    DrawHudValues(m_frame, m_spec);
    if (m_handle != 0)
        InvalidateRect(reinterpret_cast<HWND>(m_handle), nullptr, FALSE);
}

} // namespace kesmaro
