// The main window over a program on simulated seams, checked through window messages and the
// Windows queries a user's tools would see.

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include "ProgramHarness.h"
#include "app/Command.h"
#include "app/MainWindowGeometry.h"
#include "app/MainWindowLogic.h"
#include "common/Cp932.h"
#include "common/Utf8.h"
#include "measurement/CaptureCycle.h"
#include "measurement/StatusLine.h"
#include "records/DebugItems.h"
#include "records/LoggingRun.h"
#include "ui/win32/Controls.h"
#include "ui/win32/FormMain.h"
#include "ui/win32/Win32View.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;
using win32::Box;

namespace kesmaro::win32 {
void PrintTo(const Box& b, std::ostream* out)
{
    *out << b.left << "/" << b.top << "/" << b.width << "/" << b.height;
}
} // namespace kesmaro::win32

namespace {

// Built before the program, which keeps a reference to it.
struct ViewHolder {
    Win32View m_view;
};

class FormMainTest : public ::testing::Test, private ViewHolder, public test::ProgramHarness {
protected:
    FormMainTest()
        : ProgramHarness({.start = test::At(2024, 5, 1, 10), .defaults = true, .view = &m_view})
    {
        p.settings.StartDelay = 0;
        p.settings.AutoStart = false;
        p.settings.GraphEnabled = false;
        m_view.attach(p);
        m_view.onEnded = [this] { ++m_ended; };
    }

