#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <windowsx.h>
// clang-format on

#include "app/Command.h"
#include "app/MainWindowEvents.h"
#include "app/MainWindowGeometry.h"
#include "app/MainWindowLogic.h"
#include "common/Utf8.h"
#include "measurement/StatusLine.h"
#include "records/DebugItems.h"
#include "state/Program.h"
#include "ui/win32/FormMain.h"
#include "ui/win32/GraphWindow.h"

#include <algorithm>
#include <vector>

namespace kesmaro {

using win32::Box;
using win32::Scaled;
using win32::Unscaled;

namespace {

// The column header the runs write into txtLog, shown above it in the same face.
constexpr std::string_view kLogColumns =
    " 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     ｺｲﾝ時給 ";

constexpr int kLeftColumnWidth = 465;
constexpr int kTxtLogLeft = 8;
constexpr UINT_PTR kStatusTimer = 1;
// How long a failure has lasted moves on between captures.
constexpr UINT kStatusIntervalMs = 15000;

constexpr std::array<std::string ResultLabels::*, 12> kResultFields{
    &ResultLabels::lblStartTime,  &ResultLabels::lblEndTime,  &ResultLabels::lblElapseTime,
    &ResultLabels::lblStartLv,    &ResultLabels::lblEndLv,    &ResultLabels::lblElapseLv,
    &ResultLabels::lblStartExp,   &ResultLabels::lblEndExp,   &ResultLabels::lblElapseExp,
    &ResultLabels::lblStartMoney, &ResultLabels::lblEndMoney, &ResultLabels::lblElapseMoney};

constexpr const wchar_t* kWindowClass = L"KesmaroFormMain";

int CommandId(Command command)
{
    return IdCommandBase + static_cast<int>(command);
}

// The text box counts UTF-16 units; the log's caret counts characters.
int EditPosition(std::string_view text, int caret)
{
    const std::string_view before = Utf8Left(text, static_cast<std::size_t>(std::max(caret, 0)));
    return static_cast<int>(Utf8ToWide(before).size());
}

} // namespace

FormMain::FormMain(Program& p) : m_program(p)
{
    win32::RegisterFormClass({kWindowClass, DefWindowProcW, CS_DBLCLKS, true});
    // The window procedure finds this object from the creation parameter on.
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormMain::Proc));
    m_dpi = win32::WindowDpi(m_window);
    build();
}

FormMain::~FormMain()
{
    if (m_window) {
        KillTimer(m_window, kStatusTimer);
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
        DestroyWindow(m_window);
    }
}

HWND FormMain::placed(HWND control, const Box& where)
{
    m_designed[control] = where;
    return control;
}

void FormMain::build()
{
    buildMenus();
    buildResultTable();

    m_cmdTempStop = placed(win32::CreateButton(m_window, "一時停止", {8, 96, 73, 33}, IdCmdTempStop,
                                               m_dpi, BS_OWNERDRAW),
                           {8, 96, 73, 33});

    buildCaptureRows();

    placed(win32::CreateLabel(m_window, kLogColumns, {11, 136, 438, 13}, IdLogTitle, m_dpi),
           {11, 136, 438, 13});
    m_txtLog =
        placed(win32::CreateControl(m_window, L"EDIT", "",
                                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                                        WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                                    {kTxtLogLeft, kTxtLogTop, kLeftColumnWidth, 197}, IdTxtLog,
                                    m_dpi, WS_EX_CLIENTEDGE),
               {kTxtLogLeft, kTxtLogTop, kLeftColumnWidth, 197});
    // The log keeps 512 lines, more than the default limit's 32 767 characters.
    SendMessageW(m_txtLog, EM_SETLIMITTEXT, 0, 0);

    buildDebugFrame();
    m_graph = createGraphFrame();
    buildStatusLine();

    win32::SetFontTree(m_window, win32::InterfaceFont(m_dpi));
    SendMessageW(m_txtLog, WM_SETFONT, reinterpret_cast<WPARAM>(win32::LogFont(m_dpi)), FALSE);
    SendMessageW(win32::FindControl(m_window, IdLogTitle), WM_SETFONT,
                 reinterpret_cast<WPARAM>(win32::LogFont(m_dpi)), FALSE);
}

HWND FormMain::createGraphFrame()
{
    HWND graph = CreateGraphWindow(m_window, m_program, IdFrmGraph);
    win32::PlaceControl(graph, {kGraphFrameLeft, kGraphFrameTop, 385, 361}, m_dpi);
    ShowWindow(graph, SW_HIDE);
    return graph;
}

