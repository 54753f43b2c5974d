#pragma once

#include "config/Settings.h"
#include "platform/PixelBuffer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

struct Program;

// A number of the settings shown as a label; a click asks for a new value within its bounds.
struct OptionValueLabel {
    const char* name; // the label's widget name, "lblCapture_sx(0)"
    std::int32_t& (*setting)(Settings&);
    const char* prompt; // UTF-8, lines separated by CR LF
    std::int32_t min;
    std::int32_t max;
    std::int32_t step;
};

// Capture areas 0 to 2 may start anywhere on a large game window; the money area's own
// default X lies above 800.
constexpr std::int32_t kAreaOriginMax = 4096;

constexpr int kOptionValueLabelCount = 30;
std::span<const OptionValueLabel> OptionValueLabels();
const OptionValueLabel* FindOptionValueLabel(const char* name);

enum class OptionCheck {
    AutoStart,
    SaveDistance,
    SaveCsv,
    Graph,
    Gesture,
    DoHLCheckExec,
    Debug,
    StartUp0,
    StartUp1,
    WindowMemory,
    DualDisplay,
};
constexpr int kOptionCheckCount = 11;

struct OptionCheckInfo {
    OptionCheck check;
    const char* name; // the check box's widget name
};
std::span<const OptionCheckInfo> OptionChecks();

constexpr int kBeepButtonCount = 6;
// The image kinds of the four format buttons, in their order.
constexpr std::array<std::string_view, 4> kSaveFormats{".bmp", ".png", ".jpg90", ".jpg70"};

// The pages of the window, as the tab captions name them.
constexpr int kOptionPageCount = 5;

// The options window without its widgets: what each widget shows, and what each click and edit
// does to the settings. The window shows these fields after every call.
class OptionWindow {
public:
    explicit OptionWindow(Program& p);

    // Each load of the window: the first page, the two combo boxes with their caption entries
    // chosen.
    void Load();

    Program& program() { return m_p; }

    // --- what the widgets show; texts are UTF-8
    int page = 0;
    std::array<std::string, kOptionValueLabelCount>
        valueTexts{}; // by the order of OptionValueLabels()
    std::array<bool, kOptionCheckCount> checked{};
    int beepButton = -1;   // the option button that is on; -1 none
    int formatButton = -1; // likewise for the image kinds
    std::string txtSaveFolder;
    std::string txtSaveFile;
    std::array<std::string, 2> txtStartUp{};
    std::string lblSaveCsv;
    std::string lblSaveFile_u;
    std::vector<std::string> cmbStandardScreenItems;
    int cmbStandardScreen = 0;
    std::vector<std::string> cmbRelativePositionItems;
    int cmbRelativePosition = 0;

    bool isChecked(OptionCheck c) const { return checked[static_cast<std::size_t>(c)]; }
    const std::string& valueText(const OptionValueLabel& label) const;

    // The gesture input window comes and goes with chkGesture.
    std::function<void()> loadGestureWindow;
    std::function<void()> unloadGestureWindow;

    // Every widget shows its setting again (each activation of the window).
    void Refresh();

    // `tab` counts from 1, as the tab strip does.
    void tabOption_Click(int tab);
    void ValueLabel_Click(const OptionValueLabel& label);
    // A click that leaves the box `on`.
    void Check_Click(OptionCheck check, bool on);
    void optBeepBeep_Click(int index);
    void optSaveFormat_Click(int index);

    void txtSaveFolder_LostFocus(std::string_view text);
    void txtSaveFile_LostFocus(std::string_view text);
    // Runs on every change of the box's text, typed or assigned.
    void txtStartUp_Change(int index, std::string_view text);

    // Either combo box chose an entry.
    void cmb_Click(int standardScreen, int relativePosition);

    // The folder browser returned `folder` (empty = nothing chosen).
    void cmdSaveFolder_Chosen(std::string_view folder);
    // Where the file dialog of companion application `index` starts: the current file when it
    // exists, otherwise the program's folder.
    std::string cmdStartUp_StartPath(int index) const;
    void cmdStartUp_Chosen(int index, std::string_view path);

    // The capture test; `show` puts each area's picture into the window.
    void cmdCapture_Click(const std::function<void(int slot, const PixelBuffer&)>& show);
    void cmdCollar_Click();
    void cmdInit_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    // The settings the level-up/death check timer takes from this window; the window hides
    // itself and the main window comes to the front.
    void cmdEnd_Click();
    void cmdResetPosition_Click();
    void cmdResize_Click();

private:
    void setStartUpText(int index, std::string_view text);
    void showSaveFileLabels();

    Program& m_p;
};

// The folder browser's text and the file dialog's title.
std::string SaveFolderBrowserText();
std::string StartUpDialogTitle(int index);

} // namespace kesmaro