    void load()
    {
        FormMain_Load(p);
        pump();
    }
    static void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    HWND window() const { return m_view.main()->hwnd(); }
    HWND control(int id) const
    {
        HWND found = win32::FindControl(window(), id);
        EXPECT_NE(found, nullptr) << id;
        return found;
    }
    // A control's rectangle in the main window's client coordinates.
    Box boxOf(int id) const
    {
        RECT r;
        GetWindowRect(control(id), &r);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    SIZE inner() const
    {
        RECT client;
        RECT status;
        GetClientRect(window(), &client);
        GetWindowRect(control(IdStatusLine), &status);
        return {client.right, client.bottom - (status.bottom - status.top)};
    }
    std::string text(int id) const { return win32::GetText(control(id)); }
    void command(Command c)
    {
        SendMessageW(window(), WM_COMMAND, static_cast<WPARAM>(IdCommandBase + static_cast<int>(c)),
                     0);
        pump();
    }
    // The colour a control shows at a point of its client area, as painted on the screen.
    COLORREF shownAt(HWND control, POINT at)
    {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(control);
        const COLORREF colour = GetPixel(dc, at.x, at.y);
        ReleaseDC(control, dc);
        return colour;
    }
    bool logged(const std::string& line) const
    {
        const std::vector<std::string> lines = logLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    using ViewHolder::m_view;
    int m_ended = 0;
};

std::string MenuText(HMENU menu, UINT position)
{
    wchar_t buffer[128] = {};
    GetMenuStringW(menu, position, buffer, 128, MF_BYPOSITION);
    return WideToUtf8(buffer);
}

TEST_F(FormMainTest, TheDesignedLayoutStandsAt96Dpi)
{
    if (win32::WindowDpi(window()) != win32::kDesignDpi)
        GTEST_SKIP() << "the designed pixels hold at 96 DPI only";
    p.flags.DebugMode = true;
    load();
    const SIZE size = inner();
    // Without the graph the rules hold the window at its fixed width.
    EXPECT_EQ(m_view.mainWindowFrame().width, kNoGraphWidth);
    EXPECT_EQ(win32::GetText(window()), kProgramTitle);
    const struct {
        const char* name;
        int id;
        Box designed;
    } rows[] = {
        {"Frame1", IdFrame1, {8, 4, 465, 85}},
        {"cmdTempStop", IdCmdTempStop, {8, 96, 73, 33}},
        {"lblLog_t", IdLogTitle, {11, 136, 438, 13}},
        {"Lv row", IdCaptureTitleFirst, {96, 96, 48, 16}},
        {"Exp row", IdCaptureTitleFirst + 1, {184, 96, 54, 16}},
        {"coin row", IdCaptureTitleFirst + 2, {304, 96, 56, 16}},
        {"picCapture(0)", IdPictureFirst, {96, 112, 84, 22}},
        {"picCapture(1)", IdPictureFirst + 1, {184, 112, 50, 22}},
        {"picCapture(2)", IdPictureFirst + 2, {304, 112, 161, 10}},
        // Inside Frame1: the row titles at x 16, the values' columns, rows at y 32, 48, 68.
        {"lblStartTime", IdResultFirst, {8 + 56, 4 + 32, 132, 16}},
        {"lblEndLv", IdResultFirst + 4, {8 + 195, 4 + 48, 50, 16}},
        {"lblElapseExp", IdResultFirst + 8, {8 + 269, 4 + 68, 72, 14}},
        {"lblStartMoney", IdResultFirst + 9, {8 + 350, 4 + 32, 100, 16}},
        // The debug frame at the bottom, its buttons and the elapsed time inside it.
        {"frmDebug", IdFrmDebug, {8, size.cy - 33 - 8, 465, 33}},
        {"cmdCapture", IdCmdCapture, {8 + 248, size.cy - 41 + 4, 73, 25}},
        {"cmdRecognize", IdCmdRecognize, {8 + 320, size.cy - 41 + 4, 73, 25}},
        {"txtLog", IdTxtLog, {8, 152, 465, size.cy - 33 - 152 - 16}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(boxOf(row.id), row.designed);
    }
    EXPECT_EQ(boxOf(IdLblElapse).left, 8 + 392);
    EXPECT_EQ(text(IdFrame1), "測定状況");
    EXPECT_EQ(text(IdCmdTempStop), "一時停止");
    EXPECT_EQ(text(IdCmdRecognize), "認 識");
    EXPECT_EQ(text(IdCaptureTitleFirst + 2), "ｺｲﾝ読込→");
}

TEST_F(FormMainTest, TheSizeRulesCorrectTheOuterFrameAndPlaceTheLogAndGraph)
{
    if (win32::WindowDpi(window()) != win32::kDesignDpi)
        GTEST_SKIP() << "the rules' pixels are designed pixels";
    const struct {
        bool graph;
        int width; // a new outer size
        int height;
        int outerWidth; // after the rules
        int outerHeight;
    } rows[] = {
        {false, 900, 200, kNoGraphWidth, kMinOuterHeight},
        {true, 500, 600, kMinGraphOuterWidth, 600},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.graph ? "graph" : "no graph");
        p.settings.GraphEnabled = row.graph;
        p.settings.WindowMemory = true;
        load();
        m_view.setMainWindowFrame({{}, {}, row.width, row.height});
        pump();
        const WindowFrame outer = m_view.mainWindowFrame();
        EXPECT_EQ(outer.width, row.outerWidth);
        EXPECT_EQ(outer.height, row.outerHeight);
        const CaptureRect remembered = p.settings.WindowPosition;
        EXPECT_EQ(remembered.Width, outer.width);
        EXPECT_EQ(remembered.Height, outer.height);
        const SIZE size = inner();
        const Box txtLog = boxOf(IdTxtLog);
        EXPECT_EQ(txtLog.top + txtLog.height, size.cy - 8);
        EXPECT_EQ(IsWindowVisible(control(IdFrmGraph)) != FALSE, row.graph);
        if (row.graph) {
            EXPECT_EQ(boxOf(IdFrmGraph),
                      (Box{480, 2, std::max<int>(size.cx, 710) - 492, size.cy - 6}));
        }
        EXPECT_EQ(logLines().back(), "Resaizing Form ･･･ End ");
    }
}

TEST_F(FormMainTest, TheMenuTreeCarriesEveryCommandAndItsMarks)
{
    load();
    HMENU bar = GetMenu(window());
    ASSERT_NE(bar, nullptr);
    const std::vector<std::vector<std::string>> tree{
        {"ファイル", "パターン保存", "終了"},
        {"設定", "オプション...", "マウスジェスチャ", "デバッグモード"},
        {"開始"},
        {"停止"},
        {"ツール", "らんだまーオンリーONE", "らんだまーステキなサムシング", "プリントスクリーン"},
        {"ヘルプ", "クイックリファレンス", "使用方法", "よんで！", "実行環境調査",
         "バージョン情報..."},
    };
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(tree.size()));
    for (std::size_t i = 0; i < tree.size(); ++i) {
        SCOPED_TRACE(tree[i][0]);
        const UINT position = static_cast<UINT>(i);
        EXPECT_EQ(MenuText(bar, position), tree[i][0]);
        HMENU sub = GetSubMenu(bar, static_cast<int>(i));
        EXPECT_EQ(sub != nullptr, tree[i].size() > 1);
        if (!sub)
            continue;
        ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(tree[i].size() - 1));
        for (std::size_t j = 1; j < tree[i].size(); ++j)
            EXPECT_EQ(MenuText(sub, static_cast<UINT>(j - 1)), tree[i][j]);
    }
    // Idle: run on, stop off.
    EXPECT_FALSE(GetMenuState(bar, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(bar, 3, MF_BYPOSITION) & MF_GRAYED);

    // Changed elsewhere (the options window): the marks follow when the menu opens.
    HMENU config = GetSubMenu(bar, 1);
    p.flags.DebugMode = true;
    p.settings.GestureEnabled = true;
    SendMessageW(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(config), 1);
    EXPECT_TRUE(GetMenuState(config, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(config, 2, MF_BYPOSITION) & MF_CHECKED);
    p.settings.GestureEnabled = false;

    // The debug mode item, as chosen from the menu.
    SendMessageW(window(), WM_COMMAND, GetMenuItemID(config, 2), 0);
    pump();
    EXPECT_FALSE(p.flags.DebugMode);
    EXPECT_FALSE(GetMenuState(config, 2, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_FALSE(IsWindowVisible(control(IdFrmDebug)));
    SendMessageW(window(), WM_COMMAND, GetMenuItemID(config, 2), 0);
    pump();
    EXPECT_TRUE(IsWindowVisible(control(IdFrmDebug)));
    EXPECT_TRUE(IsWindowVisible(control(IdPictureFirst)));
    EXPECT_EQ(logLines().back(), "Change DebugMode ON･･･ End ");
}

TEST_F(FormMainTest, RunSuspendAndStopShowInTheMenusAndTheSuspendButton)
{
    load();
    HMENU bar = GetMenu(window());
    HWND tempStop = control(IdCmdTempStop);
    const POINT inside{6, 6}; // within the edge, clear of the caption
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(shownAt(tempStop, inside), face);

    SendMessageW(window(), WM_COMMAND, GetMenuItemID(bar, 2), 0);
    pump();
    EXPECT_TRUE(logged("Click : Run "));
    EXPECT_EQ(MenuText(bar, 2), "ロギング");
    EXPECT_TRUE(GetMenuState(bar, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(bar, 3, MF_BYPOSITION) & MF_GRAYED);

    SendMessageW(tempStop, BM_CLICK, 0, 0);
    pump();
    EXPECT_TRUE(logged("Suspend Mode On "));
    EXPECT_EQ(shownAt(tempStop, inside), RGB(255, 0, 0));

    command(Command::Stop);
    EXPECT_TRUE(logged("Click : Stop "));
    EXPECT_EQ(MenuText(bar, 2), "開始");
    EXPECT_EQ(shownAt(tempStop, inside), face);
}

TEST_F(FormMainTest, AMeasurementFillsTheResultsAndTheLog)
{
    p.flags.DebugMode = true;
    load();
    show("35", "12.34", "1000");
    command(Command::Run);
    at(30);
    pump();
    ASSERT_EQ(p.measurement.ReadLv, 35);
    // The first measurement of a run: start and end alike, no gain yet.
    EXPECT_EQ(text(IdResultFirst + 3), "35");       // lblStartLv
    EXPECT_EQ(text(IdResultFirst + 5), "0");        // lblElapseLv
    EXPECT_EQ(text(IdResultFirst + 6), "12.34 ％"); // lblStartExp
    EXPECT_EQ(text(IdResultFirst + 7), "12.34 ％"); // lblEndExp
    EXPECT_EQ(text(IdResultFirst + 8), "0.00 ％");  // lblElapseExp
    EXPECT_EQ(text(IdResultFirst), p.results.lblStartTime);
    EXPECT_FALSE(text(IdResultFirst).empty());
    EXPECT_EQ(text(IdCaptureFirst), p.results.lblCapture[0]);

    // The text box holds the log as the program keeps it, caret at its end.
    const std::string shown = text(IdTxtLog);
    EXPECT_EQ(shown, p.txtLog.text());
    EXPECT_NE(shown.find("Lv"), std::string::npos);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control(IdTxtLog), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, Utf8ToWide(shown).size());

    // The level region's picture, painted from the last capture at the picture's top left.
    const PixelBuffer& level = p.picCapture[0];
    ASSERT_TRUE(level.isWhole());
    const std::uint8_t* pixel = level.pixel(1, 1);
    EXPECT_EQ(shownAt(control(IdPictureFirst), {1, 1}), RGB(pixel[2], pixel[1], pixel[0]));

    // The status line shows the program's texts.
    const StatusTexts texts = ComputeStatusLine(p);
    wchar_t part[256] = {};
    SendMessageW(control(IdStatusLine), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(part));
    EXPECT_EQ(WideToUtf8(part), texts.nextLevel);
}

TEST_F(FormMainTest, TheLogFontIsFixedPitchJapaneseWithOneCellPerByte)
{
    load();
    HWND txtLog = control(IdTxtLog);
    auto* font = reinterpret_cast<HFONT>(SendMessageW(txtLog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(txtLog);
    HGDIOBJ old = SelectObject(dc, font);
    // Fixed pitch: every printable ASCII character takes the same cell. (The metrics' pitch bit
    // says variable for a face with half- and full-width cells, so it is not asked.)
    std::vector<INT> widths(0x7F - 0x20);
    ASSERT_TRUE(GetCharWidth32W(dc, 0x20, 0x7E, widths.data()));
    const int cell = widths[0];
    EXPECT_GT(cell, 0);
    for (std::size_t i = 0; i < widths.size(); ++i)
        EXPECT_EQ(widths[i], cell)
            << "character " << i + 0x20 << " in " << WideToUtf8(win32::LogFaceName());
    const std::wstring japanese = L"月日獲得経過時給開始終了増加ｺｲﾝ＝～";
    std::vector<WORD> glyphs(japanese.size());
    GetGlyphIndicesW(dc, japanese.c_str(), static_cast<int>(japanese.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (std::size_t i = 0; i < glyphs.size(); ++i)
        EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for character " << i;
    // The columns line up only when every character takes as many cells as it has CP932 bytes.
    for (const char* line :
         {" 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     ｺｲﾝ時給 ",
          "05/01 12:06   35    3.00 ％          3,000    6.0   30.00 ％        30.0 ",
          " 経過: 2024/05/01 12:00:20  ～  2024/05/01 12:42:19  ＝  0日 0時 42分間"}) {
        SCOPED_TRACE(line);
        const std::wstring wide = Utf8ToWide(line);
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        EXPECT_EQ(extent.cx, cell * ByteWidth(line));
    }
    SelectObject(dc, old);
    ReleaseDC(txtLog, dc);
}

TEST_F(FormMainTest, BackgroundClicksRefreshAndControlClicksDoNot)
{
    load();
    const auto release = [&](int x, int y) {
        SendMessageW(window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        pump();
    };
    release(boxOf(IdCaptureTitleFirst).left + 4, boxOf(IdCaptureTitleFirst).top + 4);
    EXPECT_FALSE(logged("Click : Window Refresh "));
    release(4, 140); // the margin left of the log
    EXPECT_TRUE(logged("Click : Window Refresh "));
}

TEST_F(FormMainTest, TheCloseBoxRunsTheCloseSequenceDuringARun)
{
    load();
    show("35", "12.34", "1000");
    command(Command::Run);
    at(30);
    ASSERT_EQ(p.measurement.ReadLv, 35);
    const std::size_t before = logLines().size();
    SendMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
    EXPECT_FALSE(IsWindowVisible(window()));
    EXPECT_EQ(m_ended, 1);
    EXPECT_TRUE(sim.prompter.asked().empty());
    const std::string shown = text(IdTxtLog);
    EXPECT_NE(shown.find("    開始  Lv:  35    Exp:  12.34 ％"), std::string::npos) << shown;
    const std::vector<std::string> lines = logLines();
    const std::vector<std::string> added(lines.begin() + static_cast<std::ptrdiff_t>(before),
                                         lines.end());
    auto from = added.begin();
    for (const char* line :
         {"Closing Program ･･･ ", "Measure Result Data Display Complete ", "End of the Program "}) {
        const auto found = std::find(from, added.end(), line);
        EXPECT_NE(found, added.end()) << line;
        from = found == added.end() ? from : found + 1;
    }
    // A second close (the system's, say) changes nothing more.
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(m_ended, 1);
}

TEST_F(FormMainTest, TheEndCommandClosesTheWindowAfterTheSequence)
{
    load();
    command(Command::End);
    EXPECT_TRUE(logged("Click : END "));
    EXPECT_TRUE(logged("End of the Program "));
    EXPECT_FALSE(IsWindowVisible(window()));
    EXPECT_EQ(m_ended, 1);
}

} // namespace

namespace {

// For a picture of the window: with KESMARO_HOLD_WINDOW set, the window stays up after a run
// of several samples until it is closed by hand (wine-gui.sh --shell wmctrl -c Kesmaro).
TEST_F(FormMainTest, HeldOpenAfterSeveralSamplesForAPicture)
{
    if (!std::getenv("KESMARO_HOLD_WINDOW"))
        GTEST_SKIP() << "set KESMARO_HOLD_WINDOW to look at the window";
    p.flags.DebugMode = true;
    load();
    command(Command::Run);
    const char* levels[] = {"35", "35", "35", "36", "36"};
    const char* exps[] = {"12.34", "40.10", "77.25", "3.50", "31.00"};
    const char* coins[] = {"1000", "1800", "2650", "3400", "4100"};
    for (int i = 0; i < 5; ++i) {
        show(levels[i], exps[i], coins[i]);
        at(30 + i * 600);
    }
    pump();
    MSG message;
    while (IsWindowVisible(window()) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace
