// The two pattern-image commands: BMP files of the capture areas in the program folder.

#include "recognition/PatternImages.h"

#include "RecognitionHarness.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gmock/gmock.h>

using namespace kesmaro;
using namespace kesmaro::test;
using ::testing::ElementsAre;

namespace {

class PatternImagesTest : public RecognitionFixture {
protected:
    QStringList bitmaps() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
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
    EXPECT_TRUE(bitmaps().isEmpty());
    EXPECT_THAT(logLines(), ElementsAre("Click : Pattern Save "));

    p.picCapture[0] = gradient(4, 4);
    p.picCapture[1] = gradient(4, 4);
    p.picCapture[3] = gradient(4, 4);
    menuPatternSave_Click(p);
    EXPECT_EQ(bitmaps().size(), 2);
}

TEST_F(PatternImagesTest, AFolderThatCannotBeWrittenIsReportedNotHidden)
{
    p.programFolder = QDir(dir.path()).filePath(QStringLiteral("missing/folder")).toStdString();
    p.picCapture.fill(gradient(4, 4));
    menuPatternSave_Click(p);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], "Pattern Save ･･･ End ");
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Error Trap : menuPatternSave : CODE75  ")));
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
    EXPECT_EQ(bitmaps().size(), 5);
    const QImage level(QDir(dir.path()).filePath(bitmaps().first()));
    EXPECT_EQ(level.pixel(0, 0), qRgb((392 + 726) & 0xFF, 726 & 0xFF, 392 & 0xFF));
    EXPECT_THAT(logLines(), ElementsAre("Pattern Capture and Save ･･･ End "));
}

TEST(PatternImagePathTest, NamesTheAreaAndTheLocalTimeToTheSecond)
{
    const DateTime at = *DateTime::FromFields(2024, 1, 2, 3, 4, 5, 999);
    EXPECT_EQ(PatternImagePath("/data/フォルダ", 3, at), "/data/フォルダ/Capture3_0102030405.bmp");
    EXPECT_EQ(PatternImagePath("/data", 5, *DateTime::FromFields(2024, 12, 31, 23, 59, 59)),
              "/data/Capture5_1231235959.bmp");
}

TEST_F(PatternImagesTest, OptionsCaptureOfAnAreaWithoutSizeSavesTheOthers)
{
    windows.setForeground(windows.addWindow("Gamebryo Application", gradient(1030, 800)));
    p.settings.CaptureArea[3] = CaptureRect{0, 0, 0, 0};
    PatternCaptureAndSave(p, nullptr);
    EXPECT_EQ(bitmaps().size(), 4);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Error Trap : PatternCaptureAndSave : CODE75")));
}

} // namespace