void FormMain::buildMenus()
{
    HMENU bar = CreateMenu();
    const auto item = [](HMENU menu, const char* caption, Command command) {
        const std::wstring text = Utf8ToWide(caption);
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(CommandId(command)), text.c_str());
    };
    const auto popup = [&](const char* caption) {
        HMENU menu = CreatePopupMenu();
        const std::wstring text = Utf8ToWide(caption);
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), text.c_str());
        return menu;
    };
    HMENU file = popup("ファイル");
    item(file, "パターン保存", Command::PatternSave);
    item(file, "終了", Command::End);

    m_menuConfig = popup("設定");
    item(m_menuConfig, "オプション...", Command::Option);
    item(m_menuConfig, "マウスジェスチャ", Command::Gesture);
    item(m_menuConfig, "デバッグモード", Command::DebugMode);

    item(bar, "開始", Command::Run);
    item(bar, "停止", Command::Stop);

    HMENU tools = popup("ツール");
    item(tools, "らんだまーオンリーONE", Command::RandomOne);
    item(tools, "らんだまーステキなサムシング", Command::RandomSome);
    item(tools, "プリントスクリーン", Command::PrtScr);

    HMENU help = popup("ヘルプ");
    item(help, "クイックリファレンス", Command::QuickReference);
    item(help, "使用方法", Command::HowToUse);
    item(help, "よんで！", Command::ReadMe);
    item(help, "実行環境調査", Command::OperatingInfo);
    item(help, "バージョン情報...", Command::Version);
    SetMenu(m_window, bar);
}

void FormMain::buildResultTable()
{
    const Box frame{8, 4, kLeftColumnWidth, 85};
    m_frame1 = placed(win32::CreatePanel(m_window, "測定状況", frame, IdFrame1, m_dpi), frame);

    // Columns: the row titles, then time, level, Exp and money values. Inside the frame.
    struct Column {
        int left;
        int width;
        const char* title;
    };
    const std::array<Column, 4> columns{
        {{56, 132, "時 刻"}, {195, 50, "Lv"}, {269, 72, "Exp"}, {350, 100, "ｺｲﾝ"}}};
    const std::array<int, 3> rows{32, 48, 68};
    const std::array<const char*, 3> rowTitles{"開始：", "最終：", "増加："};

    for (const Column& c : columns) {
        const Box where{c.left, 14, c.width, 14};
        placed(win32::CreateLabel(m_frame1, c.title, where, 0, m_dpi, SS_CENTER), where);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // The last row ends above the frame's bottom edge.
        const int height = r + 1 == rows.size() ? 14 : 16;
        const Box title{16, rows[r], 40, height};
        placed(win32::CreateLabel(m_frame1, rowTitles[r], title, 0, m_dpi), title);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::size_t i = c * 3 + r;
            const Box where{columns[c].left, rows[r], columns[c].width, height};
            m_results[i] =
                placed(win32::CreateLabel(m_frame1, "", where, IdResultFirst + static_cast<int>(i),
                                          m_dpi, c == 0 ? SS_LEFT : SS_RIGHT),
                       where);
        }
    }
    // Etched separators: the shadow row above the highlight row.
    const int lineWidth = kLeftColumnWidth - 16;
    const std::array<Box, 4> lines{Box{8, 29, lineWidth, 1}, Box{8, 30, lineWidth, 1},
                                   Box{8, 65, lineWidth, 1}, Box{8, 66, lineWidth, 1}};
    for (std::size_t i = 0; i < lines.size(); ++i)
        m_lines[i] = placed(win32::CreateControl(m_frame1, L"STATIC", "", SS_LEFT, lines[i],
                                                 IdLine1 + static_cast<int>(i), m_dpi),
                            lines[i]);
}

