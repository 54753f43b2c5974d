#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>
// clang-format on

#include "app/GestureWindow.h"
#include "common/Numeric.h"
#include "common/Paths.h"
#include "common/Utf8.h"
#include "config/ExtraSettings.h"
#include "measurement/StatusLine.h"
#include "records/InputCheckBox.h"
#include "state/Program.h"
#include "ui/win32/AreaFinderDialog.h"
#include "ui/win32/FormOption.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kesmaro {

using win32::Box;

namespace {

constexpr const wchar_t* kWindowClass = L"KesmaroFormOption";
constexpr const char* kCaption = "オプション";
constexpr std::array<const char*, kOptionPageCount> kTabCaptions{
    " 　基本設定　 ", " 　拡張設定　 ", " 自動起動設定 ", " 認識領域設定 ", " 双界画面設定 "};
constexpr std::array<const char*, kBeepButtonCount> kBeepCaptions{"無",   "小",   "低短",
                                                                  "高短", "低長", "高長"};
constexpr std::array<const char*, kSaveFormats.size()> kFormatCaptions{
    "ＢＭＰ形式", "ＰＮＧ形式", "ＪＰＧ形式90", "ＪＰＧ形式70"};

// The designed window: the tab strip, its pages below the tabs, the buttons under it.
constexpr int kClientWidth = 540;
constexpr int kClientHeight = 392;
constexpr Box kTabStrip{8, 8, 524, 320};
// A page covers the strip below its tabs.
constexpr Box kPage{kTabStrip.left + 1, kTabStrip.top + 21, kTabStrip.width - 3,
                    kTabStrip.height - 29};
constexpr int kButtonsTop = 358;
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kValueWidth = 56;
constexpr int kValueHeight = 20;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

bool Checked(HWND box)
{
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND box, bool on)
{
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The folder of a path and its last component, split at the last separator.
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return {{}, path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

// The system's folder dialog; the older folder browser where it is missing.
std::string ChooseFolderWithSystemDialog(HWND owner, const std::string& title,
                                         const std::string& start)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::string chosen;
    bool shown = false;
    IFileOpenDialog* dialog = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog)))) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
        const std::wstring wideTitle = Utf8ToWide(title);
        dialog->SetTitle(wideTitle.c_str());
        IShellItem* folder = nullptr;
        const std::wstring wideStart = Utf8ToWide(start);
        if (!start.empty() &&
            SUCCEEDED(SHCreateItemFromParsingName(wideStart.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(&folder)))) {
            dialog->SetFolder(folder);
            folder->Release();
        }
        const HRESULT answer = dialog->Show(owner);
        shown = SUCCEEDED(answer) || answer == HRESULT_FROM_WIN32(ERROR_CANCELLED);
        IShellItem* result = nullptr;
        if (SUCCEEDED(answer) && SUCCEEDED(dialog->GetResult(&result))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                chosen = WideToUtf8(path);
                CoTaskMemFree(path);
            }
            result->Release();
        }
        dialog->Release();
    }
    if (!shown) {
        const std::wstring text = Utf8ToWide(title);
        BROWSEINFOW browse{};
        browse.hwndOwner = owner;
        browse.lpszTitle = text.c_str();
        browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&browse)) {
            wchar_t path[MAX_PATH] = {};
            if (SHGetPathFromIDListW(list, path))
                chosen = WideToUtf8(path);
            CoTaskMemFree(list);
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

std::string ChooseFileWithSystemDialog(HWND owner, const std::string& title,
                                       const std::string& startFolder, const std::string& file)
{
    // Pairs of a name and a pattern, each ending in a nul, the list in a second one.
    static const wchar_t kFilter[] = L"アプリケーション (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
    std::wstring buffer = Utf8ToWide(file);
    buffer.resize(std::max<std::size_t>(buffer.size() + 1, 32768), L'\0');
    const std::wstring wideTitle = Utf8ToWide(title);
    const std::wstring folder = Utf8ToWide(startFolder);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = owner;
    open.lpstrFilter = kFilter;
    open.nFilterIndex = 1;
    open.lpstrFile = buffer.data();
    open.nMaxFile = static_cast<DWORD>(buffer.size());
    open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    open.lpstrTitle = wideTitle.c_str();
    open.lpstrDefExt = L"exe";
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&open))
        return {};
    return WideToUtf8(buffer.c_str());
}

} // namespace

