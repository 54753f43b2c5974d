#include "app/OptionWindow.h"

#include "ProgramFixture.h"
#include "TempFolder.h"
#include "common/Files.h"
#include "common/Paths.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kesmaro {
namespace {

class OptionWindowTest : public test::ProgramFixture {
protected:
    OptionWindowTest() : test::ProgramFixture({.defaults = true})
    {
        p.ScreenSizes = BuildScreenSizeList();
    }

    std::vector<std::string> askedTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& asked : sim.prompter.asked())
            texts.push_back(asked.prompt.text);
        return texts;
    }
};

// A typed folder of fewer than three characters is taken unchecked; the count is of
// characters, so a two-kanji name (six bytes) is still short and a three-kanji one is checked.
TEST_F(OptionWindowTest, TheFolderBoxCountsCharactersBeforeCheckingTheFolder)
{
    OptionWindow window(p);
    window.txtSaveFolder_LostFocus("記録");
    EXPECT_EQ(p.settings.SaveFolder, "記録");
    EXPECT_EQ(window.txtSaveFolder, "記録");
    EXPECT_TRUE(askedTexts().empty());

    window.txtSaveFolder_LostFocus("記録用");
    EXPECT_EQ(askedTexts(), std::vector<std::string>{"フォルダ名が不正です。"});
    EXPECT_EQ(p.settings.SaveFolder, p.programFolder);
    EXPECT_EQ(window.txtSaveFolder, "記録用") << "the box keeps what was typed";

    // An existing folder of a non-ASCII name is kept byte for byte.
    const std::string folder = JoinPath(p.programFolder, "ログ");
    std::filesystem::create_directories(PathFromUtf8(folder));
    window.txtSaveFolder_LostFocus(folder);
    EXPECT_EQ(p.settings.SaveFolder, folder);
    EXPECT_EQ(askedTexts().size(), 1u);
}

TEST_F(OptionWindowTest, ChosenPathsAreTakenOnlyWhenTheyExist)
{
    OptionWindow window(p);
    const std::string before = p.settings.SaveFolder;
    window.cmdSaveFolder_Chosen("");
    window.cmdSaveFolder_Chosen(JoinPath(p.programFolder, "missing"));
    EXPECT_EQ(p.settings.SaveFolder, before);

    const std::string folder = JoinPath(p.programFolder, "記録");
    std::filesystem::create_directories(PathFromUtf8(folder));
    window.cmdSaveFolder_Chosen(folder);
    EXPECT_EQ(p.settings.SaveFolder, folder);
    EXPECT_EQ(window.txtSaveFolder, folder);

    // A companion application that does not exist yet is kept as chosen until it is switched
    // on; the box and the setting show the same text.
    const std::string app = JoinPath(folder, "ツール");
    window.cmdStartUp_Chosen(1, app);
    EXPECT_EQ(p.settings.StartUpPath[1], app);
    EXPECT_EQ(window.txtStartUp[1], app);
    EXPECT_EQ(window.cmdStartUp_StartPath(1), p.programFolder) << "the file is missing";
    window.cmdStartUp_Chosen(1, "");
    EXPECT_EQ(p.settings.StartUpPath[1], app);
    EXPECT_EQ(StartUpDialogTitle(1), "アプリケーション選択1");
}

TEST_F(OptionWindowTest, TheWidgetsShowTheSettingsAsUtf8Text)
{
    p.settings.WindowPosition = CaptureRect{-8, 30, 900, 431};
    p.settings.SaveFile = "記録";
    p.settings.MonthlyAppend = true;
    p.settings.SaveCsv = false;
    OptionWindow window(p);
    window.Refresh();
    EXPECT_EQ(window.valueText(*FindOptionValueLabel("lblWindowPosition_sx")), "-8");
    EXPECT_EQ(window.valueText(*FindOptionValueLabel("lblWindowPosition_ey")), "431");
    EXPECT_EQ(window.txtSaveFile, "記録");
    EXPECT_EQ(window.lblSaveCsv, ".TXT");
    EXPECT_EQ(window.lblSaveFile_u, "＋ ［開始年月］月");

    // The screen sizes, then the caption entry, which is chosen.
    ASSERT_EQ(window.cmbStandardScreenItems.size(), p.ScreenSizes.size() + 1);
    EXPECT_EQ(window.cmbStandardScreenItems.front(), p.ScreenSizes.front().Text);
    EXPECT_EQ(window.cmbStandardScreenItems.back(), "サブ画面サイズ");
    EXPECT_EQ(window.cmbStandardScreen, int(p.ScreenSizes.size()));
    EXPECT_EQ(window.cmbRelativePositionItems,
              (std::vector<std::string>{"サブ画面位置", "　←", "　→", "　↑", "　↓"}));
    EXPECT_EQ(window.cmbRelativePosition, 0);

    // Above the first size: the offset is that size's height.
    window.cmb_Click(0, 3);
    EXPECT_EQ(p.settings.DisplayOffsetX, 0);
    EXPECT_EQ(p.settings.DisplayOffsetY, p.ScreenSizes.front().Height);
    EXPECT_EQ(window.valueText(*FindOptionValueLabel("lblDisplayOffset_y")),
              std::to_string(p.ScreenSizes.front().Height));
}

} // namespace
} // namespace kesmaro
