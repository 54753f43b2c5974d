// The options window over a program on simulated seams, driven through window messages as the
// controls send them: clicks on labels and buttons, text typed and left, tabs and combo boxes.

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include "ProgramHarness.h"
#include "ScriptedModal.h"
#include "TestFrames.h"
#include "app/Command.h"
#include "app/MainWindowLogic.h"
#include "common/Paths.h"
#include "common/Utf8.h"
#include "config/Defaults.h"
#include "config/ExtraSettings.h"
#include "graph/GraphDisplay.h"
#include "platform/Scheduler.h"
#include "ui/win32/Controls.h"
#include "ui/win32/FormMain.h"
#include "ui/win32/FormOption.h"
#include "ui/win32/Win32View.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

// Built before the program, which keeps a reference to it.
struct ViewHolder {
    Win32View m_view;
};

class FormOptionTest : public ::testing::Test, private ViewHolder, public test::ProgramHarness {
protected:
    FormOptionTest()
        : ProgramHarness({.start = test::At(2024, 5, 1, 10), .defaults = true, .view = &m_view})
    {
        p.settings.StartDelay = 0;
        p.settings.AutoStart = false;
        m_view.attach(p);
        m_view.onEnded = [] {};
    }

    static void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    FormOption& open()
    {
        if (!IsWindowVisible(m_view.main()->hwnd())) {
            FormMain_Load(p);
            pump();
        }
        Execute(p, Command::Option);
        pump();
        return *m_view.options();
    }
    HWND window() const { return m_view.options()->hwnd(); }
    HWND control(int id) const
    {
        HWND found = win32::FindControl(window(), id);
        EXPECT_NE(found, nullptr) << id;
        return found;
    }
    static int valueId(const char* name)
    {
        const OptionValueLabel* row = FindOptionValueLabel(name);
        EXPECT_NE(row, nullptr) << name;
        return IdValueFirst + static_cast<int>(row - OptionValueLabels().data());
    }
    static int checkId(OptionCheck check) { return IdCheckFirst + static_cast<int>(check); }
    std::string text(int id) const { return win32::GetText(control(id)); }
    std::string value(const char* name) const { return text(valueId(name)); }
    bool checked(int id) const
    {
        return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // A notification as the control sends it: to its own parent, a page or a group frame.
    void notify(int id, int code)
    {
        HWND c = control(id);
        SendMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(c));
    }
    void click(int id) { notify(id, BN_CLICKED); }
    // A mouse click on a value label.
    void clickLabel(const char* name)
    {
        HWND c = control(valueId(name));
        SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    // Text typed into a box, then the focus leaving it.
    void type(int id, const std::string& typed)
    {
        win32::SetText(control(id), typed);
        notify(id, EN_KILLFOCUS);
    }
    void chooseTab(int index)
    {
        SendMessageW(control(IdTabOption), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
        NMHDR header{control(IdTabOption), IdTabOption, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(window(), WM_NOTIFY, IdTabOption, reinterpret_cast<LPARAM>(&header));
    }
    void choose(int comboId, int index)
    {
        SendMessageW(control(comboId), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        notify(comboId, CBN_SELCHANGE);
    }
    int findItem(int comboId, const std::string& item)
    {
        const std::wstring wide = Utf8ToWide(item);
        return static_cast<int>(SendMessageW(control(comboId), CB_FINDSTRINGEXACT,
                                             static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(wide.c_str())));
    }
    // What the window shows once it is active again.
    void reactivate() { SendMessageW(window(), WM_ACTIVATE, WA_ACTIVE, 0); }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const SimPrompter::Asked& a : sim.prompter.asked())
            texts.push_back(a.prompt.text);
        return texts;
    }
    long long countLines(const std::string& line) const
    {
        const std::vector<std::string> lines = logLines();
        return std::count(lines.begin(), lines.end(), line);
    }
    bool settingsFileExists() const { return FileExists(dir.file("KM2DConfig.ini")); }

    using ViewHolder::m_view;
};

TEST_F(FormOptionTest, EveryValueLabelAsksWithinItsOwnBoundsAndStoresTheRoundedAnswer)
{
    open();
    ASSERT_EQ(OptionValueLabels().size(), std::size_t(kOptionValueLabelCount));
    for (const OptionValueLabel& row : OptionValueLabels()) {
        SCOPED_TRACE(row.name);
        std::int32_t& setting = row.setting(p.settings);
        const std::int32_t before = setting;
        EXPECT_EQ(value(row.name), std::to_string(before));

        const std::size_t asked = sim.numberInput.asked().size();
        clickLabel(row.name); // nothing queued: the dialog is cancelled
        ASSERT_EQ(sim.numberInput.asked().size(), asked + 1) << "one click, one question";
        const NumberRequest& request = sim.numberInput.asked().back();
        EXPECT_EQ(request.message, row.prompt);
        EXPECT_EQ(request.title, "設定値入力");
        EXPECT_EQ(request.min, std::to_string(row.min));
        EXPECT_EQ(request.max, std::to_string(row.max));
        EXPECT_EQ(request.step, std::to_string(row.step));
        EXPECT_EQ(request.initial, before);
        EXPECT_EQ(setting, before) << "a cancel changed the setting";

        // A value the dialog confirmed, shown in the label once the window is active again.
        const std::int32_t wanted = row.max - (row.max - row.min) / 3;
        sim.numberInput.queue(double(wanted));
        clickLabel(row.name);
        EXPECT_EQ(setting, wanted);
        reactivate();
        EXPECT_EQ(value(row.name), std::to_string(wanted));
    }
    // The capture areas admit every default, window mode's money X included.
    EXPECT_GE(FindOptionValueLabel("lblCapture_sx(2)")->max, 849);
    EXPECT_EQ(FindOptionValueLabel("lblStartDelay")->prompt,
              std::string(
                  "起動時にメイプルストーリの起動を\r\n確認するまでの遅延時間を入力してください"));
}

TEST_F(FormOptionTest, ConfirmedHalvesRoundToTheEvenNeighbour)
{
    open();
    const struct {
        double answer;
        std::int32_t stored;
    } rows[] = {{7.5, 8}, {6.5, 6}, {6.4, 6}, {19999, 1440}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.answer);
        sim.numberInput.queue(row.answer);
        clickLabel("lblCaptureInterval");
        // 19999 is a number like any other, not a stand-in for a cancel: kept in bounds.
        EXPECT_EQ(p.settings.CaptureInterval, row.stored);
    }
}

TEST_F(FormOptionTest, TabsShowOnePageEachAndTheWindowKeepsItsPage)
{
    FormOption& window = open();
    HWND tabs = control(IdTabOption);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), kOptionPageCount);
    const char* captions[] = {" 　基本設定　 ", " 　拡張設定　 ", " 自動起動設定 ",
                              " 認識領域設定 ", " 双界画面設定 "};
    for (int tab = 0; tab < kOptionPageCount; ++tab) {
        wchar_t buffer[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(WideToUtf8(buffer), captions[tab]);
    }
    EXPECT_EQ(win32::GetText(window.hwnd()), "オプション");
    EXPECT_EQ(text(IdLblSave), "保存しないと次回起動時に設定が引継がれません。");
    for (int tab = kOptionPageCount - 1; tab >= 0; --tab) {
        chooseTab(tab);
        EXPECT_EQ(window.logic().page, tab);
        for (int page = 0; page < kOptionPageCount; ++page)
            EXPECT_EQ(IsWindowVisible(control(IdFrmOptionFirst + page)) != FALSE, page == tab)
                << "tab " << tab << " page " << page;
    }
    // A value label is reachable only on its own page.
    chooseTab(3);
    EXPECT_TRUE(IsWindowVisible(control(valueId("lblCapture_sx(1)"))));
    EXPECT_FALSE(IsWindowVisible(control(valueId("lblCaptureInterval"))));

    // Hidden by 戻 る or by the close control, the window keeps its page.
    click(IdCmdEnd);
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    EXPECT_EQ(m_view.modelessWindow(), nullptr);
    open();
    EXPECT_EQ(m_view.modelessWindow(), window.hwnd()) << "the message loop's dialog keys";
    EXPECT_EQ(window.logic().page, 3);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 3);
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    open();
    EXPECT_EQ(window.logic().page, 3);
    EXPECT_TRUE(IsWindowVisible(control(IdFrmOptionFirst + 3)));
}

