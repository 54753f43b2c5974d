#include "ui/win32/FormVersion.h"

#include "common/Utf8.h"
#include "config/Settings.h"
#include "state/Program.h"
#include "ui/win32/Controls.h"
#include "ui/win32/GdiFonts.h"

#include <array>
#include <cstring>
#include <string>

namespace kesmaro {

namespace {

constexpr wchar_t kVersionClass[] = L"KesmaroVersion";
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 150;
// The usual link blue: the system's hot-track colour is pale under some themes (Wine's default
// among them), too pale to read as text.
constexpr COLORREF kLinkColour = RGB(0, 0, 238);

struct ControlDesign {
    const char* name;
    int id;
    const wchar_t* className;
    DWORD style;
    RECT place; // left, top, width, height
};

enum ControlId { kLblName = 101, kLblVer, kLabel1, kLblHomePage, kCmdOk = IDOK };

constexpr std::array<ControlDesign, 5> kControls{{
    {"lblName", kLblName, L"STATIC", SS_LEFT | SS_NOPREFIX, {16, 12, 268, 24}},
    {"lblVer", kLblVer, L"STATIC", SS_LEFT | SS_NOPREFIX, {16, 40, 268, 18}},
    {"Label1", kLabel1, L"STATIC", SS_LEFT | SS_NOPREFIX, {16, 70, 90, 18}},
    // SS_NOTIFY: a static control tells its clicks and takes the pointer.
    {"lblHomePage", kLblHomePage, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, {106, 70, 178, 18}},
    {"cmdOK", kCmdOk, L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, {110, 110, 80, 26}},
}};

HCURSOR HandCursor()
{
    return LoadCursorW(nullptr, IDC_HAND);
}

} // namespace

FormVersion::FormVersion(Program& p, HWND owner)
    : m_p(p), m_link(p.documentFolder), m_owner(owner), m_linkCursor(HandCursor())
{
    win32::RegisterFormClass({kVersionClass, &FormVersion::WindowProc});
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    // Over the middle of the owner, as a dialog box opens; on the screen's middle without one.
    RECT over{};
    if (!owner || !GetWindowRect(owner, &over))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    m_hwnd = CreateWindowExW(exStyle, kVersionClass, L"バージョン情報", style,
                             over.left + (over.right - over.left - width) / 2,
                             over.top + (over.bottom - over.top - height) / 2, width, height, owner,
                             nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd)
        return;
    m_font = CreateInterfaceFont(12);
    m_largeFont = CreateInterfaceFont(16, true);
    const std::array<std::string, 5> texts{"Kesmaro  for  Dragonica", kProgramVersion,
                                           "Support Site", SupportLink::Name(), "OK"};
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlDesign& c = kControls[i];
        HWND control = CreateWindowExW(0, c.className, Utf8ToWide(texts[i]).c_str(),
                                       WS_CHILD | WS_VISIBLE | c.style, c.place.left, c.place.top,
                                       c.place.right, c.place.bottom, m_hwnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(c.id == kLblName ? m_largeFont : m_font), FALSE);
    }
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
}

FormVersion::~FormVersion()
{
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    if (m_font)
        DeleteObject(m_font);
    if (m_largeFont)
        DeleteObject(m_largeFont);
}

HWND FormVersion::control(const char* name) const
{
    for (const ControlDesign& c : kControls)
        if (std::strcmp(c.name, name) == 0)
            return m_hwnd ? GetDlgItem(m_hwnd, c.id) : nullptr;
    return nullptr;
}

void FormVersion::clickLink()
{
    Context ctx = m_p.context();
    // Opening may take its moment; the hourglass says so on the label.
    HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const bool opened = m_link.Click(ctx);
    if (opened)
        m_linkCursor = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(opened ? m_linkCursor : before);
}

LRESULT CALLBACK FormVersion::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormVersion*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (!self->m_hwnd)
        self->m_hwnd = hwnd;
    return self->handle(message, wParam, lParam);
}

LRESULT FormVersion::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(m_hwnd, kLblHomePage) &&
            LOWORD(lParam) == HTCLIENT) {
            // The hand says "click me" whenever the pointer moves over the idle link and stays
            // while it is armed; only the click that opens the site gives the arrow back.
            if (!m_link.armed())
                m_linkCursor = HandCursor();
            SetCursor(m_linkCursor);
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(m_hwnd, kLblHomePage))
            SetTextColor(dc, kLinkColour);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kLblHomePage && HIWORD(wParam) == STN_CLICKED) {
            clickLink();
            return 0;
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE:
        // The owner takes input again before this window goes, so activation returns to it
        // rather than to another program.
        if (m_owner)
            EnableWindow(m_owner, TRUE);
        DestroyWindow(m_hwnd);
        return 0;
    case WM_NCDESTROY: {
        HWND gone = m_hwnd;
        SetWindowLongPtrW(gone, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        return DefWindowProcW(gone, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void ShowVersionWindow(HWND owner, Program& program)
{
    if (owner)
        EnableWindow(owner, FALSE);
    FormVersion window(program, owner);
    MSG msg;
    bool quit = false;
    while (!window.closed()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got == -1)
            break;
        if (!IsDialogMessageW(window.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    // The quit belongs to the program's own loop.
    if (quit)
        PostQuitMessage(static_cast<int>(msg.wParam));
}

} // namespace kesmaro
