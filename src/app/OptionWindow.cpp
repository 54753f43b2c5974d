#include "app/OptionWindow.h"

#include "common/Files.h"
#include "common/Numeric.h"
#include "common/Paths.h"
#include "common/Utf8.h"
#include "config/ConfigFile.h"
#include "recognition/PatternImages.h"
#include "records/Beep.h"
#include "records/DebugItems.h"
#include "records/InputCheckBox.h"
#include "state/Program.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kesmaro {

namespace {

using Accessor = std::int32_t& (*)(Settings&);

template <int Area> std::int32_t& areaX(Settings& s)
{
    return s.CaptureArea[Area].X;
}
template <int Area> std::int32_t& areaY(Settings& s)
{
    return s.CaptureArea[Area].Y;
}
template <int Area> std::int32_t& areaWidth(Settings& s)
{
    return s.CaptureArea[Area].Width;
}
template <int Area> std::int32_t& areaHeight(Settings& s)
{
    return s.CaptureArea[Area].Height;
}

constexpr const char* kOriginX = "キャプチャー始点X値を入力してください";
constexpr const char* kOriginY = "キャプチャー始点Y値を入力してください";
constexpr const char* kSizeX = "キャプチャーサイズX値を入力してください";
constexpr const char* kSizeY = "キャプチャーサイズY値を入力してください";

template <int Area>
constexpr std::array<OptionValueLabel, 4> areaLabels(const char* sx, const char* sy, const char* ex,
                                                     const char* ey)
{
    return {{
        {sx, areaX<Area>, kOriginX, 0, kAreaOriginMax, 1},
        {sy, areaY<Area>, kOriginY, 0, kAreaOriginMax, 1},
        {ex, areaWidth<Area>, kSizeX, bounds::AreaWidth.min, bounds::AreaWidth.max,
         bounds::AreaWidth.step},
        {ey, areaHeight<Area>, kSizeY, bounds::AreaHeight.min, bounds::AreaHeight.max,
         bounds::AreaHeight.step},
    }};
}

constexpr OptionValueLabel setting(const char* name, Accessor accessor, const char* prompt,
                                   Bounds b)
{
    return {name, accessor, prompt, b.min, b.max, b.step};
}

constexpr auto kArea0 =
    areaLabels<0>("lblCapture_sx(0)", "lblCapture_sy(0)", "lblCapture_ex(0)", "lblCapture_ey(0)");
constexpr auto kArea1 =
    areaLabels<1>("lblCapture_sx(1)", "lblCapture_sy(1)", "lblCapture_ex(1)", "lblCapture_ey(1)");
constexpr auto kArea2 =
    areaLabels<2>("lblCapture_sx(2)", "lblCapture_sy(2)", "lblCapture_ex(2)", "lblCapture_ey(2)");

const std::array<OptionValueLabel, kOptionValueLabelCount> kValueLabels{
    kArea0[0],
    kArea0[1],
    kArea0[2],
    kArea0[3],
    kArea1[0],
    kArea1[1],
    kArea1[2],
    kArea1[3],
    kArea2[0],
    kArea2[1],
    kArea2[2],
    kArea2[3],
    OptionValueLabel{"lblCapture_ax(1)", areaX<3>, kOriginX, 0, 1024, 1},
    OptionValueLabel{"lblCapture_ay(1)", areaY<3>, kOriginY, 0, 800, 1},
    OptionValueLabel{"lblCapture_ax(2)", areaX<4>, kOriginX, 0, 1024, 1},
    OptionValueLabel{"lblCapture_ay(2)", areaY<4>, kOriginY, 0, 800, 1},
    setting(
        "lblCaptureInterval", [](Settings& s) -> std::int32_t& { return s.CaptureInterval; },
        "キャプチャー周期を入力してください", bounds::CaptureInterval),
    setting(
        "lblDisplayOffset_x", [](Settings& s) -> std::int32_t& { return s.DisplayOffsetX; },
        "認識領域オフセットのサイズX値を入力してください", bounds::DisplayOffset),
    setting(
        "lblDisplayOffset_y", [](Settings& s) -> std::int32_t& { return s.DisplayOffsetY; },
        "認識領域オフセットのサイズY値を入力してください", bounds::DisplayOffset),
    setting(
        "lblDoHLInterval", [](Settings& s) -> std::int32_t& { return s.DoHLInterval; },
        "撮影チェックを実行する周期を入力してください", bounds::DoHLInterval),
    setting(
        "lblGestureTime", [](Settings& s) -> std::int32_t& { return s.GestureTime; },
        "マウスジェスチャの入力受付時間を入力してください", bounds::GestureTime),
    setting(
        "lblGraphAveNum", [](Settings& s) -> std::int32_t& { return s.GraphAveNum; },
        "グラフの平均化するデータの個数を入力してください", bounds::GraphAveNum),
    setting(
        "lblGraphTimeScale", [](Settings& s) -> std::int32_t& { return s.GraphTimeScale; },
        "グラフの時間軸のデータ個数を入力してください", bounds::GraphTimeScale),
    setting(
        "lblLag", [](Settings& s) -> std::int32_t& { return s.LagCancelTime; },
        "ラグ回避時間を入力してください", bounds::LagCancelTime),
    setting(
        "lblStartDelay", [](Settings& s) -> std::int32_t& { return s.StartDelay; },
        "起動時にメイプルストーリの起動を\r\n確認するまでの遅延時間を入力してください",
        bounds::StartDelay),
    setting(
        "lblStartUpDelay", [](Settings& s) -> std::int32_t& { return s.StartUpDelay; },
        "自動起動2のアプリケーションの起動を\r\n遅らせる時間を入力してください",
        bounds::StartUpDelay),
    setting(
        "lblWindowPosition_sx", [](Settings& s) -> std::int32_t& { return s.WindowPosition.X; },
        "起動時のウィンドウ始点X値を入力してください", bounds::WindowX),
    setting(
        "lblWindowPosition_sy", [](Settings& s) -> std::int32_t& { return s.WindowPosition.Y; },
        "起動時のウィンドウ始点Y値を入力してください", bounds::WindowY),
    setting(
        "lblWindowPosition_ex", [](Settings& s) -> std::int32_t& { return s.WindowPosition.Width; },
        "起動時のウィンドウサイズX値を入力してください", bounds::WindowWidth),
    setting(
        "lblWindowPosition_ey",
        [](Settings& s) -> std::int32_t& { return s.WindowPosition.Height; },
        "起動時のウィンドウサイズY値を入力してください", bounds::WindowHeight),
};

constexpr std::array<OptionCheckInfo, kOptionCheckCount> kChecks{{
    {OptionCheck::AutoStart, "chkAutoStart"},
    {OptionCheck::SaveDistance, "chkSaveDistance"},
    {OptionCheck::SaveCsv, "chkSaveCsv"},
    {OptionCheck::Graph, "chkGraph"},
    {OptionCheck::Gesture, "chkGesture"},
    {OptionCheck::DoHLCheckExec, "chkDoHLCheckExec"},
    {OptionCheck::Debug, "chkDebug"},
    {OptionCheck::StartUp0, "chkStartUp(0)"},
    {OptionCheck::StartUp1, "chkStartUp(1)"},
    {OptionCheck::WindowMemory, "chkWindowMemory"},
    {OptionCheck::DualDisplay, "chkDualDisplay"},
}};

// The main window's widths in twips, as it was designed.
constexpr int kGraphMinWidthTwips = 10650;
constexpr int kGraphWidthTwips = 12000;
constexpr int kNoGraphWidthTwips = 9000;

constexpr const char* kValueTitle = "設定値入力";
constexpr const char* kStandardScreenCaption = "サブ画面サイズ";
const std::array<const char*, 5> kRelativePositions{"サブ画面位置", "　←", "　→", "　↑", "　↓"};
enum RelativePosition { Caption, Left, Right, Above, Below };

// In characters: a typed folder name shorter than this is taken unchecked.
constexpr std::size_t kMinCheckedFolderLength = 3;

void tell(Program& p, const char* title, const char* text)
{
    p.services.prompter.Ask(Prompt{title, text, PromptButtons::Ok, PromptIcon::None});
}

// A path with the platform's own separators, as the folder browser and the file dialog's
// answers are shown and kept.
std::string nativeSeparators(std::string_view path)
{
    return PathToUtf8(PathFromUtf8(path).make_preferred());
}

bool& flagOf(Program& p, OptionCheck check)
{
    Settings& s = p.settings;
    switch (check) {
    case OptionCheck::AutoStart:
        return s.AutoStart;
    case OptionCheck::SaveDistance:
        return s.MonthlyAppend;
    case OptionCheck::SaveCsv:
        return s.SaveCsv;
    case OptionCheck::Graph:
        return s.GraphEnabled;
    case OptionCheck::Gesture:
        return s.GestureEnabled;
    case OptionCheck::DoHLCheckExec:
        return s.DoHLCheckExec;
    case OptionCheck::Debug:
        return p.flags.DebugMode;
    case OptionCheck::StartUp0:
        return s.StartUp[0];
    case OptionCheck::StartUp1:
        return s.StartUp[1];
    case OptionCheck::WindowMemory:
        return s.WindowMemory;
    case OptionCheck::DualDisplay:
        return s.DualDisplay;
    }
    return s.AutoStart;
}

FrameChange widthOnly(int width)
{
    FrameChange change;
    change.width = width;
    return change;
}

// GraphData exists exactly while GraphEnabled is on, whoever changed the setting; the window
// widens for a graph that would not fit and narrows when it goes.
void keepGraphInStep(Program& p)
{
    if (p.settings.GraphEnabled == p.graph.GraphData.has_value())
        return;
    if (p.settings.GraphEnabled) {
        p.graph.GraphData.emplace(p.services.clock);
        if (p.view.mainWindowFrame().width * kTwipsPerPixel < kGraphMinWidthTwips)
            p.view.setMainWindowFrame(widthOnly(kGraphWidthTwips / kTwipsPerPixel));
    } else {
        p.graph.GraphData.reset();
        p.view.setMainWindowFrame(widthOnly(kNoGraphWidthTwips / kTwipsPerPixel));
    }
    p.view.changed(ViewPart::Graph);
}

ConfigContext configOf(Program& p)
{
    return ConfigContext{p.settings, p.services.prompter, p.log, p.programFolder};
}

} // namespace

std::span<const OptionValueLabel> OptionValueLabels()
{
    return kValueLabels;
}

const OptionValueLabel* FindOptionValueLabel(const char* name)
{
    const auto* it =
        std::find_if(kValueLabels.begin(), kValueLabels.end(), [name](const OptionValueLabel& l) {
            return std::string_view(l.name) == std::string_view(name);
        });
    return it == kValueLabels.end() ? nullptr : it;
}

std::span<const OptionCheckInfo> OptionChecks()
{
    return kChecks;
}

std::string SaveFolderBrowserText()
{
    return "希望のﾌｫﾙﾀﾞｰ名をｸﾘｯｸして、ﾌｫﾙﾀﾞｰｱｲｺﾝをｵｰﾌﾟﾝ状態にし、[OK]を押してください";
}

std::string StartUpDialogTitle(int index)
{
    return "アプリケーション選択" + std::to_string(index);
}

OptionWindow::OptionWindow(Program& p) : m_p(p)
{
    Load();
}

void OptionWindow::Load()
{
    page = 0;
    const Program& p = m_p;
    cmbStandardScreenItems.clear();
    for (const ScreenSize& size : p.ScreenSizes)
        cmbStandardScreenItems.push_back(size.Text);
    cmbStandardScreenItems.push_back(kStandardScreenCaption);
    cmbStandardScreen = int(cmbStandardScreenItems.size()) - 1;
    cmbRelativePositionItems.assign(kRelativePositions.begin(), kRelativePositions.end());
    cmbRelativePosition = Caption;
}