TEST_F(FormOptionTest, TheScreenCombosSetTheDisplayOffsets)
{
    p.ScreenSizes = BuildScreenSizeList(); // as start-up builds them
    open();
    HWND screen = control(IdCmbStandardScreen);
    const auto count = static_cast<int>(SendMessageW(screen, CB_GETCOUNT, 0, 0));
    ASSERT_EQ(count, 15);
    ASSERT_EQ(SendMessageW(screen, CB_GETCURSEL, 0, 0), count - 1);
    EXPECT_EQ(text(IdCmbStandardScreen), "サブ画面サイズ");
    EXPECT_EQ(text(IdCmbRelativePosition), "サブ画面位置");
    const int fhd = findItem(IdCmbStandardScreen, "1920×1080  FHD      ");
    ASSERT_GE(fhd, 0);
    const struct {
        const char* position;
        std::int32_t x;
        std::int32_t y;
    } rows[] = {{"　←", 1920, 0}, {"　↑", 0, 1080}, {"　→", 0, 0}, {"　↓", 0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.position);
        p.settings.DisplayOffsetX = p.settings.DisplayOffsetY = 77;
        SendMessageW(screen, CB_SETCURSEL, static_cast<WPARAM>(fhd), 0);
        choose(IdCmbRelativePosition, findItem(IdCmbRelativePosition, row.position));
        EXPECT_EQ(p.settings.DisplayOffsetX, row.x);
        EXPECT_EQ(p.settings.DisplayOffsetY, row.y);
        EXPECT_EQ(value("lblDisplayOffset_x"), std::to_string(row.x));
        EXPECT_EQ(value("lblDisplayOffset_y"), std::to_string(row.y));
    }
    // Either caption entry chosen: nothing happens.
    p.settings.DisplayOffsetX = p.settings.DisplayOffsetY = 77;
    choose(IdCmbStandardScreen, count - 1);
    SendMessageW(screen, CB_SETCURSEL, static_cast<WPARAM>(fhd), 0);
    choose(IdCmbRelativePosition, 0);
    EXPECT_EQ(p.settings.DisplayOffsetX, 77);
    EXPECT_EQ(p.settings.DisplayOffsetY, 77);
}

