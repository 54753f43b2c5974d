#include "ui/win32/Controls.h"

#include "common/Utf8.h"

#include <map>
#include <vector>

namespace kesmaro::win32 {

namespace {

constexpr int kFontPixels = 12;

// A face is installed when the font enumeration names it.
bool FaceInstalled(const std::wstring& face, BYTE charset)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = charset;
    wcsncpy_s(wanted.lfFaceName, LF_FACESIZE, face.c_str(), _TRUNCATE);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
            *reinterpret_cast<bool*>(data) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

// The first installed fixed-pitch face with Japanese characters, skipping the vertical ('@')
// variants.
std::wstring AnyFixedPitchJapaneseFace()
{
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    std::wstring found;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
            if ((font->lfPitchAndFamily & 0x3) != FIXED_PITCH || font->lfFaceName[0] == L'@')
                return 1;
            *reinterpret_cast<std::wstring*>(data) = font->lfFaceName;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

std::wstring FirstInstalled(std::initializer_list<const wchar_t*> faces, BYTE charset)
{
    for (const wchar_t* face : faces)
        if (FaceInstalled(face, charset))
            return face;
    return {};
}

HFONT MakeFont(const std::wstring& face, int dpi, BYTE pitch)
{
    LOGFONTW font{};
    // Negative: the character height without the internal leading, as a pixel size is meant.
    font.lfHeight = -Scaled(kFontPixels, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = pitch;
    wcsncpy_s(font.lfFaceName, LF_FACESIZE, face.c_str(), _TRUNCATE);
    return CreateFontIndirectW(&font);
}

struct Fonts {
    std::map<int, HFONT> proportional;
    std::map<int, HFONT> log;
    ~Fonts()
    {
        for (auto& [dpi, font] : proportional)
            DeleteObject(font);
        for (auto& [dpi, font] : log)
            DeleteObject(font);
    }
};

Fonts& TheFonts()
{
    static Fonts fonts;
    return fonts;
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return SendMessageW(GetParent(window), message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT frame;
        GetClientRect(window, &frame);
        const std::string caption = GetText(window);
        if (!caption.empty()) {
            // A group frame: the caption sits on the top edge, which runs through its middle.
            auto* font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
            HGDIOBJ old = SelectObject(dc, font);
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            frame.top += metrics.tmHeight / 2;
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
            const std::wstring text = Utf8ToWide(" " + caption + " ");
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            const int indent = metrics.tmAveCharWidth;
            TextOutW(dc, indent, 0, text.c_str(), static_cast<int>(text.size()));
            SelectObject(dc, old);
        } else {
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_SETFONT:
        SetWindowLongPtrW(window, 0, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(window, 0);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return SendMessageW(GetParent(window), message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

const wchar_t* PageClass()
{
    static const wchar_t* const name = [] {
        WNDCLASSEXW page{};
        page.cbSize = sizeof(page);
        page.lpfnWndProc = PageProc;
        page.hInstance = GetModuleHandleW(nullptr);
        page.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        page.lpszClassName = L"KesmaroPage";
        RegisterClassExW(&page);
        return L"KesmaroPage";
    }();
    return name;
}

} // namespace

int WindowDpi(HWND window)
{
    // Looked up at run time: older systems lack it, and then the system DPI serves.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int Scaled(int designed, int dpi)
{
    return MulDiv(designed, dpi, kDesignDpi);
}

int Unscaled(int actual, int dpi)
{
    return dpi > 0 ? MulDiv(actual, kDesignDpi, dpi) : actual;
}

const wchar_t* PanelClass()
{
    static const wchar_t* const name = [] {
        WNDCLASSEXW panel{};
        panel.cbSize = sizeof(panel);
        panel.lpfnWndProc = PanelProc;
        panel.cbWndExtra = sizeof(LONG_PTR); // the font
        panel.hInstance = GetModuleHandleW(nullptr);
        panel.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        panel.lpszClassName = L"KesmaroPanel";
        RegisterClassExW(&panel);
        return L"KesmaroPanel";
    }();
    return name;
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, std::string_view text, DWORD style,
                   const Box& where, int id, int dpi, DWORD exStyle)
{
    const std::wstring wide = Utf8ToWide(text);
    return CreateWindowExW(
        exStyle, windowClass, wide.c_str(), WS_CHILD | WS_VISIBLE | style, Scaled(where.left, dpi),
        Scaled(where.top, dpi), Scaled(where.width, dpi), Scaled(where.height, dpi), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

HWND CreateLabel(HWND parent, std::string_view text, const Box& where, int id, int dpi, DWORD align)
{
    // Labels show ampersands as they are, as the program's texts mean them.
    return CreateControl(parent, L"STATIC", text, align | SS_NOPREFIX | SS_CENTERIMAGE, where, id,
                         dpi);
}

HWND CreateButton(HWND parent, std::string_view text, const Box& where, int id, int dpi,
                  DWORD style)
{
    return CreateControl(parent, L"BUTTON", text, style | WS_TABSTOP, where, id, dpi);
}

HWND CreatePanel(HWND parent, std::string_view caption, const Box& where, int id, int dpi)
{
    return CreateControl(parent, PanelClass(), caption, WS_CLIPSIBLINGS, where, id, dpi,
                         WS_EX_CONTROLPARENT);
}

void RegisterFormClass(const FormClass& form)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = form.style;
    windowClass.lpfnWndProc = form.procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    if (form.programIcon) {
        windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm = windowClass.hIcon;
    }
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = form.name;
    // A second registration fails with ERROR_CLASS_ALREADY_EXISTS and changes nothing.
    RegisterClassExW(&windowClass);
}

HWND CreatePage(HWND parent, const Box& where, int id, int dpi)
{
    return CreateControl(parent, PageClass(), "", WS_CLIPSIBLINGS, where, id, dpi,
                         WS_EX_CONTROLPARENT);
}

void PlaceControl(HWND control, const Box& where, int dpi)
{
    SetWindowPos(control, nullptr, Scaled(where.left, dpi), Scaled(where.top, dpi),
                 Scaled(where.width, dpi), Scaled(where.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetText(HWND window, std::string_view utf8)
{
    const std::wstring wide = Utf8ToWide(utf8);
    SetWindowTextW(window, wide.c_str());
}

std::string GetText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return WideToUtf8(text);
}

HWND FindControl(HWND root, int id)
{
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        root,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) != s->id)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring InterfaceFaceName()
{
    // The faces a Japanese Windows has, then the one this Wine has.
    static const std::wstring face = [] {
        std::wstring chosen =
            FirstInstalled({L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI", L"Noto Sans CJK JP"},
                           SHIFTJIS_CHARSET);
        return chosen.empty() ? std::wstring(L"MS Shell Dlg 2") : chosen;
    }();
    return face;
}

std::wstring LogFaceName()
{
    static const std::wstring face = [] {
        std::wstring chosen = FirstInstalled(
            {L"ＭＳ ゴシック", L"MS Gothic", L"Noto Sans Mono CJK JP"}, SHIFTJIS_CHARSET);
        if (chosen.empty())
            chosen = AnyFixedPitchJapaneseFace();
        return chosen.empty() ? std::wstring(L"Courier New") : chosen;
    }();
    return face;
}

HFONT InterfaceFont(int dpi)
{
    HFONT& font = TheFonts().proportional[dpi];
    if (!font)
        font = MakeFont(InterfaceFaceName(), dpi, VARIABLE_PITCH | FF_SWISS);
    return font;
}

HFONT LogFont(int dpi)
{
    HFONT& font = TheFonts().log[dpi];
    if (!font)
        font = MakeFont(LogFaceName(), dpi, FIXED_PITCH | FF_MODERN);
    return font;
}

void SetFontTree(HWND root, HFONT font)
{
    SendMessageW(root, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EnumChildWindows(
        root,
        [](HWND child, LPARAM data) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(data), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

COLORREF StoredColour(std::uint32_t value)
{
    if (value & 0x80000000U)
        return GetSysColor(static_cast<int>(value & 0xFF));
    return static_cast<COLORREF>(value & 0xFFFFFF);
}

void DrawPixels(HDC dc, const RECT& target, const PixelBuffer& pixels)
{
    if (!pixels.isWhole())
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Enlarged pixels stay sharp squares; reduced frames keep their thin strokes.
    const bool larger = target.right - target.left >= pixels.width;
    const int oldMode = SetStretchBltMode(dc, larger ? COLORONCOLOR : HALFTONE);
    POINT oldOrigin{};
    if (!larger)
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    StretchDIBits(dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, 0, 0, pixels.width, pixels.height, pixels.bgra.data(),
                  &info, DIB_RGB_COLORS, SRCCOPY);
    if (!larger)
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}

void RunModal(HWND dialog, const std::function<bool()>& finished,
              const std::function<bool(MSG&)>& filter)
{
    struct Disabled {
        HWND dialog;
        std::vector<HWND> windows;
    } disabled{dialog, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* d = reinterpret_cast<Disabled*>(data);
            if (window != d->dialog && IsWindowVisible(window) && IsWindowEnabled(window)) {
                EnableWindow(window, FALSE);
                d->windows.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled));
    MSG message;
    while (!finished()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to the outer loop: handed back once this one ends.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (filter && filter(message))
            continue;
        if (IsDialogMessageW(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Enabled before the dialog hides, so that the activation goes back to its owner.
    for (HWND window : disabled.windows)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}

} // namespace kesmaro::win32