const std::string& OptionWindow::valueText(const OptionValueLabel& label) const
{
    return valueTexts[std::size_t(&label - kValueLabels.data())];
}

void OptionWindow::Refresh()
{
    Settings& s = m_p.settings;
    for (std::size_t i = 0; i < kValueLabels.size(); ++i)
        valueTexts[i] = std::to_string(kValueLabels[i].setting(s));
    beepButton = s.BeepMode >= 0 && s.BeepMode < kBeepButtonCount ? s.BeepMode : -1;
    for (const OptionCheckInfo& c : kChecks)
        checked[std::size_t(c.check)] = flagOf(m_p, c.check);
    txtSaveFolder = s.SaveFolder;
    txtSaveFile = s.SaveFile;
    for (int i = 0; i < 2; ++i)
        setStartUpText(i, s.StartUpPath[std::size_t(i)]);
    formatButton = -1;
    for (std::size_t i = 0; i < kSaveFormats.size(); ++i)
        if (s.SaveFormat == kSaveFormats[i])
            formatButton = int(i);
    showSaveFileLabels();
}

void OptionWindow::showSaveFileLabels()
{
    lblSaveCsv = m_p.settings.SaveCsv ? ".CSV" : ".TXT";
    lblSaveFile_u = m_p.settings.MonthlyAppend ? "＋ ［開始年月］月" : "＋ ［開始年月日時分］";
}