TEST_F(FormOptionTest, BoxesThatRefuseLeaveTheirSettingOffWithTheirMessage)
{
    open();
    {
        SCOPED_TRACE("the second screen cannot be switched on");
        click(checkId(OptionCheck::DualDisplay));
        EXPECT_FALSE(p.settings.DualDisplay);
        EXPECT_FALSE(checked(checkId(OptionCheck::DualDisplay)));
        ASSERT_EQ(messages(), std::vector<std::string>{"このゲームでは変更する必要はありません。"});
        EXPECT_EQ(sim.prompter.asked().at(0).prompt.title, "エラー");
    }
    sim.prompter.clearAsked();
    {
        SCOPED_TRACE("a companion application without a path");
        p.settings.StartUpPath[0].clear();
        click(checkId(OptionCheck::StartUp0));
        EXPECT_FALSE(p.settings.StartUp[0]);
        EXPECT_FALSE(checked(checkId(OptionCheck::StartUp0)));
        ASSERT_EQ(messages(), std::vector<std::string>{"アプリケーションが見つかりません"});
        EXPECT_EQ(sim.prompter.asked().at(0).prompt.title, "ファイルパスエラー");
    }
    sim.prompter.clearAsked();
    {
        SCOPED_TRACE("an existing application, then its file gone from the path box");
        const std::string app = dir.file("companion.exe");
        std::ofstream(std::filesystem::u8path(app)) << "x";
        // Typed: every change of the text reaches the setting.
        win32::SetText(control(IdTxtStartUpFirst + 1), app);
        EXPECT_EQ(p.settings.StartUpPath[1], app);
        click(checkId(OptionCheck::StartUp1));
        EXPECT_TRUE(p.settings.StartUp[1]);
        EXPECT_TRUE(checked(checkId(OptionCheck::StartUp1)));
        win32::SetText(control(IdTxtStartUpFirst + 1), app + "x");
        EXPECT_FALSE(p.settings.StartUp[1]);
        EXPECT_TRUE(p.settings.StartUpPath[1].empty());
        EXPECT_FALSE(checked(checkId(OptionCheck::StartUp1)));
        EXPECT_TRUE(messages().empty());
    }
}

TEST_F(FormOptionTest, TheFileDialogStartsAtTheCompanionAndTakesTheChoice)
{
    open();
    const std::string app = dir.file("companion.exe");
    std::ofstream(std::filesystem::u8path(app)) << "x";
    std::vector<std::vector<std::string>> asked;
    std::string answer = app;
    m_view.options()->chooseFile = [&](const std::string& title, const std::string& folder,
                                       const std::string& file) {
        asked.push_back({title, folder, file});
        return answer;
    };
    click(IdCmdStartUpFirst + 1);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (std::vector<std::string>{StartUpDialogTitle(1), p.programFolder, ""}))
        << "no file yet: the program's folder";
    EXPECT_EQ(p.settings.StartUpPath[1], app);
    EXPECT_EQ(text(IdTxtStartUpFirst + 1), app);

    answer.clear(); // cancelled
    click(IdCmdStartUpFirst + 1);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1],
              (std::vector<std::string>{StartUpDialogTitle(1), dir.folder(), "companion.exe"}));
    EXPECT_EQ(p.settings.StartUpPath[1], app);
}

TEST_F(FormOptionTest, WindowMemoryStoresTheMainWindowsFrame)
{
    p.settings.GraphEnabled = true;
    open();
    m_view.setMainWindowFrame(FrameChange{{}, {}, 800, 600});
    pump();
    const WindowFrame frame = m_view.mainWindowFrame();
    ASSERT_EQ(frame.width, 800);
    click(checkId(OptionCheck::WindowMemory));
    EXPECT_EQ(p.settings.WindowPosition, (CaptureRect{frame.left, frame.top, 800, frame.height}));
    EXPECT_TRUE(checked(checkId(OptionCheck::WindowMemory)));
    click(checkId(OptionCheck::WindowMemory));
    EXPECT_EQ(p.settings.WindowPosition, (CaptureRect{0, 0, 0, 0}));

    // 反 映 puts the window where a remembered frame says; 忘 却 forgets it.
    p.settings.WindowPosition = CaptureRect{40, 50, 760, 420};
    click(IdCmdResize);
    pump();
    const WindowFrame moved = m_view.mainWindowFrame();
    EXPECT_EQ(moved.left, 40);
    EXPECT_EQ(moved.top, 50);
    EXPECT_EQ(moved.width, 760);
    EXPECT_EQ(moved.height, 420);
    reactivate();
    EXPECT_EQ(value("lblWindowPosition_ex"), "760");
    click(IdCmdResetPosition);
    EXPECT_EQ(p.settings.WindowPosition, (CaptureRect{0, 0, 0, 0}));
    EXPECT_EQ(value("lblWindowPosition_ex"), "0");
}