void FormMain::buildCaptureRows()
{
    struct Row {
        int left;
        int titleWidth;
        const char* title;
    };
    const std::array<Row, 3> rows{
        {{96, 48, "Lv読込→"}, {184, 54, "Exp読込→"}, {304, 56, "ｺｲﾝ読込→"}}};
    const std::array<int, 3> valueWidths{36, 64, 104};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int index = static_cast<int>(i);
        const Box title{rows[i].left, 96, rows[i].titleWidth, 16};
        placed(
            win32::CreateLabel(m_window, rows[i].title, title, IdCaptureTitleFirst + index, m_dpi),
            title);
        const Box value{rows[i].left + rows[i].titleWidth, 96, valueWidths[i], 16};
        m_lblCapture[i] =
            placed(win32::CreateLabel(m_window, "", value, IdCaptureFirst + index, m_dpi), value);
    }
    // The region pictures: the level, Exp and coin areas under their rows, the Exp area's
    // second position beside the first, the other coin area under the first.
    const std::array<Box, 5> pictures{Box{96, 112, 84, 22}, Box{184, 112, 50, 22},
                                      Box{304, 112, 161, 10}, Box{236, 112, 50, 22},
                                      Box{304, 123, 161, 10}};
    for (std::size_t i = 0; i < pictures.size(); ++i)
        m_picCapture[i] =
            placed(win32::CreateControl(m_window, L"STATIC", "", SS_OWNERDRAW, pictures[i],
                                        IdPictureFirst + static_cast<int>(i), m_dpi),
                   pictures[i]);
}

void FormMain::buildDebugFrame()
{
    const Box frame{8, 352, kLeftColumnWidth, kFrmDebugHeight};
    m_frmDebug = placed(win32::CreatePanel(m_window, "", frame, IdFrmDebug, m_dpi), frame);
    const Box capture{248, 4, 73, 25};
    const Box recognize{320, 4, 73, 25};
    const Box elapse{392, 4, 70, 25};
    m_cmdCapture = placed(
        win32::CreateButton(m_frmDebug, "キャプチャ", capture, IdCmdCapture, m_dpi), capture);
    m_cmdRecognize = placed(
        win32::CreateButton(m_frmDebug, "認 識", recognize, IdCmdRecognize, m_dpi), recognize);
    m_lblElapse =
        placed(win32::CreateLabel(m_frmDebug, "", elapse, IdLblElapse, m_dpi, SS_RIGHT), elapse);
    ShowWindow(m_frmDebug, SW_HIDE);
}

void FormMain::buildStatusLine()
{
    m_status =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdStatusLine)),
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_status, WM_SETFONT, reinterpret_cast<WPARAM>(win32::InterfaceFont(m_dpi)),
                 FALSE);
    SendMessageW(m_status, WM_SIZE, 0, 0);
    SetTimer(m_window, kStatusTimer, kStatusIntervalMs, nullptr);
}

int FormMain::statusLineHeight() const
{
    if (!m_status || !IsWindowVisible(m_status))
        return 0;
    RECT r;
    GetWindowRect(m_status, &r);
    return r.bottom - r.top;
}

WindowFrame FormMain::rulesFrame() const
{
    RECT r;
    GetWindowRect(m_window, &r);
    return {r.left, r.top, Unscaled(r.right - r.left, m_dpi),
            Unscaled(r.bottom - r.top - statusLineHeight(), m_dpi)};
}

PixelSize FormMain::graphFrameSize() const
{
    return m_graphFrame;
}

