#pragma once

// A few helpers for the windows' child controls: made at a designed position, scaled to the
// window's DPI, with UTF-8 text. Plain functions over HWNDs, not a framework.

#include "platform/PixelBuffer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <windows.h>

namespace kesmaro::win32 {

// Every position in the windows was designed at 96 DPI.
constexpr int kDesignDpi = 96;

// A designed rectangle: left, top, width, height in 96-DPI pixels.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// The DPI of the window's monitor (GetDpiForWindow, Windows 10 1607 and later), else the
// system's, else 96.
int WindowDpi(HWND window);
// A designed length at `dpi`, rounded to the nearest pixel.
int Scaled(int designed, int dpi);
// A length at `dpi` back in designed pixels.
int Unscaled(int actual, int dpi);

// The class of one of our top-level windows: the dialog background and the arrow pointer;
// `programIcon` gives it the executable's icon. A class registered before stays as it is.
struct FormClass {
    const wchar_t* name = nullptr;
    WNDPROC procedure = DefWindowProcW; // or the instance's own, set once the window exists
    UINT style = 0;
    bool programIcon = false;
};
void RegisterFormClass(const FormClass& form);

// Registers the container class (once): a plain child that forwards its children's commands,
// colour and owner-draw requests to its own parent and paints an etched frame, with its text
// as the frame's caption when it has one.
const wchar_t* PanelClass();

// One control at a designed position under `parent`; the position scaled by `dpi`.
HWND CreateControl(HWND parent, const wchar_t* windowClass, std::string_view text, DWORD style,
                   const Box& where, int id, int dpi, DWORD exStyle = 0);
HWND CreateLabel(HWND parent, std::string_view text, const Box& where, int id, int dpi,
                 DWORD align = SS_LEFT);
HWND CreateButton(HWND parent, std::string_view text, const Box& where, int id, int dpi,
                  DWORD style = BS_PUSHBUTTON);
HWND CreatePanel(HWND parent, std::string_view caption, const Box& where, int id, int dpi);
// A container without a frame (a tab page): forwards like the panel, paints only its background.
HWND CreatePage(HWND parent, const Box& where, int id, int dpi);

// Moves a control to a designed rectangle.
void PlaceControl(HWND control, const Box& where, int dpi);

void SetText(HWND window, std::string_view utf8);
std::string GetText(HWND window);

// The descendant of `root` with this control id (children of panels included), or null.
HWND FindControl(HWND root, int id);

// The fonts: the interface's proportional Japanese face and the log's fixed-pitch one, each
// 12 designed pixels high. Made once per DPI and kept until the program ends.
HFONT InterfaceFont(int dpi);
HFONT LogFont(int dpi);
// The face names chosen, for the report and the tests.
std::wstring InterfaceFaceName();
std::wstring LogFaceName();

// Sets the font of a window and all its descendants.
void SetFontTree(HWND root, HFONT font);

// A stored colour: the high bit marks a system colour index, otherwise 0x00BBGGRR as COLORREF.
COLORREF StoredColour(std::uint32_t value);

// Draws a picture stretched over `target`; nothing when the picture is incomplete.
void DrawPixels(HDC dc, const RECT& target, const PixelBuffer& pixels);

// A modal message loop for `dialog`, which is shown: the thread's other top-level windows take
// no input meanwhile, while every window's timers keep running because their messages are
// dispatched here. `filter` sees each message first (true: handled); the rest go through
// IsDialogMessage for the Tab key. Returns once `finished` is true, the other windows enabled
// again.
void RunModal(HWND dialog, const std::function<bool()>& finished,
              const std::function<bool(MSG&)>& filter);

} // namespace kesmaro::win32