TEST_F(FormOptionTest, TheFolderBoxChecksOnlyNamesOfThreeOrMore)
{
    open();
    type(IdTxtSaveFolder, "ab");
    EXPECT_EQ(p.settings.SaveFolder, "ab");
    // Characters are counted, not bytes: two kanji are six bytes yet still too short to check.
    type(IdTxtSaveFolder, "記録");
    EXPECT_EQ(p.settings.SaveFolder, "記録");
    EXPECT_TRUE(messages().empty());

    const std::string missing = dir.file("missing");
    type(IdTxtSaveFolder, missing);
    ASSERT_EQ(messages(), std::vector<std::string>{"フォルダ名が不正です。"});
    EXPECT_EQ(sim.prompter.asked().at(0).prompt.title, "アクセスエラー");
    EXPECT_EQ(p.settings.SaveFolder, p.programFolder);
    // The box keeps what was typed until the window shows its settings again; a second focus
    // change without an edit asks nothing again.
    EXPECT_EQ(text(IdTxtSaveFolder), missing);
    notify(IdTxtSaveFolder, EN_KILLFOCUS);
    EXPECT_EQ(messages().size(), 1u);
    reactivate();
    EXPECT_EQ(text(IdTxtSaveFolder), p.programFolder);

    type(IdTxtSaveFolder, dir.folder());
    EXPECT_EQ(p.settings.SaveFolder, dir.folder());
    type(IdTxtSaveFile, "記録");
    EXPECT_EQ(p.settings.SaveFile, "記録");

    // The browser's choice, when it exists; nothing chosen changes nothing.
    const std::string logFolder = dir.file("log");
    std::filesystem::create_directories(std::filesystem::u8path(logFolder));
    m_view.options()->chooseFolder = [&](const std::string& title, const std::string& start) {
        EXPECT_EQ(title, SaveFolderBrowserText());
        EXPECT_EQ(start, p.settings.SaveFolder);
        return logFolder;
    };
    click(IdCmdSaveFolder);
    EXPECT_EQ(p.settings.SaveFolder, logFolder);
    EXPECT_EQ(text(IdTxtSaveFolder), logFolder);
    m_view.options()->chooseFolder = [](const std::string&, const std::string&) {
        return std::string();
    };
    click(IdCmdSaveFolder);
    EXPECT_EQ(p.settings.SaveFolder, logFolder);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(FormOptionTest, CheckBoxesAndOptionButtonsWriteTheirSettingAtOnce)
{
    p.settings.SaveCsv = false;
    p.settings.MonthlyAppend = true;
    open();
    EXPECT_EQ(text(IdLblSaveCsv), ".TXT");
    EXPECT_EQ(text(IdLblSaveFileU), "＋ ［開始年月］月");
    click(checkId(OptionCheck::SaveCsv));
    EXPECT_TRUE(p.settings.SaveCsv);
    EXPECT_EQ(text(IdLblSaveCsv), ".CSV");
    click(checkId(OptionCheck::SaveCsv));
    EXPECT_EQ(text(IdLblSaveCsv), ".TXT");
    click(checkId(OptionCheck::SaveDistance));
    EXPECT_FALSE(p.settings.MonthlyAppend);
    EXPECT_EQ(text(IdLblSaveFileU), "＋ ［開始年月日時分］");

    click(IdBeepFirst + 3);
    EXPECT_EQ(p.settings.BeepMode, 3);
    for (int i = 0; i < kBeepButtonCount; ++i)
        EXPECT_EQ(checked(IdBeepFirst + i), i == 3) << i;
    EXPECT_FALSE(sim.beeper.sounds.empty()) << "the chosen sound is played";
    const struct {
        int button;
        const char* format;
    } rows[] = {{0, ".bmp"}, {2, ".jpg90"}, {3, ".jpg70"}, {1, ".png"}};
    for (const auto& row : rows) {
        click(IdFormatFirst + row.button);
        EXPECT_EQ(p.settings.SaveFormat, row.format);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(checked(IdFormatFirst + i), i == row.button) << row.format << " " << i;
    }

    // The capture source: one of the two, whichever was chosen last.
    click(IdOptSourceScreen);
    EXPECT_TRUE(checked(IdOptSourceScreen));
    EXPECT_FALSE(checked(IdOptSourceWindow));
    click(IdOptSourceWindow);
    EXPECT_FALSE(checked(IdOptSourceScreen));
    EXPECT_TRUE(checked(IdOptSourceWindow));
}

TEST_F(FormOptionTest, TheGraphAndGestureBoxesDoTheirWholeChange)
{
    p.settings.GraphEnabled = false;
    p.settings.GestureEnabled = false;
    open();
    click(checkId(OptionCheck::Graph));
    pump();
    EXPECT_TRUE(p.settings.GraphEnabled);
    EXPECT_TRUE(p.graph.GraphData.has_value());
    EXPECT_EQ(m_view.mainWindowFrame().width, 12000 / 15);
    click(checkId(OptionCheck::Graph));
    pump();
    EXPECT_FALSE(p.graph.GraphData.has_value());
    EXPECT_EQ(countLines("Change GraphDisplay ON ･･･ End "), 1);
    EXPECT_EQ(countLines("Change GraphDisplay OFF ･･･ End "), 1);

    click(checkId(OptionCheck::Gesture));
    EXPECT_TRUE(p.settings.GestureEnabled);
    EXPECT_TRUE(sim.mouseButtons.listening());
    click(checkId(OptionCheck::Gesture));
    EXPECT_FALSE(p.settings.GestureEnabled);
    EXPECT_FALSE(sim.mouseButtons.listening());
    EXPECT_EQ(countLines("Change MouseGesture ON ･･･ End "), 1);
    EXPECT_EQ(countLines("Change MouseGesture OFF ･･･ End "), 1);
}

TEST_F(FormOptionTest, InitAfterYesAsksTheStartQuestionsAndShowsTheDefaults)
{
    open();
    sim.numberInput.queue(250);
    clickLabel("lblGraphTimeScale");
    sim.numberInput.queue(31);
    clickLabel("lblCaptureInterval");
    ASSERT_EQ(p.settings.CaptureInterval, 31);

    sim.prompter.queue(PromptAnswer::No);
    click(IdCmdInit);
    EXPECT_EQ(p.settings.CaptureInterval, 31) << "No keeps everything";
    EXPECT_EQ(messages(), std::vector<std::string>{"設定を初期化してもよろしいですか？"});
    EXPECT_EQ(sim.prompter.asked().at(0).prompt.title, "設定ファイル変更");

    sim.prompter.clearAsked();
    click(IdCmdInit); // every question answered Yes / OK
    EXPECT_GT(messages().size(), 2u) << "the screen-mode and colour questions follow";
    Settings defaults;
    ApplyDefaults(defaults, p.programFolder);
    EXPECT_EQ(p.settings.CaptureInterval, defaults.CaptureInterval);
    EXPECT_EQ(value("lblCaptureInterval"), std::to_string(defaults.CaptureInterval));
    EXPECT_EQ(value("lblGraphTimeScale"), std::to_string(defaults.GraphTimeScale));
    EXPECT_EQ(countLines("Initializing ConfigFile ･･･ End "), 1);
    EXPECT_TRUE(settingsFileExists()) << "a reset writes the file";
}

TEST_F(FormOptionTest, SaveWritesWhatLoadReadsBack)
{
    open();
    sim.numberInput.queue(17);
    clickLabel("lblCapture_sx(1)");
    click(checkId(OptionCheck::SaveCsv));
    type(IdTxtSaveFile, "記録");
    const Settings saved = p.settings;
    ASSERT_FALSE(settingsFileExists());
    click(IdCmdSave);
    ASSERT_TRUE(settingsFileExists());

    sim.numberInput.queue(400);
    clickLabel("lblCapture_sx(1)");
    click(checkId(OptionCheck::SaveCsv));
    type(IdTxtSaveFile, "別");
    ASSERT_EQ(p.settings.CaptureArea[1].X, 400);
    click(IdCmdLoad);
    EXPECT_EQ(p.settings.CaptureArea[1], saved.CaptureArea[1]);
    EXPECT_EQ(p.settings.SaveCsv, saved.SaveCsv);
    EXPECT_EQ(p.settings.SaveFile, saved.SaveFile);
    EXPECT_EQ(value("lblCapture_sx(1)"), "17");
    EXPECT_EQ(text(IdTxtSaveFile), "記録");
    EXPECT_TRUE(checked(checkId(OptionCheck::SaveCsv)) == saved.SaveCsv);
    EXPECT_EQ(countLines("Saving ConfigFile ･･･ End "), 1);
    EXPECT_EQ(countLines("Loading ConfigFile ･･･ End "), 1);
}

TEST_F(FormOptionTest, EndAndTheCloseControlHandTheWatchSettingsToItsTimer)
{
    for (const bool byClose : {false, true}) {
        SCOPED_TRACE(byClose ? "close control" : "cmdEnd");
        p.settings.DoHLCheckExec = false;
        open();
        Timer* watch = p.timers.timDoHLInterval.get();
        ASSERT_NE(watch, nullptr);
        sim.numberInput.queue(byClose ? 300 : 400);
        clickLabel("lblDoHLInterval");
        click(checkId(OptionCheck::DoHLCheckExec));
        ASSERT_TRUE(p.settings.DoHLCheckExec);
        // A name typed but not yet left is taken on the way out.
        win32::SetText(control(IdTxtSaveFile), byClose ? "閉" : "戻");
        EXPECT_NE(watch->interval(), byClose ? 300 : 400);

        if (byClose)
            SendMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            click(IdCmdEnd);
        EXPECT_FALSE(IsWindowVisible(window()));
        EXPECT_EQ(watch->interval(), byClose ? 300 : 400);
        EXPECT_TRUE(watch->isEnabled());
        EXPECT_EQ(p.settings.SaveFile, byClose ? "閉" : "戻");
        EXPECT_FALSE(settingsFileExists()) << "nothing is written";
        watch->setEnabled(false);
    }
}

TEST_F(FormOptionTest, CapturesGoOnWhileTheWindowIsOpenAndUseItsChanges)
{
    show("35", "12.34", "1000");
    p.settings.CaptureInterval = 5;
    open();
    sim.numberInput.queue(1);
    clickLabel("lblCaptureInterval");
    Execute(p, Command::Run);
    at(30);
    ASSERT_EQ(p.measurement.ReadLv, 35);
    show("35", "14.34", "1100");
    at(30 + 61);
    EXPECT_TRUE(IsWindowVisible(window()));
    const std::string shown = win32::GetText(win32::FindControl(m_view.main()->hwnd(), IdTxtLog));
    EXPECT_NE(shown.find("10:01   35    2.00 ％            100"), std::string::npos)
        << "a capture a minute later, the window still open\n"
        << shown;
}

TEST_F(FormOptionTest, AutomaticDetectionAppliesTheFoundAreasOnlyWhenConfirmed)
{
    FormOption& window = open();
    int asked = 0;
    window.confirmAreas = [&](const PixelBuffer&, const AreaProposal& proposal) {
        EXPECT_EQ(proposal.level.status, FindStatus::Found);
        return ++asked > 1;
    };
    click(IdCmdDetect);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(messages(), std::vector<std::string>{"ゲームウィンドウが見つかりません。"});

    // The numbers drawn away from the areas the settings hold.
    Settings moved = p.settings;
    moved.CaptureArea[0].X = 40;
    moved.CaptureArea[0].Y = 44;
    moved.CaptureArea[1].Y = 600;
    show("35", "12.34", "1000");
    windows.setImage(gameWindow, TestFrame(moved, "35", "12.34", "1000"));
    const std::int32_t before = p.settings.CaptureArea[0].Y;
    ASSERT_NE(before, 44);
    click(IdCmdDetect); // declined
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(p.settings.CaptureArea[0].Y, before);
    click(IdCmdDetect);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(p.settings.CaptureArea[0].Y, 44);
    EXPECT_EQ(value("lblCapture_sy(0)"), "44");
    EXPECT_EQ(value("lblCapture_sy(1)"), "600");
    EXPECT_FALSE(settingsFileExists()) << "saving is the user's";
}

TEST_F(FormOptionTest, TheRollingWindowIsAskedWithinItsBoundsAndKeptBesideTheSettings)
{
    open();
    const auto clickRolling = [&] {
        HWND c = control(IdLblRollingMinutes);
        SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    };
    clickRolling(); // cancelled
    ASSERT_EQ(sim.numberInput.asked().size(), 1u);
    const NumberRequest asked = sim.numberInput.asked().back();
    EXPECT_EQ(asked.min, "10");
    EXPECT_EQ(asked.max, "240");
    EXPECT_EQ(asked.initial, 60);
    EXPECT_EQ(p.extra.RollingMinutes, 60);

    sim.numberInput.queue(90);
    clickRolling();
    EXPECT_EQ(p.extra.RollingMinutes, 90);
    EXPECT_EQ(text(IdLblRollingMinutes), "90");
    EXPECT_EQ(LoadExtraSettings(p.programFolder).RollingMinutes, 90);
    EXPECT_FALSE(settingsFileExists());
}

TEST_F(FormOptionTest, TheGestureLabelsCarryTheirHelp)
{
    open();
    EXPECT_EQ(text(IdLblGestureFirst + 0), "L-R-L-L(R)：一時停止 ON(OFF)");
    EXPECT_EQ(text(IdLblGestureFirst + 4), "LRﾀﾞﾌﾞﾙｸﾘｯｸ：スクリーンショット撮影");
    // Other windows of the thread (the graph) have tool tips of their own: the label's text is
    // asked of each.
    std::vector<HWND> tips;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM data) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (std::wstring(name) == TOOLTIPS_CLASSW)
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    ASSERT_FALSE(tips.empty());
    wchar_t tip[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control(IdLblGestureFirst + 3));
    tool.uId = reinterpret_cast<UINT_PTR>(control(IdLblGestureFirst + 3));
    tool.lpszText = tip;
    for (HWND candidate : tips) {
        SendMessageW(candidate, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        if (tip[0] != 0)
            break;
    }
    EXPECT_EQ(WideToUtf8(tip), " みぎ-みぎ-みぎ-みぎ：測定サイクルリセット ");
}

} // namespace
