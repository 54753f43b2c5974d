#pragma once

#include "state/GraphPicture.h" // PixelSize
#include "state/ProgramView.h"
#include "ui/win32/Controls.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <windows.h>

namespace kesmaro {

struct Program;

// The control ids of the main window's children, for the tests and the other windows.
enum FormMainId : int {
    IdFrame1 = 100,
    // lblStartTime, lblEndTime, lblElapseTime, then the level, Exp and money columns alike.
    IdResultFirst = 110,
    IdLine1 = 130, // to IdLine1 + 3 (Line4)
    IdCmdTempStop = 140,
    IdCaptureTitleFirst = 150, // lblCapture_t of the level, Exp and coin rows
    IdCaptureFirst = 155,      // lblCapture(0) to (2)
    IdPictureFirst = 160,      // picCapture(0) to (4)
    IdLogTitle = 170,
    IdTxtLog = 171,
    IdFrmDebug = 180,
    IdCmdCapture = 181,
    IdCmdRecognize = 182,
    IdLblElapse = 183,
    IdFrmGraph = 190,
    IdStatusLine = 195,
    // A menu item's id is this plus its Command's value.
    IdCommandBase = 1000,
};

// The main window: a view of the program state. Each notification reads the state back; every
// menu item and button runs its command through Execute. Positions are the designed 96-DPI
// pixels scaled to the window's DPI; the core's size rules see designed pixels.
class FormMain {
public:
    explicit FormMain(Program& p);
    ~FormMain();
    FormMain(const FormMain&) = delete;
    FormMain& operator=(const FormMain&) = delete;

    HWND hwnd() const { return m_window; }

    // The window's steps of loading: caption, debug pictures, position, shown.
    void load();

    void showResults();
    void showLog();
    void showGraph();
    void showCaptureSlot(int slot);
    void showPicture(int slot);
    void showMenus();
    void refreshAll();
    // The status line from the program state; its texts go to the debug log when they change.
    void showStatus();
    void setBusy(bool on);

    // Moves or resizes the window by its outer frame (designed pixels for the size).
    void placeFrame(const FrameChange& change);
    // The outer frame as the size rules and the remembered position count it: without the
    // status line, its size in designed pixels.
    WindowFrame rulesFrame() const;
    // The graph frame's size in designed pixels as the size rules last set it.
    PixelSize graphFrameSize() const;

    // Hides the window; the close sequence runs first unless it has run already.
    void close();

    // Called once the window has closed and the close sequence has run.
    std::function<void()> onClosed;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void build();
    void buildMenus();
    void buildResultTable();
    void buildCaptureRows();
    void buildDebugFrame();
    void buildStatusLine();
    HWND createGraphFrame();
    void innerResized();
    void applyOuterSize(std::optional<int> width, std::optional<int> height);
    void refreshConfigMarks();
    int statusLineHeight() const;
    void closed();
    bool drawItem(const DRAWITEMSTRUCT& item);
    HBRUSH controlColour(HDC dc, HWND control);
    void backgroundClicked(POINT at);
    HWND placed(HWND control, const win32::Box& where);
    void dpiChanged(int dpi, const RECT& suggested);

    Program& m_program;
    HWND m_window = nullptr;
    int m_dpi = 96;
    bool m_loaded = false;
    bool m_sized = false; // the size rules have run since loading
    bool m_closed = false;
    int m_busy = 0;
    HMENU m_menuConfig = nullptr;
    HWND m_frame1 = nullptr;
    HWND m_txtLog = nullptr;
    HWND m_frmDebug = nullptr;
    HWND m_graph = nullptr;
    HWND m_status = nullptr;
    HWND m_cmdTempStop = nullptr;
    HWND m_cmdCapture = nullptr;
    HWND m_cmdRecognize = nullptr;
    HWND m_lblElapse = nullptr;
    std::array<HWND, 12> m_results{};
    std::array<HWND, 4> m_lines{};
    std::array<HWND, 3> m_lblCapture{};
    std::array<HWND, 5> m_picCapture{};
    PixelSize m_graphFrame{385, 361};
    std::string m_statusLogged;
    // Every child at its designed rectangle, placed again when the DPI changes.
    std::map<HWND, win32::Box> m_designed;
};

} // namespace kesmaro