void FormMain::showStatus()
{
    // The closing sequence writes the last debug lines itself.
    if (m_program.flags.ProgramClosing || !m_status)
        return;
    const StatusTexts texts = ComputeStatusLine(m_program);
    const std::array<const std::string*, 3> parts{&texts.nextLevel, &texts.rolling, &texts.health};
    // The first two keep their text whole; the health reason takes what is left.
    HDC dc = GetDC(m_status);
    HGDIOBJ old = SelectObject(dc, win32::InterfaceFont(m_dpi));
    std::array<int, 3> edges{};
    int right = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::wstring text = Utf8ToWide(*parts[i]);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        right += extent.cx + Scaled(12, m_dpi);
        edges[i] = i + 1 == parts.size() ? -1 : right;
    }
    SelectObject(dc, old);
    ReleaseDC(m_status, dc);
    SendMessageW(m_status, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::wstring text = Utf8ToWide(*parts[i]);
        SendMessageW(m_status, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
    const std::string logged = texts.logText();
    // Logged from the window's showing on, once the start has opened the debug log.
    if (IsWindowVisible(m_window) && logged != m_statusLogged) {
        m_statusLogged = logged;
        m_program.log.WriteDebugLog(logged);
    }
}

void FormMain::load()
{
    win32::SetText(m_window, kProgramTitle);
    if (!m_program.flags.DebugMode) {
        for (HWND picture : m_picCapture)
            ShowWindow(picture, SW_HIDE);
    }
    // The designed size: the inner area, the status line below it, the frame around both.
    RECT outer;
    RECT client;
    GetWindowRect(m_window, &outer);
    GetClientRect(m_window, &client);
    const int frameWidth = (outer.right - outer.left) - (client.right - client.left);
    const int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
    const int designedWidth = Scaled(kDesignedInnerSize.width, m_dpi) + frameWidth;
    const int designedHeight =
        Scaled(kDesignedInnerSize.height, m_dpi) + frameHeight + statusLineHeight();

    RECT work{0, 0, designedWidth, designedHeight};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const PixelRect designed{
        (work.left + work.right - designedWidth) / 2, (work.top + work.bottom - designedHeight) / 2,
        Unscaled(designedWidth, m_dpi), Unscaled(designedHeight - statusLineHeight(), m_dpi)};
    std::vector<PixelRect> screens;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT area, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<PixelRect>*>(data)->push_back(
                {area->left, area->top, area->right - area->left, area->bottom - area->top});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&screens));
    const CaptureRect& saved = m_program.settings.WindowPosition;
    const PixelRect placedAt = LoadGeometry(saved, designed, screens);
    SetWindowPos(m_window, nullptr, placedAt.left, placedAt.top, Scaled(placedAt.width, m_dpi),
                 Scaled(placedAt.height, m_dpi) + statusLineHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_loaded = true;
    m_sized = false;
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
    // The size rules run once for the size the window was shown at, whether or not showing
    // it sent a size message.
    if (!m_sized)
        innerResized();
    showStatus();
}

