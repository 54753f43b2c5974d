#include "config/ExtraSettings.h"

#include "TempFolder.h"
#include "common/Files.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

std::string folderOf(const test::TempFolder& dir)
{
    return PathToUtf8(dir.path());
}

void writeFile(const std::string& path, std::string_view bytes)
{
    ASSERT_EQ(ReplaceFileAtomic(PathFromUtf8(path), bytes), 0);
}

std::string readFile(const std::string& path)
{
    return ReadWholeFile(PathFromUtf8(path)).bytes;
}

} // namespace

TEST(ExtraSettings, AMissingFileGivesTheDefaultAndASavedValueComesBack)
{
    const test::TempFolder dir;
    const std::string folder = folderOf(dir);
    EXPECT_EQ(LoadExtraSettings(folder).RollingMinutes, kRollingMinutesDefault);
    EXPECT_TRUE(SaveExtraSettings(folder, ExtraSettings{90}));
    EXPECT_EQ(LoadExtraSettings(folder).RollingMinutes, 90);
    // Only its own file, byte for byte as earlier versions wrote it; the settings file is not
    // created or touched.
    EXPECT_EQ(readFile(ExtraSettingsPath(folder)), "[StatusLine]\nRollingMinutes=90\n");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(PathToUtf8(entry.path().filename()));
    EXPECT_EQ(names, std::vector<std::string>{"KesmaroExtra.ini"});
}

TEST(ExtraSettings, SavingKeepsTheFilesOtherKeys)
{
    const test::TempFolder dir;
    const std::string folder = folderOf(dir);
    writeFile(ExtraSettingsPath(folder), "[Capture]\nSource=screen\n\n[StatusLine]\n"
                                         "RollingMinutes=30\n");
    EXPECT_TRUE(SaveExtraSettings(folder, ExtraSettings{45}));
    EXPECT_EQ(readFile(ExtraSettingsPath(folder)),
              "[Capture]\nSource=screen\n\n[StatusLine]\nRollingMinutes=45\n");
}

TEST(ExtraSettings, ValuesOutsideTheBoundsOrNotNumbersAreCorrected)
{
    const struct {
        const char* value;
        std::int32_t loaded;
    } cases[] = {{"5", 10},    {"10", 10},  {"240", 240},
                 {"241", 240}, {"-3", 10},  {"99999999999999999999", 60},
                 {"abc", 60},  {"", 60},    {" 45 ", 45},
                 {"4 5", 60},  {"+50", 50}, {"\"75\"", 75}};
    for (const auto& c : cases) {
        const test::TempFolder dir;
        writeFile(ExtraSettingsPath(folderOf(dir)),
                  std::string("[StatusLine]\nRollingMinutes=") + c.value + '\n');
        EXPECT_EQ(LoadExtraSettings(folderOf(dir)).RollingMinutes, c.loaded) << c.value;
    }
    const test::TempFolder dir;
    EXPECT_TRUE(SaveExtraSettings(folderOf(dir), ExtraSettings{1000}));
    EXPECT_EQ(LoadExtraSettings(folderOf(dir)).RollingMinutes, 240);
}

TEST(ExtraSettings, AFileThatCannotBeWrittenIsReported)
{
    const test::TempFolder dir;
    const std::string folder = folderOf(dir);
    // A folder where the file should be: neither replaceable nor readable as a file.
    std::filesystem::create_directories(PathFromUtf8(ExtraSettingsPath(folder)) / "inside");
    EXPECT_FALSE(SaveExtraSettings(folder, ExtraSettings{90}));
    EXPECT_EQ(LoadExtraSettings(folder).RollingMinutes, kRollingMinutesDefault);
}

TEST(ExtraSettings, TheCaptureSourceIsReadSavedAndFallsBackToTheWindow)
{
    const struct {
        const char* value;
        CaptureSource loaded;
    } cases[] = {{"window", CaptureSource::Window}, {"screen", CaptureSource::Screen},
                 {"Screen", CaptureSource::Screen}, {" screen ", CaptureSource::Screen},
                 {"", CaptureSource::Window},       {"desktop", CaptureSource::Window},
                 {"screens", CaptureSource::Window}};
    for (const auto& c : cases) {
        const test::TempFolder dir;
        writeFile(ExtraSettingsPath(folderOf(dir)), std::string("[Capture]\nSource=") + c.value +
                                                        "\n\n[StatusLine]\nRollingMinutes=30\n");
        const ExtraSettings loaded = LoadExtraSettings(folderOf(dir));
        EXPECT_EQ(loaded.Source, c.loaded) << c.value;
        EXPECT_EQ(loaded.RollingMinutes, 30) << c.value;
    }

    const test::TempFolder dir;
    const std::string folder = folderOf(dir);
    EXPECT_EQ(LoadExtraSettings(folder).Source, CaptureSource::Window);
    writeFile(ExtraSettingsPath(folder), "[StatusLine]\nRollingMinutes=45\n");
    EXPECT_TRUE(SaveCaptureSource(folder, CaptureSource::Screen));
    EXPECT_EQ(LoadExtraSettings(folder).Source, CaptureSource::Screen);
    // The rolling window survives the capture source's save, and the other way round.
    EXPECT_TRUE(SaveExtraSettings(folder, ExtraSettings{90}));
    const ExtraSettings both = LoadExtraSettings(folder);
    EXPECT_EQ(both.Source, CaptureSource::Screen);
    EXPECT_EQ(both.RollingMinutes, 90);
    EXPECT_TRUE(SaveCaptureSource(folder, CaptureSource::Window));
    EXPECT_EQ(readFile(ExtraSettingsPath(folder)),
              "[Capture]\nSource=window\n\n[StatusLine]\nRollingMinutes=90\n");
}
