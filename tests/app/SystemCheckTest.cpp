#include "app/SystemCheck.h"

#include "ProgramFixture.h"
#include "TempFolder.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "platform/sim/SimPrompter.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

class SystemCheckTest : public test::ProgramFixture {
protected:
    SystemCheckTest()
        : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}
};

SystemPartsFound AllBut(std::initializer_list<SystemPart> missing)
{
    SystemPartsFound found;
    found.fill(true);
    for (const SystemPart part : missing)
        found[part] = false;
    return found;
}

} // namespace

TEST_F(SystemCheckTest, OneMessageAndOneLinePerMissingPartThenTheSummary)
{
    const std::string general = "正常に動作しない可能性があります。";
    struct Row {
        std::initializer_list<SystemPart> missing;
        std::vector<std::string> names;
        std::vector<std::string> consequences;
    };
#ifdef _WIN32
    const Row rows[] = {
        {{}, {}, {}},
        {{SystemPartDirectInput8},
         {"dinput8.dll"},
         {"マウスジェスチャ機能が利用できない可能性があります。"}},
        {{SystemPartCommonControls},
         {"comctl32.dll"},
         {"オプションウィンドウを開けない可能性があります。"}},
        {{SystemPartJapaneseFont, SystemPartGdiplus},
         {"gdiplus.dll", "Japanese font"},
         {general, general}},
    };
#else
    const Row rows[] = {
        {{}, {}, {}},
        {{SystemPartSoundServer}, {"PulseAudio"}, {general}},
        {{SystemPartXInput2},
         {"XInputExtension"},
         {"マウスジェスチャ機能が利用できない可能性があります。"}},
        {{SystemPartDesktopOpener, SystemPartMitShm, SystemPartJapaneseFont},
         {"MIT-SHM", "Japanese font", "xdg-open"},
         {general, general, general}},
    };
#endif
    for (const Row& row : rows) {
        std::string names;
        for (const std::string& name : row.names)
            names += name + ',';
        SCOPED_TRACE(names);
        sim.prompter.clearAsked();
        std::filesystem::remove(PathFromUtf8(log.path()));
        CheckSystemFiles(p, AllBut(row.missing));

        std::vector<std::string> wantLines;
        const auto& asked = sim.prompter.asked();
        ASSERT_EQ(asked.size(), row.names.size());
        for (std::size_t i = 0; i < row.names.size(); ++i) {
            const Prompt& prompt = asked[i].prompt;
            EXPECT_EQ(prompt.title, "ライブラリファイルチェック");
            EXPECT_EQ(prompt.text, row.names[i] + " ファイルが見つかりませんでした。\r\n" +
                                       row.consequences[i] + "\r\n");
            EXPECT_EQ(prompt.buttons, PromptButtons::Ok);
            EXPECT_EQ(prompt.icon, PromptIcon::Information);
            wantLines.push_back("System File of " + row.names[i] + " is Not Find ");
        }
        wantLines.push_back(row.names.empty() ? "Result of System File Check : No Problem "
                                              : "Result of System File Check : A missing item ");
        EXPECT_EQ(logLines(), wantLines);
    }
}

// What is tested is where the executable lies: an installed copy in the temporary folder would
// write to the per-user folder, yet it is an archive viewer's copy all the same.
TEST(StartFolderTest, AnExecutableInTheTemporaryFolderIsRefusedWhateverItsLayout)
{
    test::TempFolder temp;
    const std::string tempPath = PathToUtf8(temp.path());
    const std::string bin = JoinPath(JoinPath(tempPath, "unpacked"), "bin");
    std::filesystem::create_directories(PathFromUtf8(bin));
    std::filesystem::create_directories(temp.path() / "unpacked" / "share" / "doc" / "kesmaro");
    SimPrompter prompter;
    EXPECT_EQ(ProgramFolderOrRefusal(prompter, bin, tempPath), std::nullopt);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].prompt.title, "起動エラー");
    EXPECT_NE(prompter.asked()[0].prompt.text.find(
                  "Zip圧縮ファイルは適切なフォルダに解凍してから実行してください。"),
              std::string::npos);

    // A portable copy elsewhere starts in its own folder, without a box.
    test::TempFolder elsewhere;
    SimPrompter quiet;
    EXPECT_EQ(ProgramFolderOrRefusal(quiet, PathToUtf8(elsewhere.path()), tempPath),
              PathToUtf8(elsewhere.path()));
    EXPECT_TRUE(quiet.asked().empty());
}