void OptionWindow::setStartUpText(int index, std::string_view text)
{
    if (txtStartUp[std::size_t(index)] == text)
        return;
    txtStartUp[std::size_t(index)] = text;
    txtStartUp_Change(index, text);
}

void OptionWindow::tabOption_Click(int tab)
{
    if (tab >= 1 && tab <= kOptionPageCount)
        page = tab - 1;
}

void OptionWindow::ValueLabel_Click(const OptionValueLabel& label)
{
    std::int32_t& value = label.setting(m_p.settings);
    const std::optional<double> answer = InputCheckBox(
        m_p.services.numberInput, std::to_string(label.min), std::to_string(label.max), value,
        std::to_string(label.step), label.prompt, kValueTitle);
    // The dialog keeps its answers within the bounds; a number it let through unchecked
    // (a stand-in's, NaN) must not make a setting out of nothing.
    if (answer && std::isfinite(*answer))
        value =
            std::int32_t(std::clamp(RoundHalfEven(*answer), double(label.min), double(label.max)));
    // The window is active again once the dialog has closed.
    Refresh();
}

void OptionWindow::Check_Click(OptionCheck check, bool on)
{
    checked[std::size_t(check)] = on;
    Settings& s = m_p.settings;
    DebugLog& log = m_p.log;
    switch (check) {
    case OptionCheck::AutoStart:
    case OptionCheck::DoHLCheckExec:
        flagOf(m_p, check) = on;
        return;
    case OptionCheck::SaveCsv:
    case OptionCheck::SaveDistance:
        flagOf(m_p, check) = on;
        showSaveFileLabels();
        return;
    case OptionCheck::Debug:
        m_p.flags.DebugMode = on;
        DebugItemDisplay(m_p, on, m_p.menus.innerHeight);
        log.WriteDebugLog("Change DebugMode ･･･ End ");
        return;
    case OptionCheck::Gesture:
        s.GestureEnabled = on;
        if (on) {
            if (loadGestureWindow)
                loadGestureWindow();
            log.WriteDebugLog("Change MouseGesture ON ･･･ End ");
        } else {
            if (unloadGestureWindow)
                unloadGestureWindow();
            log.WriteDebugLog("Change MouseGesture OFF ･･･ End ");
        }
        return;
    case OptionCheck::Graph:
        s.GraphEnabled = on;
        keepGraphInStep(m_p);
        log.WriteDebugLog(on ? "Change GraphDisplay ON ･･･ End "
                             : "Change GraphDisplay OFF ･･･ End ");
        return;
    case OptionCheck::StartUp0:
    case OptionCheck::StartUp1: {
        const std::size_t i = check == OptionCheck::StartUp0 ? 0 : 1;
        s.StartUp[i] = on;
        if (!FileExists(s.StartUpPath[i]) && on) {
            tell(m_p, "ファイルパスエラー", "アプリケーションが見つかりません");
            checked[std::size_t(check)] = false;
            s.StartUp[i] = false;
        }
        return;
    }
    case OptionCheck::WindowMemory:
        s.WindowMemory = on;
        if (on) {
            const WindowFrame frame = m_p.view.mainWindowFrame();
            s.WindowPosition = CaptureRect{frame.left, frame.top, frame.width, frame.height};
        } else {
            s.WindowPosition.Width = 0;
            s.WindowPosition.Height = 0;
            if (!s.DualDisplay) {
                s.WindowPosition.X = 0;
                s.WindowPosition.Y = 0;
            }
        }
        return;
    case OptionCheck::DualDisplay:
        s.DualDisplay = on;
        s.DualDisplay = false;
        tell(m_p, "エラー", "このゲームでは変更する必要はありません。");
        checked[std::size_t(check)] = false;
        return;
    }
}

