#include "ui/win32/FormPopup.h"

#include "app/PopupRemarks.h"
#include "common/Utf8.h"
#include "state/Program.h"
#include "ui/win32/Controls.h"
#include "ui/win32/GdiFonts.h"

#include <algorithm>

namespace kesmaro {

namespace {

constexpr wchar_t kPopupClass[] = L"KesmaroPopup";
constexpr int kLabelId = 1;

SIZE OuterSize(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE InnerSize(HWND hwnd)
{
    RECT r{};
    GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

// The label sizes itself to its text, as the design's auto-sized label does.
SIZE TextSize(HWND label, const std::wstring& text, HFONT font)
{
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_CENTER);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    return SIZE{std::max<LONG>(1, r.right - r.left), std::max<LONG>(1, r.bottom - r.top)};
}

} // namespace

FormPopup::FormPopup(Program& p) : m_program(p)
{
    win32::RegisterFormClass({kPopupClass, &FormPopup::WindowProc});
    const int width = std::max(1, p.popup.widthTwips / kTwipsPerPixel);
    const int height = std::max(1, p.popup.heightTwips / kTwipsPerPixel);
    m_hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kPopupClass, L"メッセージ",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    m_lblPopUpMsg =
        CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0,
                        0, 1, 1, m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)),
                        GetModuleHandleW(nullptr), nullptr);
    setFontSize(p.popup.fontSize);
    // Centred on the screen's work area: the window has no owner to be placed over.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(m_hwnd, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    setMessage("しばらくお待ちください。");
}

FormPopup::~FormPopup()
{
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    if (m_font)
        DeleteObject(m_font);
}

std::string FormPopup::text() const
{
    const int length = GetWindowTextLengthW(m_lblPopUpMsg);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(m_lblPopUpMsg, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return WideToUtf8(text);
}

void FormPopup::setFontSize(int points)
{
    HDC screen = GetDC(nullptr);
    const int pixels = MulDiv(std::max(1, points), GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateInterfaceFont(pixels);
    SendMessageW(m_lblPopUpMsg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
}

void FormPopup::showState()
{
    const PopupState& popup = m_program.popup;
    if (!m_program.flags.PopupShown) {
        ShowWindow(m_hwnd, SW_HIDE);
        return;
    }
    SetWindowTextW(m_hwnd, Utf8ToWide(popup.caption).c_str());
    setFontSize(popup.fontSize);
    setOuterSize(popup.widthTwips / kTwipsPerPixel, popup.heightTwips / kTwipsPerPixel);
    setMessage(popup.message);
    // Topmost, but the game or the main window keeps the keyboard.
    ShowWindow(m_hwnd, SW_SHOWNA);
}

void FormPopup::setOuterSize(int width, int height)
{
    SetWindowPos(m_hwnd, nullptr, 0, 0, std::max(1, width), std::max(1, height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormPopup::setMessage(const std::string& text)
{
    const std::wstring shown = Utf8ToWide(text);
    SetWindowTextW(m_lblPopUpMsg, shown.c_str());
    const SIZE label = TextSize(m_lblPopUpMsg, shown, m_font);
    const SIZE inner = InnerSize(m_hwnd);
    const SIZE outer = OuterSize(m_hwnd);
    const PopupPlacement placement =
        CentrePopupLabel(PixelSize{inner.cx, inner.cy}, PixelSize{outer.cx, outer.cy},
                         PixelSize{label.cx, label.cy});
    if (placement.outerWidth || placement.outerHeight) {
        const int width = placement.outerWidth.value_or(outer.cx);
        const int height = placement.outerHeight.value_or(outer.cy);
        m_program.popup.widthTwips = width * kTwipsPerPixel;
        m_program.popup.heightTwips = height * kTwipsPerPixel;
        setOuterSize(width, height);
    }
    MoveWindow(m_lblPopUpMsg, placement.label.x, placement.label.y, label.cx, label.cy, FALSE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    UpdateWindow(m_hwnd);
}

bool FormPopup::userClose()
{
    if (m_program.flags.ProgramClosing) {
        close();
        return true;
    }
    const std::string kept = text();
    ++m_closeAttempts;
    // Ticks and commands run during the pauses; one of them may hide the window meanwhile.
    for (const RemarkFrame& frame :
         PopupRemark(m_closeAttempts, m_program.settings.SearchWindowClass)) {
        setMessage(frame.text);
        m_program.services.scheduler.WaitMs(frame.pauseMs);
    }
    setMessage(kept);
    return false;
}

void FormPopup::close()
{
    m_accepting = true;
    SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
    m_accepting = false;
}

LRESULT CALLBACK FormPopup::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormPopup*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (!self->m_hwnd)
        self->m_hwnd = hwnd;
    return self->handle(message, wParam, lParam);
}

LRESULT FormPopup::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // Only the close box and the system menu reach here unasked; the program's closes
        // and the end of the session go through close() or the program's own flag.
        if (m_accepting || m_program.flags.ProgramClosing)
            ShowWindow(m_hwnd, SW_HIDE);
        else
            userClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

} // namespace kesmaro
