// The finder's confirmation dialog: what it says about each number, and its answers.

#include "ui/win32/AreaFinderDialog.h"

#include "ScriptedModal.h"
#include "TestFrames.h"
#include "config/Defaults.h"
#include "recognition/AutoDetect.h"
#include "ui/win32/Controls.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

using namespace kesmaro;
using test::ScriptedModal;

namespace {

class AreaFinderDialogTest : public ::testing::Test {
protected:
    AreaFinderDialogTest()
    {
        ApplyDefaults(settings, "C:\\");
        SetDefaultCaptureAreas(settings, ScreenMode::FullScreen);
        LoadDefaultGlyphTables(settings, InterfaceColour::Yellow);
    }
    AreaProposal find(const PixelBuffer& frame) const
    {
        return FindCaptureAreas(frame, FinderFontsOf(settings));
    }
    static std::string shown(const AreaFinderDialog& dialog, int id)
    {
        return win32::GetText(win32::FindControl(dialog.hwnd(), id));
    }

    Settings settings;
};

TEST_F(AreaFinderDialogTest, TellsWhatEachAreaReadsAndWhatIsMissing)
{
    const PixelBuffer frame = TestFrame(settings, "", "12.34", "1000", 2);
    const AreaProposal proposal = find(frame);
    ASSERT_EQ(proposal.exp.status, FindStatus::Found);
    ASSERT_EQ(proposal.coins.status, FindStatus::Found);
    AreaFinderDialog dialog(nullptr, frame, proposal);
    EXPECT_EQ(win32::GetText(dialog.hwnd()), "自動検出");
    const Rect& exp = proposal.exp.area;
    const Rect& coins = proposal.coins.area;
    const auto where = [](const Rect& r) {
        return "  (X " + std::to_string(r.x) + ", Y " + std::to_string(r.y) + ", 幅 " +
               std::to_string(r.width) + ", 高さ " + std::to_string(r.height) + ")";
    };
    EXPECT_EQ(dialog.summary(), (std::vector<std::string>{
                                    "Lv: 見つかりません（設定しません）",
                                    "Exp: " + proposal.exp.digits + where(exp),
                                    "Money: 1000" + where(coins),
                                }))
        << "a second coin display that is not there is not listed";
    EXPECT_EQ(shown(dialog, IdFinderNameFirst + 1), "Exp");
    EXPECT_EQ(shown(dialog, IdFinderTextFirst + 2), "1000" + where(coins));
    EXPECT_EQ(shown(dialog, IdFinderQuestion), "見つかった領域をキャプチャ領域に設定しますか？");
    EXPECT_TRUE(IsWindowEnabled(win32::FindControl(dialog.hwnd(), IdFinderApply)));
    EXPECT_EQ(shown(dialog, IdFinderApply), "適用");
}

TEST_F(AreaFinderDialogTest, NothingFoundCannotBeApplied)
{
    const PixelBuffer frame(640, 480);
    AreaFinderDialog dialog(nullptr, frame, find(frame));
    EXPECT_FALSE(IsWindowEnabled(win32::FindControl(dialog.hwnd(), IdFinderApply)));
    EXPECT_EQ(dialog.summary().size(), 3u);
}

TEST_F(AreaFinderDialogTest, ApplyAcceptsWhileCancelEscapeAndTheCloseControlDoNot)
{
    const PixelBuffer frame = TestFrame(settings, "35", "12.34", "1000", 2);
    const AreaProposal proposal = find(frame);
    const auto dialogWindow = [] { return FindWindowW(L"KesmaroAreaFinder", nullptr); };
    const auto post = [&](UINT message, WPARAM wParam, int control) {
        return [=] {
            HWND dialog = dialogWindow();
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(IsWindowVisible(dialog));
            HWND target = control ? win32::FindControl(dialog, control) : dialog;
            if (message == WM_COMMAND)
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                             reinterpret_cast<LPARAM>(target));
            else
                PostMessageW(target, message, wParam, 0);
        };
    };
    const struct {
        const char* name;
        std::function<void()> answer;
        bool applied;
    } rows[] = {
        {"適用", post(WM_COMMAND, 0, IdFinderApply), true},
        {"Enter on 適用", post(WM_KEYDOWN, VK_RETURN, IdFinderApply), true},
        {"キャンセル", post(WM_COMMAND, 0, IdFinderCancel), false},
        {"Escape", post(WM_KEYDOWN, VK_ESCAPE, IdFinderApply), false},
        {"close control", post(WM_CLOSE, 0, 0), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedModal::Then(row.answer);
        EXPECT_EQ(AreaFinderDialog::confirm(nullptr, frame, proposal), row.applied);
    }
}

} // namespace