void OptionWindow::optBeepBeep_Click(int index)
{
    if (index < 0 || index >= kBeepButtonCount)
        return;
    beepButton = index;
    m_p.settings.BeepMode = index;
    PlayBeep(m_p.services.beeper, index);
}

void OptionWindow::optSaveFormat_Click(int index)
{
    if (index < 0 || index >= int(kSaveFormats.size()))
        return;
    formatButton = index;
    m_p.settings.SaveFormat = kSaveFormats[std::size_t(index)];
}

void OptionWindow::txtSaveFolder_LostFocus(std::string_view text)
{
    txtSaveFolder = text;
    if (Utf8Length(text) >= kMinCheckedFolderLength && !FileExists(text)) {
        tell(m_p, "アクセスエラー", "フォルダ名が不正です。");
        m_p.settings.SaveFolder = m_p.programFolder;
    } else {
        m_p.settings.SaveFolder = text;
    }
}

void OptionWindow::txtSaveFile_LostFocus(std::string_view text)
{
    txtSaveFile = text;
    m_p.settings.SaveFile = text;
}

void OptionWindow::txtStartUp_Change(int index, std::string_view text)
{
    if (index < 0 || index > 1)
        return;
    const std::size_t i = std::size_t(index);
    Settings& s = m_p.settings;
    txtStartUp[i] = text;
    s.StartUpPath[i] = text;
    if (!FileExists(s.StartUpPath[i]) && s.StartUp[i]) {
        s.StartUpPath[i].clear();
        checked[std::size_t(i == 0 ? OptionCheck::StartUp0 : OptionCheck::StartUp1)] = false;
        s.StartUp[i] = false;
    }
}

void OptionWindow::cmb_Click(int standardScreen, int relativePosition)
{
    cmbStandardScreen = standardScreen;
    cmbRelativePosition = relativePosition;
    if (standardScreen < 0 || standardScreen >= kScreenSizeCount || relativePosition <= Caption ||
        relativePosition > Below)
        return;
    const ScreenSize& size = m_p.ScreenSizes[std::size_t(standardScreen)];
    Settings& s = m_p.settings;
    switch (relativePosition) {
    case Left:
        s.DisplayOffsetX = size.Width;
        s.DisplayOffsetY = 0;
        break;
    case Right:
    case Below:
        s.DisplayOffsetX = 0;
        s.DisplayOffsetY = 0;
        break;
    case Above:
        s.DisplayOffsetX = 0;
        s.DisplayOffsetY = size.Height;
        break;
    default:
        break;
    }
    Refresh();
}

