// The two pattern-image commands: BMP files of the capture areas in the program folder.

#include "recognition/PatternImages.h"

#include "RecognitionHarness.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "platform/ImageFiles.h"

#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <string>
#include <vector>

using namespace kesmaro;
using namespace kesmaro::test;
using ::testing::ElementsAre;

namespace {

class PatternImagesTest : public RecognitionFixture {
protected:
    // The names of the BMP files in the program folder, sorted.
    std::vector<std::string> bitmaps() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = PathToUtf8(entry.path().filename());
            if (entry.is_regular_file() && EndsWith(name, ".bmp"))
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static PixelBuffer gradient(int width, int height)
    {
        PixelBuffer image(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* px = image.pixel(x, y);
                px[0] = static_cast<std::uint8_t>(x);
                px[1] = static_cast<std::uint8_t>(y);
                px[2] = static_cast<std::uint8_t>(x + y);
            }
        return image;
    }
};

TEST_F(PatternImagesTest, StopsSilentlyAtTheFirstAreaWithoutAPicture)
{
    menuPatternSave_Click(p);
    EXPECT_TRUE(bitmaps().empty());
    EXPECT_THAT(logLines(), ElementsAre("Click : Pattern Save "));

    p.picCapture[0] = gradient(4, 4);
    p.picCapture[1] = gradient(4, 4);
    p.picCapture[3] = gradient(4, 4);
    menuPatternSave_Click(p);
    EXPECT_EQ(bitmaps().size(), 2U);
}

TEST_F(PatternImagesTest, AFolderThatCannotBeWrittenIsReportedNotHidden)
{
    p.programFolder = JoinPath(dir.file("missing"), "folder");
    p.picCapture.fill(gradient(4, 4));
    menuPatternSave_Click(p);
    const std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[1], "Pattern Save ･･･ End ");
    EXPECT_THAT(lines[2], ::testing::StartsWith("Error Trap : menuPatternSave : CODE75  "));
}

TEST_F(PatternImagesTest, OptionsCaptureWaitsTenSecondsThenTakesTheWindowInFront)
{
    PixelBuffer screen = gradient(1030, 800);
    const WindowId game = windows.addWindow("Gamebryo Application", std::move(screen));
    sim.scheduler.at(9000, [&] { windows.setForeground(game); });
    std::vector<int> shown;
    PatternCaptureAndSave(p, [&](int slot, const PixelBuffer& picture) {
        shown.push_back(slot);
        const CaptureRect& area = p.settings.CaptureArea[static_cast<std::size_t>(slot)];
        EXPECT_EQ(picture.width, area.Width);
        EXPECT_EQ(picture.height, area.Height);
    });
    EXPECT_GE(sim.clock.elapsedMs(), 10000);
    EXPECT_THAT(shown, ElementsAre(0, 1, 2, 3, 4));
    EXPECT_EQ(bitmaps().size(), 5U);
    const ImageFileContent level = ReadImageFile(PathFromUtf8(dir.file(bitmaps().front())));
    ASSERT_EQ(level.status, ImageFileStatus::Ok);
    const std::uint8_t* bgr = level.pixels.pixel(0, 0);
    EXPECT_EQ(bgr[0], 392 & 0xFF);
    EXPECT_EQ(bgr[1], 726 & 0xFF);
    EXPECT_EQ(bgr[2], (392 + 726) & 0xFF);
    EXPECT_THAT(logLines(), ElementsAre("Pattern Capture and Save ･･･ End "));
}

TEST(PatternImagePathTest, NamesTheAreaAndTheLocalTimeToTheSecond)
{
    const DateTime at = *DateTime::FromFields(2024, 1, 2, 3, 4, 5, 999);
    EXPECT_EQ(PatternImagePath("/data/フォルダ", 3, at),
              JoinPath("/data/フォルダ", "Capture3_0102030405.bmp"));
    EXPECT_EQ(PatternImagePath("/data", 5, *DateTime::FromFields(2024, 12, 31, 23, 59, 59)),
              JoinPath("/data", "Capture5_1231235959.bmp"));
}

TEST_F(PatternImagesTest, OptionsCaptureOfAnAreaWithoutSizeSavesTheOthers)
{
    windows.setForeground(windows.addWindow("Gamebryo Application", gradient(1030, 800)));
    p.settings.CaptureArea[3] = CaptureRect{0, 0, 0, 0};
    PatternCaptureAndSave(p, nullptr);
    EXPECT_EQ(bitmaps().size(), 4U);
    const std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_THAT(lines[1], ::testing::StartsWith("Error Trap : PatternCaptureAndSave : CODE75"));
}

} // namespace
