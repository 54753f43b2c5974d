#include "ui/win32/GraphWindow.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include "common/Utf8.h"
#include "graph/GraphClicks.h"
#include "state/Program.h"
#include "ui/win32/GdiGraphPainter.h"

#include <algorithm>
#include <string>

namespace kesmaro {

namespace {

constexpr wchar_t kGraphClass[] = L"KesmaroGraphFrame";

struct GraphWindowState {
    Program* program = nullptr;
    HWND toolTip = nullptr;
    std::wstring tip; // the tool tip of the widget under the pointer, empty for none
    bool pressed = false;
};

GraphWindowState* StateOf(HWND hwnd)
{
    return reinterpret_cast<GraphWindowState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

PixelPoint PointOf(LPARAM lParam)
{
    return PixelPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

TTTOOLINFOW WholeWindowTool(HWND hwnd)
{
    // The size of the tool record every comctl32 version takes (5 rejects the longer one).
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return tool;
}

// One tool over the whole frame whose text is asked for when it shows: the widgets move with
// every layout, and which one is under the pointer is the core's answer.
void CreateToolTip(HWND hwnd, GraphWindowState& state)
{
    state.toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    if (!state.toolTip)
        return;
    TTTOOLINFOW tool = WholeWindowTool(hwnd);
    SendMessageW(state.toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// A new widget under the pointer: the shown tip goes and the next one waits its own delay.
void TrackTip(GraphWindowState& state, PixelPoint at)
{
    const std::wstring tip = Utf8ToWide(GraphToolTipAt(state.program->graph.picture.layout, at));
    if (tip == state.tip)
        return;
    state.tip = tip;
    if (state.toolTip) {
        SendMessageW(state.toolTip, TTM_ACTIVATE, FALSE, 0);
        SendMessageW(state.toolTip, TTM_ACTIVATE, TRUE, 0);
    }
}

void Paint(HWND hwnd, GraphWindowState& state)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    const GraphPicture& picture = state.program->graph.picture;
    // Painted off screen and copied in one go, so the frame never flickers through its layers.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right),
                                            std::max<LONG>(1, client.bottom));
    HGDIOBJ old = SelectObject(memory, bitmap);
    FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
    // Until the first layout the frame has no picture to show.
    if (!picture.layout.frame.isEmpty())
        PaintGraph(memory, picture);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK GraphWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    GraphWindowState* state = StateOf(hwnd);
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* fresh = new GraphWindowState{};
        fresh->program = static_cast<Program*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh));
        break;
    }
    case WM_CREATE:
        CreateToolTip(hwnd, *state);
        return 0;
    case WM_NCDESTROY:
        if (state && state->toolTip)
            DestroyWindow(state->toolTip);
        delete state;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (state) {
            Paint(hwnd, *state);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (state)
            TrackTip(*state, PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        if (state) {
            state->pressed = true;
            SetCapture(hwnd);
        }
        return 0;
    case WM_LBUTTONUP: {
        // A click is a release inside the frame after a press in it, as a button takes it.
        if (!state || !state->pressed)
            return 0;
        state->pressed = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        RECT client{};
        GetClientRect(hwnd, &client);
        const PixelPoint at = PointOf(lParam);
        if (at.x >= 0 && at.y >= 0 && at.x < client.right && at.y < client.bottom)
            GraphClickAt(*state->program, at);
        // The click redraws through the view, which may not be told (the graph is off).
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state)
            state->pressed = false;
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (state && header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            info->hinst = nullptr;
            // Kept in the state: the control reads the text after this returns.
            info->lpszText = const_cast<wchar_t*>(state->tip.c_str());
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterGraphClass()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = GraphWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kGraphClass;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

bool IsGraphWindow(HWND hwnd)
{
    wchar_t name[64] = {};
    return hwnd && GetClassNameW(hwnd, name, 64) > 0 && lstrcmpW(name, kGraphClass) == 0;
}

} // namespace

HWND CreateGraphWindow(HWND parent, Program& program, int controlId)
{
    if (!RegisterGraphClass())
        return nullptr;
    return CreateWindowExW(0, kGraphClass, L"frmGraph", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                           0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                           GetModuleHandleW(nullptr), &program);
}

void RefreshGraph(HWND graph)
{
    if (!IsGraphWindow(graph))
        return;
    InvalidateRect(graph, nullptr, FALSE);
}

HWND GraphToolTipWindow(HWND graph)
{
    if (!IsGraphWindow(graph))
        return nullptr;
    const GraphWindowState* state = StateOf(graph);
    return state ? state->toolTip : nullptr;
}

} // namespace kesmaro