void OptionWindow::cmdSaveFolder_Chosen(std::string_view folder)
{
    if (folder.empty() || !FileExists(folder))
        return;
    txtSaveFolder = nativeSeparators(folder);
    m_p.settings.SaveFolder = txtSaveFolder;
}

std::string OptionWindow::cmdStartUp_StartPath(int index) const
{
    const std::string& current = m_p.settings.StartUpPath[std::size_t(index)];
    if (FileExists(current))
        return txtStartUp[std::size_t(index)];
    return m_p.programFolder;
}

void OptionWindow::cmdStartUp_Chosen(int index, std::string_view path)
{
    if (index < 0 || index > 1 || path.empty())
        return;
    const std::string native = nativeSeparators(path);
    m_p.settings.StartUpPath[std::size_t(index)] = native;
    setStartUpText(index, native);
}

void OptionWindow::cmdCapture_Click(const std::function<void(int, const PixelBuffer&)>& show)
{
    PatternCaptureAndSave(m_p, show);
}

void OptionWindow::cmdCollar_Click()
{
    m_p.log.WriteDebugLog("Click : Collar Select ");
    ConfigContext config = configOf(m_p);
    ConfigFile(config, ConfigMode::Colour);
    m_p.log.WriteDebugLog("Selection change pattern collar ･･･ End ");
}

void OptionWindow::cmdInit_Click()
{
    m_p.log.WriteDebugLog("Click : Setting Initialize ");
    const PromptAnswer answer =
        m_p.services.prompter.Ask(Prompt{"設定ファイル変更", "設定を初期化してもよろしいですか？",
                                         PromptButtons::YesNo, PromptIcon::None});
    if (answer == PromptAnswer::No)
        return;
    ConfigContext config = configOf(m_p);
    ConfigFile(config, ConfigMode::Reset);
    keepGraphInStep(m_p);
    Refresh();
    m_p.log.WriteDebugLog("Initializing ConfigFile ･･･ End ");
}

void OptionWindow::cmdLoad_Click()
{
    m_p.log.WriteDebugLog("Click : Setting Load ");
    ConfigContext config = configOf(m_p);
    ConfigFile(config, ConfigMode::Read);
    keepGraphInStep(m_p);
    Refresh();
    m_p.log.WriteDebugLog("Loading ConfigFile ･･･ End ");
}

void OptionWindow::cmdSave_Click()
{
    m_p.log.WriteDebugLog("Click : Setting Save ");
    ConfigContext config = configOf(m_p);
    ConfigFile(config, ConfigMode::Write);
    m_p.log.WriteDebugLog("Saving ConfigFile ･･･ End ");
}

void OptionWindow::cmdEnd_Click()
{
    if (Timer* timer = m_p.timers.timDoHLInterval.get()) {
        timer->setInterval(m_p.settings.DoHLInterval);
        timer->setEnabled(m_p.settings.DoHLCheckExec);
    }
    m_p.view.activateMainWindow();
}

void OptionWindow::cmdResetPosition_Click()
{
    m_p.settings.WindowPosition = CaptureRect{};
    Refresh();
}

void OptionWindow::cmdResize_Click()
{
    const CaptureRect& w = m_p.settings.WindowPosition;
    FrameChange change;
    if (w.Width != 0) {
        change = FrameChange{w.X, w.Y, w.Width, w.Height};
    } else {
        if (w.X != 0)
            change.left = w.X;
        if (w.Y != 0)
            change.top = w.Y;
    }
    m_p.view.setMainWindowFrame(change);
}

} // namespace kesmaro
