#pragma once

#include "app/OptionWindow.h"
#include "config/ExtraSettings.h"
#include "recognition/AutoDetect.h"
#include "ui/win32/Controls.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <windows.h>

namespace kesmaro {

struct Program;

// The control ids of the options window's children, for the tests. Indexed widgets count up
// from their first id.
enum FormOptionId : int {
    IdTabOption = 100,
    IdFrmOptionFirst = 110, // frmOption(0) to (4)
    IdCmdLoad = 120,
    IdCmdInit,
    IdCmdSave,
    IdCmdEnd,
    IdLblSave,
    IdValueFirst = 200, // by the order of OptionValueLabels()
    IdCheckFirst = 240, // by OptionCheck
    IdBeepFirst = 260,  // optBeepBeep(0) to (5)
    IdLblBeepBeep = 266,
    IdFormatFirst = 270, // by kSaveFormats
    IdTxtSaveFolder = 280,
    IdCmdSaveFolder,
    IdTxtSaveFile,
    IdLblSaveFileU,
    IdLblSaveCsv,
    IdTxtStartUpFirst = 290, // txtStartUp(0), (1)
    IdCmdStartUpFirst = 292, // cmdStartUp(0), (1)
    IdPicCaptureFirst = 300, // picCapture(0) to (4)
    IdOptCmdCapture = 310,
    IdCmdCollar,
    IdCmdDetect,
    IdOptSourceWindow,
    IdOptSourceScreen,
    IdCmdResize = 320,
    IdCmdResetPosition,
    IdCmbStandardScreen,
    IdCmbRelativePosition,
    IdLblRollingMinutes = 330,
    IdLblGestureFirst = 335, // lblGesture(0), (2), (3), (4) at their index
};

// The options window: the controls of OptionWindow's state. Every click and edit goes to the
// window's logic, and the controls then show its state again. Modeless: the main window's
// timers run while it is open.
class FormOption {
public:
    explicit FormOption(Program& p);
    ~FormOption();
    FormOption(const FormOption&) = delete;
    FormOption& operator=(const FormOption&) = delete;

    HWND hwnd() const { return m_window; }

    // The menu's opening: the region pictures cleared, shown and brought to the front. The
    // window keeps its page and combo choices while hidden.
    void open();
    // What every activation does.
    void activated();

    OptionWindow& logic() { return m_logic; }

    // The platform dialogs, replaceable so that tests can answer them. Each returns the chosen
    // path (UTF-8), empty when nothing was chosen.
    std::function<std::string(const std::string& title, const std::string& start)> chooseFolder;
    std::function<std::string(const std::string& title, const std::string& startFolder,
                              const std::string& file)>
        chooseFile;
    // The capture-area finder's question: the proposal shown, true to apply it.
    AreaConfirmation confirmAreas;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code, HWND control);

    void buildGeneralPage(HWND page);
    void buildFurtherPage(HWND page);
    void buildStartUpPage(HWND page);
    void buildCapturePage(HWND page);
    void buildWindowPage(HWND page);
    HWND label(HWND parent, const char* text, const win32::Box& where, int id = 0,
               DWORD align = SS_LEFT);
    HWND numberBox(HWND parent, int id, const win32::Box& where);
    HWND valueLabel(HWND parent, const char* name, const win32::Box& where);
    HWND checkBox(HWND parent, OptionCheck check, const char* caption, const win32::Box& where);
    HWND group(HWND parent, const char* title, const win32::Box& where);
    HWND button(HWND parent, const char* caption, int id, const win32::Box& where);
    HWND textBox(HWND parent, int id, const win32::Box& where);
    void addTooltip(HWND control, const char* tip);

    void showState();
    void showPage();
    void showCaptureSource();
    void commitSaveFolder();
    void commitSaveFile();
    void cmdEnd_Click();
    void cmdSaveFolder_Click();
    void cmdStartUp_Click(int index);
    void cmdDetect_Click();
    void lblRollingMinutes_Click();
    void combo_Click();
    bool drawItem(const DRAWITEMSTRUCT& item);
    // The capture source setting ([Capture] Source of KesmaroExtra.ini), the one place that
    // reads and writes it: `chosen` stores a new choice; returns the current one. Until the
    // program keeps that setting, the window holds the choice for as long as it runs.
    CaptureSource captureSource(std::optional<CaptureSource> chosen);

    Program& m_p;
    OptionWindow m_logic;
    HWND m_window = nullptr;
    int m_dpi = 96;
    bool m_showing = false; // the controls are being set from the state
    HWND m_tabOption = nullptr;
    HWND m_tooltip = nullptr;
    std::array<HWND, kOptionPageCount> m_frmOption{};
    std::array<HWND, kOptionValueLabelCount> m_values{};
    std::array<HWND, kOptionCheckCount> m_checks{};
    std::array<HWND, kBeepButtonCount> m_beep{};
    std::array<HWND, kSaveFormats.size()> m_formats{};
    std::array<HWND, 5> m_picCapture{};
    std::array<PixelBuffer, 5> m_pictures{};
    HWND m_lblRollingMinutes = nullptr;
    HWND m_txtSaveFolder = nullptr;
    HWND m_txtSaveFile = nullptr;
    std::array<HWND, 2> m_txtStartUp{};
    HWND m_lblSaveCsv = nullptr;
    HWND m_lblSaveFile_u = nullptr;
    HWND m_cmbStandardScreen = nullptr;
    HWND m_cmbRelativePosition = nullptr;
    HWND m_optSourceWindow = nullptr;
    HWND m_optSourceScreen = nullptr;
    // What each text box last handed to the settings: a focus change without an edit (the
    // window losing the focus to its own message box) checks nothing twice.
    std::string m_committedFolder;
    std::string m_committedFile;
};

} // namespace kesmaro