FormOption::FormOption(Program& p) : m_p(p), m_logic(p)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    win32::RegisterFormClass({kWindowClass, DefWindowProcW, 0, true});
    m_window = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormOption::Proc));
    m_dpi = win32::WindowDpi(m_window);
    win32::SetText(m_window, kCaption);
    RECT frame{0, 0, win32::Scaled(kClientWidth, m_dpi), win32::Scaled(kClientHeight, m_dpi)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                m_window, nullptr, GetModuleHandleW(nullptr), nullptr);

    m_tabOption = win32::CreateControl(m_window, WC_TABCONTROLW, "", WS_CLIPSIBLINGS | WS_TABSTOP,
                                       kTabStrip, IdTabOption, m_dpi);
    for (std::size_t i = 0; i < kTabCaptions.size(); ++i) {
        std::wstring caption = Utf8ToWide(kTabCaptions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(m_tabOption, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    for (int i = 0; i < kOptionPageCount; ++i)
        m_frmOption[std::size_t(i)] =
            win32::CreatePage(m_window, kPage, IdFrmOptionFirst + i, m_dpi);
    // The pages lie over the strip: it is painted first, beneath them.
    SetWindowPos(m_tabOption, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    buildGeneralPage(m_frmOption[0]);
    buildFurtherPage(m_frmOption[1]);
    buildStartUpPage(m_frmOption[2]);
    buildCapturePage(m_frmOption[3]);
    buildWindowPage(m_frmOption[4]);

    button(m_window, "読 込", IdCmdLoad, {8, kButtonsTop, kButtonWidth, kButtonHeight});
    button(m_window, "初期化", IdCmdInit, {86, kButtonsTop, kButtonWidth, kButtonHeight});
    button(m_window, "保 存", IdCmdSave, {164, kButtonsTop, kButtonWidth, kButtonHeight});
    button(m_window, "戻 る", IdCmdEnd,
           {kClientWidth - 8 - kButtonWidth, kButtonsTop, kButtonWidth, kButtonHeight});
    label(m_window, "保存しないと次回起動時に設定が引継がれません。",
          {8, kTabStrip.top + kTabStrip.height + 5, 524, 18}, IdLblSave);

    win32::SetFontTree(m_window, win32::InterfaceFont(m_dpi));
    // The sizes' texts are laid out in columns.
    SendMessageW(m_cmbStandardScreen, WM_SETFONT, reinterpret_cast<WPARAM>(win32::LogFont(m_dpi)),
                 FALSE);
    SendMessageW(m_tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(win32::InterfaceFont(m_dpi)),
                 FALSE);

    m_logic.loadGestureWindow = [&p] { LoadGestureInput(p); };
    m_logic.unloadGestureWindow = [&p] { UnloadGestureInput(p); };
    confirmAreas = [this](const PixelBuffer& picture, const AreaProposal& proposal) {
        return AreaFinderDialog::confirm(m_window, picture, proposal);
    };
    chooseFolder = [this](const std::string& title, const std::string& start) {
        return ChooseFolderWithSystemDialog(m_window, title, start);
    };
    chooseFile = [this](const std::string& title, const std::string& folder,
                        const std::string& file) {
        return ChooseFileWithSystemDialog(m_window, title, folder, file);
    };
    m_logic.Load();
    showState();
}

FormOption::~FormOption()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
        DestroyWindow(m_window);
    }
}

HWND FormOption::label(HWND parent, const char* text, const Box& where, int id, DWORD align)
{
    return win32::CreateLabel(parent, text, where, id, m_dpi, align);
}

HWND FormOption::numberBox(HWND parent, int id, const Box& where)
{
    // A number in a sunken white box; a click on it asks for a new one.
    return win32::CreateControl(parent, L"STATIC", "",
                                SS_RIGHT | SS_NOTIFY | SS_NOPREFIX | SS_CENTERIMAGE, where, id,
                                m_dpi, WS_EX_CLIENTEDGE);
}

HWND FormOption::valueLabel(HWND parent, const char* name, const Box& where)
{
    const OptionValueLabel* info = FindOptionValueLabel(name);
    const auto index = static_cast<std::size_t>(info - OptionValueLabels().data());
    HWND l = numberBox(parent, IdValueFirst + static_cast<int>(index), where);
    m_values[index] = l;
    return l;
}

HWND FormOption::checkBox(HWND parent, OptionCheck check, const char* caption, const Box& where)
{
    // Not automatic: the box shows the state, which the click's rule may refuse.
    const auto index = static_cast<std::size_t>(check);
    HWND box = win32::CreateButton(parent, caption, where, IdCheckFirst + static_cast<int>(index),
                                   m_dpi, BS_CHECKBOX);
    m_checks[index] = box;
    return box;
}

HWND FormOption::group(HWND parent, const char* title, const Box& where)
{
    return win32::CreatePanel(parent, title, where, 0, m_dpi);
}

HWND FormOption::button(HWND parent, const char* caption, int id, const Box& where)
{
    return win32::CreateButton(parent, caption, where, id, m_dpi);
}

HWND FormOption::textBox(HWND parent, int id, const Box& where)
{
    return win32::CreateControl(parent, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, where, id, m_dpi,
                                WS_EX_CLIENTEDGE);
}

void FormOption::addTooltip(HWND control, const char* tip)
{
    std::wstring text = Utf8ToWide(tip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormOption::buildGeneralPage(HWND page)
{
    checkBox(page, OptionCheck::AutoStart, "起動と同時にロギング開始", {12, 8, 300, 20});
    label(page, "キャプチャ時に音をならす", {12, 36, 200, 18}, IdLblBeepBeep);
    for (int i = 0; i < kBeepButtonCount; ++i)
        m_beep[std::size_t(i)] =
            win32::CreateButton(page, kBeepCaptions[std::size_t(i)], {24 + i * 62, 56, 60, 20},
                                IdBeepFirst + i, m_dpi, BS_RADIOBUTTON);
    label(page, "キャプチャ周期", {12, 90, 100, 20});
    valueLabel(page, "lblCaptureInterval", {116, 90, kValueWidth, kValueHeight});
    label(page, "分", {176, 90, 30, 20});
    label(page, "監視遅延時間", {12, 116, 100, 20});
    valueLabel(page, "lblStartDelay", {116, 116, kValueWidth, kValueHeight});
    label(page, "秒", {176, 116, 30, 20});

    label(page, "保存場所", {12, 152, 64, 22});
    m_txtSaveFolder = textBox(page, IdTxtSaveFolder, {76, 152, 236, 22});
    button(page, "参照", IdCmdSaveFolder, {316, 151, 48, 24});
    label(page, " ＋\\LOG\\", {366, 152, 70, 22});

    label(page, "ファイル名", {12, 182, 64, 22});
    m_txtSaveFile = textBox(page, IdTxtSaveFile, {76, 182, 150, 22});
    m_lblSaveFile_u = label(page, "", {230, 182, 130, 22}, IdLblSaveFileU);
    m_lblSaveCsv = label(page, "", {360, 182, 50, 22}, IdLblSaveCsv);
    checkBox(page, OptionCheck::SaveDistance, "一ヶ月ごとのファイルにする", {76, 212, 300, 20});
    checkBox(page, OptionCheck::SaveCsv, "CSVファイルで保存する", {76, 236, 300, 20});
}

void FormOption::buildFurtherPage(HWND page)
{
    checkBox(page, OptionCheck::Graph, "グラフ表示", {12, 8, 110, 20});
    valueLabel(page, "lblGraphTimeScale", {128, 8, kValueWidth, kValueHeight});
    label(page, "個 平均", {188, 8, 56, 20});
    valueLabel(page, "lblGraphAveNum", {246, 8, kValueWidth, kValueHeight});
    label(page, "回", {306, 8, 30, 20});

    HWND formats = group(page, "スクリーンショットのファイル形式", {8, 34, 500, 48});
    for (std::size_t i = 0; i < kSaveFormats.size(); ++i)
        m_formats[i] =
            win32::CreateButton(formats, kFormatCaptions[i], {12 + int(i) * 122, 20, 118, 20},
                                IdFormatFirst + int(i), m_dpi, BS_RADIOBUTTON);

    checkBox(page, OptionCheck::Gesture, "マウスボタンジェスチャ有効", {12, 90, 220, 20});
    label(page, "入力待ち時間", {240, 90, 90, 20});
    valueLabel(page, "lblGestureTime", {330, 90, kValueWidth, kValueHeight});
    label(page, "ｍ秒", {390, 90, 40, 20});
    const struct {
        int index;
        const char* text;
        const char* tip;
    } helps[] = {
        {0, "L-R-L-L(R)：一時停止 ON(OFF)",
         " ひだり-みぎ-ひだり-ひだり：ON　　ひだり-みぎ-ひだり-みぎ：OFF "},
        {2, "R-L-L-L(R) ：DoHL(自動撮影) ON(OFF)",
         " みぎ-ひだり-ひだり-ひだり：ON　　みぎ-ひだり-ひだり-みぎ：OFF "},
        {3, "R-R-R-R   ：時給タイマリセット", " みぎ-みぎ-みぎ-みぎ：測定サイクルリセット "},
        {4, "LRﾀﾞﾌﾞﾙｸﾘｯｸ：スクリーンショット撮影", " 同時押し-同時押し：撮影 "},
    };
    int top = 114;
    for (const auto& help : helps) {
        // Notifying, so that the mouse reaches the label and its tooltip.
        HWND l = win32::CreateControl(page, L"STATIC", help.text, SS_LEFT | SS_NOPREFIX | SS_NOTIFY,
                                      {32, top, 380, 16}, IdLblGestureFirst + help.index, m_dpi);
        addTooltip(l, help.tip);
        top += 17;
    }

    checkBox(page, OptionCheck::DoHLCheckExec, "DEAD OR HAPPY LIVE (自動撮影) 有効",
             {12, 190, 300, 20});
    label(page, "監視周期", {32, 214, 90, 20});
    valueLabel(page, "lblDoHLInterval", {124, 214, kValueWidth, kValueHeight});
    label(page, "ｍ秒", {184, 214, 40, 20});
    label(page, "ラグ回避時間", {232, 214, 90, 20});
    valueLabel(page, "lblLag", {330, 214, kValueWidth, kValueHeight});
    label(page, "ｍ秒", {390, 214, 40, 20});
    checkBox(page, OptionCheck::Debug, "デバッグモード(遅くなります)", {12, 250, 220, 20});
    // The status line's rolling rates, kept beside the settings file.
    label(page, "直近の時給期間", {240, 250, 90, 20});
    m_lblRollingMinutes =
        numberBox(page, IdLblRollingMinutes, {330, 250, kValueWidth, kValueHeight});
    label(page, "分", {390, 250, 30, 20});
}

void FormOption::buildStartUpPage(HWND page)
{
    const std::array<const char*, 2> captions{"自動起動アプリ１", "自動起動アプリ２"};
    for (int i = 0; i < 2; ++i) {
        const int top = 12 + i * 64;
        checkBox(page, i == 0 ? OptionCheck::StartUp0 : OptionCheck::StartUp1,
                 captions[std::size_t(i)], {12, top, 200, 20});
        m_txtStartUp[std::size_t(i)] =
            textBox(page, IdTxtStartUpFirst + i, {12, top + 24, 364, 22});
        button(page, "参照", IdCmdStartUpFirst + i, {380, top + 23, 48, 24});
    }
    label(page, "アプリ２起動遅延時間", {12, 148, 140, 20});
    valueLabel(page, "lblStartUpDelay", {156, 148, kValueWidth, kValueHeight});
    label(page, "秒", {216, 148, 30, 20});
}

void FormOption::buildCapturePage(HWND page)
{
    const std::array<const char*, 3> titles{"Lv認識領域", "EXP認識領域", "ｺｲﾝ認識領域"};
    const auto pair = [&](HWND box, int top, const char* title, const std::string& x,
                          const std::string& y) {
        label(box, title, {8, top, 40, 20});
        label(box, "X", {50, top, 12, 20});
        valueLabel(box, x.c_str(), {62, top, 40, 20});
        label(box, "Y", {108, top, 12, 20});
        valueLabel(box, y.c_str(), {120, top, 40, 20});
    };
    const auto indexed = [](const char* name, int index) {
        return std::string(name) + "(" + std::to_string(index) + ")";
    };
    for (int i = 0; i < 3; ++i) {
        HWND box = group(page, titles[std::size_t(i)], {6 + i * 172, 4, 168, 76});
        pair(box, 22, "始点", indexed("lblCapture_sx", i), indexed("lblCapture_sy", i));
        pair(box, 48, "サイズ", indexed("lblCapture_ex", i), indexed("lblCapture_ey", i));
    }
    for (int j = 1; j <= 2; ++j) {
        HWND box = group(page, "拡張始点", {6 + (j - 1) * 172, 84, 168, 50});
        pair(box, 22, "", indexed("lblCapture_ax", j), indexed("lblCapture_ay", j));
    }
    label(page, "pix", {346, 106, 24, 20});
    HWND source = group(page, "キャプチャ元", {372, 84, 142, 50});
    m_optSourceWindow = win32::CreateButton(source, "ウィンドウ", {8, 22, 80, 20},
                                            IdOptSourceWindow, m_dpi, BS_RADIOBUTTON);
    m_optSourceScreen = win32::CreateButton(source, "画面", {90, 22, 48, 20}, IdOptSourceScreen,
                                            m_dpi, BS_RADIOBUTTON);
    for (int i = 0; i < 5; ++i)
        m_picCapture[std::size_t(i)] =
            win32::CreateControl(page, L"STATIC", "", SS_OWNERDRAW, {8, 142 + i * 28, 302, 22},
                                 IdPicCaptureFirst + i, m_dpi, WS_EX_CLIENTEDGE);
    button(page, "テスト", IdOptCmdCapture, {380, 150, kButtonWidth, kButtonHeight});
    label(page, "10秒後にキャプチャ", {350, 178, 134, 18}, 0, SS_CENTER);
    button(page, "色選択", IdCmdCollar, {380, 226, kButtonWidth, kButtonHeight});
    button(page, "自動検出", IdCmdDetect, {380, 258, kButtonWidth, kButtonHeight});
}

void FormOption::buildWindowPage(HWND page)
{
    checkBox(page, OptionCheck::WindowMemory, "ウィンドウ位置を記憶する", {12, 8, 300, 20});
    HWND position = group(page, "起動時ウィンドウ位置", {8, 32, 250, 80});
    const auto pair = [&](HWND box, int top, const char* title, const char* x, const char* y) {
        label(box, title, {10, top, 44, 20});
        label(box, "X", {54, top, 12, 20});
        valueLabel(box, x, {66, top, kValueWidth, kValueHeight});
        label(box, "Y", {128, top, 12, 20});
        valueLabel(box, y, {140, top, kValueWidth, kValueHeight});
        label(box, "pix", {200, top, 30, 20});
    };
    pair(position, 22, "始点", "lblWindowPosition_sx", "lblWindowPosition_sy");
    pair(position, 50, "サイズ", "lblWindowPosition_ex", "lblWindowPosition_ey");
    button(page, "反 映", IdCmdResize, {270, 44, kButtonWidth, kButtonHeight});
    button(page, "忘 却", IdCmdResetPosition, {270, 78, kButtonWidth, kButtonHeight});

    checkBox(page, OptionCheck::DualDisplay, "デュアルディスプレイに対応する", {12, 124, 300, 20});
    HWND offset = group(page, "認識領域オフセット", {8, 148, 250, 52});
    label(offset, "X", {54, 22, 12, 20});
    valueLabel(offset, "lblDisplayOffset_x", {66, 22, kValueWidth, kValueHeight});
    label(offset, "Y", {128, 22, 12, 20});
    valueLabel(offset, "lblDisplayOffset_y", {140, 22, kValueWidth, kValueHeight});
    label(offset, "pix", {200, 22, 30, 20});

    // The height is the list's when dropped down.
    m_cmbStandardScreen =
        win32::CreateControl(page, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                             {12, 212, 196, 300}, IdCmbStandardScreen, m_dpi);
    m_cmbRelativePosition =
        win32::CreateControl(page, WC_COMBOBOXW, "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                             {214, 212, 120, 160}, IdCmbRelativePosition, m_dpi);
}

void FormOption::open()
{
    for (PixelBuffer& picture : m_pictures)
        picture = PixelBuffer();
    for (HWND picture : m_picCapture)
        InvalidateRect(picture, nullptr, TRUE);
    m_logic.Refresh();
    showState();
    ShowWindow(m_window, SW_SHOW);
    if (IsIconic(m_window))
        ShowWindow(m_window, SW_RESTORE);
    SetForegroundWindow(m_window);
    BringWindowToTop(m_window);
}

void FormOption::activated()
{
    m_logic.Refresh();
    showState();
}

void FormOption::showPage()
{
    SendMessageW(m_tabOption, TCM_SETCURSEL, static_cast<WPARAM>(m_logic.page), 0);
    for (int i = 0; i < kOptionPageCount; ++i)
        ShowWindow(m_frmOption[std::size_t(i)], i == m_logic.page ? SW_SHOWNA : SW_HIDE);
}

void FormOption::showCaptureSource()
{
    const CaptureSource source = captureSource(std::nullopt);
    SetChecked(m_optSourceWindow, source == CaptureSource::Window);
    SetChecked(m_optSourceScreen, source == CaptureSource::Screen);
}

void FormOption::showState()
{
    m_showing = true;
    showPage();
    for (std::size_t i = 0; i < m_values.size(); ++i)
        if (m_values[i])
            win32::SetText(m_values[i], m_logic.valueTexts[i]);
    for (std::size_t i = 0; i < m_checks.size(); ++i)
        SetChecked(m_checks[i], m_logic.checked[i]);
    for (int i = 0; i < kBeepButtonCount; ++i)
        SetChecked(m_beep[std::size_t(i)], i == m_logic.beepButton);
    for (int i = 0; i < int(m_formats.size()); ++i)
        SetChecked(m_formats[std::size_t(i)], i == m_logic.formatButton);
    const auto showText = [](HWND box, const std::string& text) {
        if (win32::GetText(box) != text) // keeps the caret of a box being typed in
            win32::SetText(box, text);
    };
    showText(m_txtSaveFolder, m_logic.txtSaveFolder);
    showText(m_txtSaveFile, m_logic.txtSaveFile);
    m_committedFolder = m_logic.txtSaveFolder;
    m_committedFile = m_logic.txtSaveFile;
    for (std::size_t i = 0; i < 2; ++i)
        showText(m_txtStartUp[i], m_logic.txtStartUp[i]);
    win32::SetText(m_lblRollingMinutes, std::to_string(m_p.extra.RollingMinutes));
    win32::SetText(m_lblSaveCsv, m_logic.lblSaveCsv);
    win32::SetText(m_lblSaveFile_u, m_logic.lblSaveFile_u);
    const auto showCombo = [](HWND combo, const std::vector<std::string>& texts, int current) {
        std::vector<std::string> shown;
        const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(
                static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            shown.push_back(WideToUtf8(item.c_str()));
        }
        if (shown != texts) {
            SendMessageW(combo, CB_RESETCONTENT, 0, 0);
            for (const std::string& text : texts) {
                const std::wstring wide = Utf8ToWide(text);
                SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
            }
        }
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
    };
    showCombo(m_cmbStandardScreen, m_logic.cmbStandardScreenItems, m_logic.cmbStandardScreen);
    showCombo(m_cmbRelativePosition, m_logic.cmbRelativePositionItems, m_logic.cmbRelativePosition);
    showCaptureSource();
    m_showing = false;
}

CaptureSource FormOption::captureSource(std::optional<CaptureSource> chosen)
{
    // Saved at once beside the settings file and used from the next grab, like the status
    // line's rolling window: nothing to do with 保 存 of the settings file.
    if (chosen && *chosen != m_p.extra.Source) {
        m_p.extra.Source = *chosen;
        m_p.services.windows.SetCaptureSource(*chosen);
        SaveCaptureSource(m_p.programFolder, *chosen);
    }
    return m_p.extra.Source;
}

void FormOption::commitSaveFolder()
{
    const std::string text = win32::GetText(m_txtSaveFolder);
    if (text == m_committedFolder)
        return;
    m_committedFolder = text;
    m_logic.txtSaveFolder_LostFocus(text);
}

void FormOption::commitSaveFile()
{
    const std::string text = win32::GetText(m_txtSaveFile);
    if (text == m_committedFile)
        return;
    m_committedFile = text;
    m_logic.txtSaveFile_LostFocus(text);
}

void FormOption::cmdEnd_Click()
{
    // The focus leaves a text box for the button first.
    commitSaveFolder();
    commitSaveFile();
    ShowWindow(m_window, SW_HIDE);
    m_logic.cmdEnd_Click();
}

void FormOption::cmdSaveFolder_Click()
{
    const std::string folder = chooseFolder(SaveFolderBrowserText(), m_p.settings.SaveFolder);
    m_logic.cmdSaveFolder_Chosen(folder);
    m_committedFolder = m_logic.txtSaveFolder;
    showState();
}

void FormOption::cmdStartUp_Click(int index)
{
    const std::string start = m_logic.cmdStartUp_StartPath(index);
    const bool onFile = start != m_p.programFolder && FileExists(start);
    const auto [folder, file] = SplitPath(start);
    const std::string chosen = onFile ? chooseFile(StartUpDialogTitle(index), folder, file)
                                      : chooseFile(StartUpDialogTitle(index), start, {});
    m_logic.cmdStartUp_Chosen(index, chosen);
    showState();
}

void FormOption::cmdDetect_Click()
{
    // The detection tells of a missing game or numbers itself.
    AutoDetectCaptureAreas(m_p, confirmAreas);
    m_logic.Refresh();
    showState();
}

void FormOption::lblRollingMinutes_Click()
{
    const std::optional<double> answer =
        InputCheckBox(m_p.services.numberInput, std::to_string(kRollingMinutesMin),
                      std::to_string(kRollingMinutesMax), m_p.extra.RollingMinutes, "10",
                      RollingMinutesPrompt(), "設定値入力");
    if (answer && std::isfinite(*answer) &&
        !SetRollingMinutes(m_p, std::llround(RoundHalfEven(*answer))))
        m_p.services.prompter.Ask(Prompt{"設定ファイル書き込み",
                                         "KesmaroExtra.ini に保存できませんでした。",
                                         PromptButtons::Ok, PromptIcon::None});
    showState();
}

void FormOption::combo_Click()
{
    m_logic.cmb_Click(static_cast<int>(SendMessageW(m_cmbStandardScreen, CB_GETCURSEL, 0, 0)),
                      static_cast<int>(SendMessageW(m_cmbRelativePosition, CB_GETCURSEL, 0, 0)));
    showState();
}

void FormOption::command(int id, int code, HWND control)
{
    if (id >= IdValueFirst && id < IdValueFirst + kOptionValueLabelCount) {
        if (code == STN_CLICKED) {
            m_logic.ValueLabel_Click(OptionValueLabels()[std::size_t(id - IdValueFirst)]);
            showState();
        }
        return;
    }
    if (id == IdLblRollingMinutes) {
        if (code == STN_CLICKED)
            lblRollingMinutes_Click();
        return;
    }
    if (id == IdTxtSaveFolder || id == IdTxtSaveFile) {
        if (code == EN_KILLFOCUS)
            id == IdTxtSaveFolder ? commitSaveFolder() : commitSaveFile();
        return;
    }
    if (id >= IdTxtStartUpFirst && id < IdTxtStartUpFirst + 2) {
        if (code == EN_CHANGE && !m_showing) {
            m_logic.txtStartUp_Change(id - IdTxtStartUpFirst, win32::GetText(control));
            showState();
        }
        return;
    }
    if (id == IdCmbStandardScreen || id == IdCmbRelativePosition) {
        // A choice made again runs the rule again: it has no other effect.
        if (code == CBN_SELCHANGE || code == CBN_SELENDOK)
            combo_Click();
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (id >= IdCheckFirst && id < IdCheckFirst + kOptionCheckCount) {
        // The box is not automatic: the click turns it to the other state, the rule decides.
        m_logic.Check_Click(static_cast<OptionCheck>(id - IdCheckFirst), !Checked(control));
        showState();
        return;
    }
    if (id >= IdBeepFirst && id < IdBeepFirst + kBeepButtonCount) {
        m_logic.optBeepBeep_Click(id - IdBeepFirst);
        showState();
        return;
    }
    if (id >= IdFormatFirst && id < IdFormatFirst + static_cast<int>(kSaveFormats.size())) {
        m_logic.optSaveFormat_Click(id - IdFormatFirst);
        showState();
        return;
    }
    if (id >= IdCmdStartUpFirst && id < IdCmdStartUpFirst + 2)
        return cmdStartUp_Click(id - IdCmdStartUpFirst);
    switch (id) {
    case IdCmdLoad:
        m_logic.cmdLoad_Click();
        return showState();
    case IdCmdInit:
        m_logic.cmdInit_Click();
        return showState();
    case IdCmdSave:
        return m_logic.cmdSave_Click();
    case IdCmdEnd:
        return cmdEnd_Click();
    case IdCmdSaveFolder:
        return cmdSaveFolder_Click();
    case IdOptCmdCapture:
        return m_logic.cmdCapture_Click([this](int slot, const PixelBuffer& pixels) {
            if (slot < 0 || slot >= int(m_pictures.size()))
                return;
            m_pictures[std::size_t(slot)] = pixels;
            InvalidateRect(m_picCapture[std::size_t(slot)], nullptr, TRUE);
        });
    case IdCmdCollar:
        m_logic.cmdCollar_Click();
        return showState();
    case IdCmdDetect:
        return cmdDetect_Click();
    case IdOptSourceWindow:
    case IdOptSourceScreen:
        captureSource(id == IdOptSourceScreen ? CaptureSource::Screen : CaptureSource::Window);
        return showCaptureSource();
    case IdCmdResize:
        return m_logic.cmdResize_Click();
    case IdCmdResetPosition:
        m_logic.cmdResetPosition_Click();
        return showState();
    default:
        return;
    }
}

bool FormOption::drawItem(const DRAWITEMSTRUCT& item)
{
    const int slot = static_cast<int>(item.CtlID) - IdPicCaptureFirst;
    if (slot < 0 || slot >= int(m_pictures.size()))
        return false;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const PixelBuffer& pixels = m_pictures[std::size_t(slot)];
    if (!pixels.isWhole())
        return true;
    // At the captured size from the left, centred in height, as the picture box shows it.
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - pixels.height) / 2;
    const RECT target{item.rcItem.left, top, item.rcItem.left + pixels.width, top + pixels.height};
    win32::DrawPixels(item.hDC, target, pixels);
    return true;
}

LRESULT CALLBACK FormOption::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<FormOption*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT FormOption::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            activated();
        break;
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == m_tabOption && header->code == TCN_SELCHANGE) {
            m_logic.tabOption_Click(
                static_cast<int>(SendMessageW(m_tabOption, TCM_GETCURSEL, 0, 0)) + 1);
            showPage();
            return 0;
        }
        break;
    }
    case WM_DRAWITEM:
        if (drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if ((id >= IdValueFirst && id < IdValueFirst + kOptionValueLabelCount) ||
            id == IdLblRollingMinutes) {
            auto* dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    }
    case WM_SETCURSOR: {
        // The numbers that open the input dialog show the hand.
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        if (LOWORD(lParam) == HTCLIENT &&
            ((id >= IdValueFirst && id < IdValueFirst + kOptionValueLabelCount) ||
             id == IdLblRollingMinutes)) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case WM_CLOSE:
        // The close control leaves as 戻 る does: a watch switched on here must not stay off in
        // its timer. Nothing is written either way.
        if (!m_p.flags.ProgramClosing)
            cmdEnd_Click();
        else
            ShowWindow(m_window, SW_HIDE);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

} // namespace kesmaro