void FormMain::applyOuterSize(std::optional<int> width, std::optional<int> height)
{
    RECT r;
    GetWindowRect(m_window, &r);
    const int currentWidth = r.right - r.left;
    const int currentHeight = r.bottom - r.top;
    const int newWidth = width ? Scaled(*width, m_dpi) : currentWidth;
    const int newHeight = height ? Scaled(*height, m_dpi) + statusLineHeight() : currentHeight;
    if (newWidth != currentWidth || newHeight != currentHeight)
        SetWindowPos(m_window, nullptr, 0, 0, newWidth, newHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormMain::placeFrame(const FrameChange& change)
{
    if (change.left || change.top) {
        RECT r;
        GetWindowRect(m_window, &r);
        SetWindowPos(m_window, nullptr, change.left.value_or(r.left), change.top.value_or(r.top), 0,
                     0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (change.width || change.height)
        applyOuterSize(change.width, change.height);
}

void FormMain::innerResized()
{
    if (!m_loaded || m_program.flags.ProgramClosing)
        return;
    m_sized = true;
    SendMessageW(m_status, WM_SIZE, 0, 0);
    RECT client;
    GetClientRect(m_window, &client);
    const PixelSize inner{Unscaled(client.right, m_dpi),
                          Unscaled(client.bottom - statusLineHeight(), m_dpi)};
    const WindowFrame frame = rulesFrame();
    const std::optional<ResizeRules> rules =
        Form_Resize(m_program, inner, PixelRect{frame.left, frame.top, frame.width, frame.height},
                    IsIconic(m_window) != FALSE);
    if (!rules)
        return;
    if (rules->graphVisible) {
        m_graphFrame = rules->graphFrame;
        win32::PlaceControl(
            m_graph, {kGraphFrameLeft, kGraphFrameTop, m_graphFrame.width, m_graphFrame.height},
            m_dpi);
    }
    ShowWindow(m_graph, rules->graphVisible ? SW_SHOWNA : SW_HIDE);
    // The etched line under the menu bar runs the whole width.
    RECT top{0, 0, client.right, 2};
    InvalidateRect(m_window, &top, FALSE);
    if (rules->outerWidth || rules->outerHeight)
        applyOuterSize(rules->outerWidth, rules->outerHeight);
}

void FormMain::showResults()
{
    const ResultLabels& r = m_program.results;
    for (std::size_t i = 0; i < m_results.size(); ++i)
        win32::SetText(m_results[i], r.*kResultFields[i]);
    showStatus();
    for (std::size_t i = 0; i < m_lblCapture.size(); ++i)
        showCaptureSlot(static_cast<int>(i));
    win32::SetText(m_lblElapse, r.lblElapse);
}

void FormMain::showLog()
{
    const std::string& text = m_program.txtLog.text();
    win32::SetText(m_txtLog, text);
    const int caret = EditPosition(text, m_program.txtLog.caretPosition());
    SendMessageW(m_txtLog, EM_SETSEL, static_cast<WPARAM>(caret), caret);
    SendMessageW(m_txtLog, EM_SCROLLCARET, 0, 0);
    SendMessageW(m_txtLog, WM_HSCROLL, SB_LEFT, 0);
    showStatus();
}

void FormMain::showGraph()
{
    RefreshGraph(m_graph);
}

void FormMain::showCaptureSlot(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(m_lblCapture.size()))
        return;
    HWND label = m_lblCapture[static_cast<std::size_t>(slot)];
    win32::SetText(label, m_program.results.lblCapture[static_cast<std::size_t>(slot)]);
    // The recognizer shows its progress while it works, inside one message.
    UpdateWindow(label);
}

void FormMain::showPicture(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(m_picCapture.size()))
        return;
    InvalidateRect(m_picCapture[static_cast<std::size_t>(slot)], nullptr, TRUE);
}

void FormMain::showMenus()
{
    const MenuState& m = m_program.menus;
    HMENU bar = GetMenu(m_window);
    const std::wstring runCaption = Utf8ToWide(m.menuRunCaption);
    const UINT runId = static_cast<UINT>(CommandId(Command::Run));
    ModifyMenuW(bar, runId, MF_BYCOMMAND | MF_STRING | (m.menuRunEnabled ? MF_ENABLED : MF_GRAYED),
                runId, runCaption.c_str());
    EnableMenuItem(bar, static_cast<UINT>(CommandId(Command::Stop)),
                   MF_BYCOMMAND | (m.menuStopEnabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(m_window);
    InvalidateRect(m_cmdTempStop, nullptr, TRUE);
    EnableWindow(m_cmdCapture, m.cmdCaptureEnabled);
    EnableWindow(m_cmdRecognize, m.cmdRecognizeEnabled);

    const DebugItemLayout debug = DebugItemGeometry(m.frmDebugVisible, m.innerHeight);
    const int show = debug.debugItemsVisible ? SW_SHOWNA : SW_HIDE;
    ShowWindow(m_frmDebug, show);
    for (HWND picture : m_picCapture)
        ShowWindow(picture, show);
    if (debug.frmDebugTop) {
        Box frame = m_designed[m_frmDebug];
        frame.top = *debug.frmDebugTop;
        win32::PlaceControl(m_frmDebug, frame, m_dpi);
        m_designed[m_frmDebug] = frame;
    }
    const Box log{kTxtLogLeft, kTxtLogTop, kLeftColumnWidth, debug.txtLogHeight};
    win32::PlaceControl(m_txtLog, log, m_dpi);
    m_designed[m_txtLog] = log;
}

void FormMain::refreshConfigMarks()
{
    CheckMenuItem(m_menuConfig, static_cast<UINT>(CommandId(Command::DebugMode)),
                  MF_BYCOMMAND | (m_program.flags.DebugMode ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(m_menuConfig, static_cast<UINT>(CommandId(Command::Gesture)),
                  MF_BYCOMMAND | (m_program.settings.GestureEnabled ? MF_CHECKED : MF_UNCHECKED));
}

void FormMain::refreshAll()
{
    RedrawWindow(m_window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FormMain::setBusy(bool on)
{
    m_busy = std::max(0, m_busy + (on ? 1 : -1));
    // The pointer changes at once, not at its next move.
    SetCursor(LoadCursorW(nullptr, m_busy > 0 ? IDC_WAIT : IDC_ARROW));
}

void FormMain::close()
{
    if (m_closed)
        return;
    m_closed = true;
    // Never cancelled: the close box, the End command and the system all end the program.
    if (!m_program.flags.ProgramClosing) {
        FormMain_QueryUnload(m_program);
        FormMain_Unload(m_program);
    }
    closed();
}

void FormMain::closed()
{
    KillTimer(m_window, kStatusTimer);
    ShowWindow(m_window, SW_HIDE);
    if (onClosed)
        onClosed();
}

void FormMain::backgroundClicked(POINT at)
{
    // A click on the background only: the controls on it take their own clicks (labels let
    // them through to the window, so they are looked for here).
    HWND under = ChildWindowFromPointEx(m_window, at, CWP_SKIPINVISIBLE);
    if (under && under != m_window)
        return;
    Execute(m_program, Command::WindowRefresh);
}

bool FormMain::drawItem(const DRAWITEMSTRUCT& item)
{
    const int id = static_cast<int>(item.CtlID);
    if (id == IdCmdTempStop) {
        // Owner drawn: a themed push button ignores its background colour.
        RECT r = item.rcItem;
        HBRUSH face = CreateSolidBrush(win32::StoredColour(m_program.menus.cmdTempStopBackColor));
        FillRect(item.hDC, &r, face);
        DeleteObject(face);
        DrawEdge(item.hDC, &r, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED,
                 BF_RECT);
        const std::wstring caption = Utf8ToWide(win32::GetText(item.hwndItem));
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (item.itemState & ODS_FOCUS) {
            InflateRect(&r, -Scaled(4, m_dpi), -Scaled(4, m_dpi));
            DrawFocusRect(item.hDC, &r);
        }
        return true;
    }
    if (id >= IdPictureFirst && id < IdPictureFirst + static_cast<int>(m_picCapture.size())) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        const PixelBuffer& pixels =
            m_program.picCapture[static_cast<std::size_t>(id - IdPictureFirst)];
        if (!pixels.isWhole())
            return true;
        // Shown at the captured size from the top left, as the picture box shows an image.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = pixels.width;
        info.bmiHeader.biHeight = -pixels.height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(item.hDC, item.rcItem.left, item.rcItem.top,
                          static_cast<DWORD>(pixels.width), static_cast<DWORD>(pixels.height), 0, 0,
                          0, static_cast<UINT>(pixels.height), pixels.bgra.data(), &info,
                          DIB_RGB_COLORS);
        return true;
    }
    return false;
}

HBRUSH FormMain::controlColour(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    if (id >= IdLine1 && id < IdLine1 + 4) {
        // Line1 and Line3 in the shadow colour, Line2 and Line4 in the highlight colour.
        const int colour = (id - IdLine1) % 2 == 0 ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
        SetBkColor(dc, GetSysColor(colour));
        return GetSysColorBrush(colour);
    }
    if (control == m_txtLog) {
        // Read-only, yet shown as a text box, not greyed.
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void FormMain::dpiChanged(int dpi, const RECT& suggested)
{
    m_dpi = dpi;
    for (const auto& [control, where] : m_designed)
        win32::PlaceControl(control, where, dpi);
    win32::SetFontTree(m_window, win32::InterfaceFont(dpi));
    SendMessageW(m_txtLog, WM_SETFONT, reinterpret_cast<WPARAM>(win32::LogFont(dpi)), FALSE);
    SendMessageW(win32::FindControl(m_window, IdLogTitle), WM_SETFONT,
                 reinterpret_cast<WPARAM>(win32::LogFont(dpi)), FALSE);
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    refreshAll();
}

LRESULT CALLBACK FormMain::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<FormMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT FormMain::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= IdCommandBase && HIWORD(wParam) == 0 && lParam == 0) {
            Execute(m_program, static_cast<Command>(id - IdCommandBase));
            refreshConfigMarks();
            return 0;
        }
        if (HIWORD(wParam) == BN_CLICKED) {
            if (id == IdCmdTempStop)
                Execute(m_program, Command::TempStop);
            else if (id == IdCmdCapture)
                Execute(m_program, Command::Capture);
            else if (id == IdCmdRecognize)
                Execute(m_program, Command::Recognize);
        }
        return 0;
    }
    case WM_INITMENUPOPUP:
        // The marks follow the flags, which the options window changes too.
        if (reinterpret_cast<HMENU>(wParam) == m_menuConfig)
            refreshConfigMarks();
        return 0;
    case WM_DRAWITEM:
        if (drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            controlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        RECT client;
        GetClientRect(m_window, &client);
        // The etched line under the menu bar: shadow on row 0, highlight on row 1.
        RECT shadow{0, 0, client.right, 1};
        RECT highlight{0, 1, client.right, 2};
        FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
        FillRect(dc, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_SIZE:
        innerResized();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && m_loaded && !m_program.flags.ProgramClosing)
            Form_Activate(m_program, m_graphFrame);
        break;
    case WM_LBUTTONUP:
        backgroundClicked(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_SETCURSOR:
        if (m_busy > 0) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wParam == kStatusTimer) {
            showStatus();
            return 0;
        }
        break;
    case WM_DPICHANGED:
        dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

} // namespace kesmaro
