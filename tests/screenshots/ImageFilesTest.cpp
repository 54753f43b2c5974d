#include "screenshots/ImageFiles.h"

#include "ProgramFixture.h"
#include "TempFolder.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/TextFile.h"
#include "platform/ImageFiles.h"
#include "platform/sim/SimServices.h"
#include "records/RecordFile.h"
#include "state/Program.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;
using namespace std::chrono;

namespace {

PixelBuffer gradient(int w, int h)
{
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = p.pixel(x, y);
            px[0] = static_cast<std::uint8_t>(x * 7);
            px[1] = static_cast<std::uint8_t>(y * 5);
            px[2] = static_cast<std::uint8_t>((x + y) * 3);
            px[3] = 0; // ignored
        }
    return p;
}

std::string fileBytes(const std::string& path)
{
    return ReadWholeFile(PathFromUtf8(path)).bytes;
}

// What the platform's JPEG encoder makes of `p`: the saved files must be exactly this.
std::string jpegBytes(const PixelBuffer& p, int quality)
{
    const test::TempFolder scratch;
    const std::filesystem::path file = scratch.path() / "reference.jpg";
    EXPECT_EQ(WriteImageFile(p, file, ImageFormat::Jpeg, quality), ImageFileStatus::Ok);
    return ReadWholeFile(file).bytes;
}

std::string inFolder(const test::TempFolder& dir, const std::string& name)
{
    return PathToUtf8(dir.path() / PathFromUtf8(name));
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// One game window in front: its whole-window picture is a gradient of its outer size.
class FrontWindow : public NullGameWindows {
public:
    WindowId ForegroundWindow() override { return present ? 7 : kNoWindow; }
    Rect WindowRect(WindowId w) override { return w == 7 ? Rect{100, 50, 64, 48} : Rect{}; }
    PixelBuffer GrabPicture(WindowId w, PictureArea, const Rect& r) override
    {
        return w == 7 ? gradient(r.width, r.height) : PixelBuffer(r.width, r.height);
    }
    bool present = true;
};

// Built before the program, which keeps a reference to it.
struct FrontWindowHolder {
    FrontWindow m_windows;
};

class ScreenshotTest : protected FrontWindowHolder, public test::ProgramFixture {
protected:
    ScreenshotTest()
        : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30, 35), .gameWindows = &m_windows})
    {
        p.settings.SaveFolder = path("records/new");
        p.settings.SaveFormat = ".jpg90";
        p.settings.BeepMode = 3;
    }
    // A path under the program's temporary folder.
    std::string path(const std::string& name) const
    {
        std::string joined = dir.folder();
        std::size_t from = 0;
        for (std::size_t at; (at = name.find('/', from)) != std::string::npos; from = at + 1)
            joined = JoinPath(joined, name.substr(from, at - from));
        return JoinPath(joined, name.substr(from));
    }
    std::string ss(const std::string& name) const { return path("records/new/ss/" + name); }
};

} // namespace

TEST(ImageFilesTest, FormatsPickExtensionEncoderAndQuality)
{
    const test::TempFolder dir;
    const PixelBuffer p = gradient(40, 30);
    const std::string base = inFolder(dir, "shot");
    EXPECT_EQ(SavePicture(p, base, ".jpg90"), ImageOk);
    EXPECT_EQ(fileBytes(base + ".jpg"), jpegBytes(p, 90));
    EXPECT_EQ(SavePicture(p, base, ".jpg70"), ImageOk);
    EXPECT_EQ(fileBytes(base + ".jpg"), jpegBytes(p, 70));
    // Wine (8.0) differs from Windows here: its GDI+ ignores the encoder parameters and writes
    // every JPEG at one quality. scripts/wine-run.sh says when a test runs under Wine.
    if (std::getenv("KESMARO_UNDER_WINE") == nullptr) {
        EXPECT_NE(jpegBytes(p, 90), jpegBytes(p, 70));
    }

    EXPECT_EQ(SavePicture(p, base, ".png"), ImageOk);
    EXPECT_EQ(fileBytes(base + ".png").substr(0, 8), "\x89PNG\r\n\x1a\n");
    const ImageFileContent png = ReadImageFile(PathFromUtf8(base + ".png"));
    ASSERT_EQ(png.status, ImageFileStatus::Ok);
    ASSERT_EQ(png.pixels.width, 40);
    ASSERT_EQ(png.pixels.height, 30);
    const std::uint8_t* bgr = png.pixels.pixel(3, 4);
    EXPECT_EQ((std::vector<int>{bgr[0], bgr[1], bgr[2]}), (std::vector<int>{21, 20, 21}));

    EXPECT_EQ(SavePicture(p, base, ".bmp"), ImageOk);
    EXPECT_EQ(fileBytes(base + ".bmp").substr(0, 2), "BM");

    EXPECT_EQ(SavePicture(p, inFolder(dir, "other"), ".gif"), ImageOk);
    EXPECT_FALSE(FileExists(inFolder(dir, "other.gif")));
}

TEST(ImageFilesTest, JpegQualityIsClampedAndMissingPicturesAreStatus13)
{
    const test::TempFolder dir;
    const PixelBuffer p = gradient(40, 30);
    const std::string path = inFolder(dir, "q.jpg");
    EXPECT_EQ(SaveJpeg(&p, path, 10), ImageOk);
    EXPECT_EQ(fileBytes(path), jpegBytes(p, 25));
    EXPECT_EQ(SaveJpeg(&p, path, 150), ImageOk);
    EXPECT_EQ(fileBytes(path), jpegBytes(p, 100));
    EXPECT_EQ(SavePng(nullptr, path), ImageNoPicture);
    const PixelBuffer empty;
    EXPECT_EQ(SaveJpeg(&empty, path, 90), ImageNoPicture);
    // Wine (8.0) answers a missing folder with GDI+'s GenericError where Windows gives
    // Win32Error, the 7 of ImageWriteError.
    EXPECT_EQ(SavePng(&p, inFolder(dir, "missing/dir/x.png")),
              std::getenv("KESMARO_UNDER_WINE") ? ImageGenericError : ImageWriteError);
}

TEST_F(ScreenshotTest, AFailingSaveIsReportedOnceUntilOneSucceeds)
{
    const std::string blocker = path("blocker");
    ASSERT_TRUE(std::ofstream(PathFromUtf8(blocker)).good());
    p.settings.SaveFolder = blocker; // a file: no folder can go under it
    EXPECT_FALSE(SaveScreenshot(p, ScreenshotFolder(p) + "a", ".png"));
    EXPECT_FALSE(SaveScreenshot(p, ScreenshotFolder(p) + "b", ".png"));
    EXPECT_EQ(count(p.txtLog.text(), "スクリーンショットを保存できませんでした"), 1U);
    p.settings.SaveFolder = dir.folder();
    EXPECT_TRUE(SaveScreenshot(p, ScreenshotFolder(p) + "c", ".png"));
    m_windows.present = false; // nothing in front: nothing to save, and that is reported again
    EXPECT_FALSE(SaveScreenshot(p, ScreenshotFolder(p) + "d", ".png"));
    EXPECT_EQ(count(p.txtLog.text(), "スクリーンショットを保存できませんでした"), 2U);
}

// A cleared folder box: records and screenshots both land in the program folder, whatever the
// working folder is.
TEST_F(ScreenshotTest, AnEmptySaveFolderKeepsScreenshotsBesideTheRecords)
{
    p.settings.SaveFolder.clear();
    const std::string shots = ScreenshotFolder(p);
    ASSERT_TRUE(std::filesystem::is_directory(PathFromUtf8(shots)));
    const RecordTarget records = RecordFileTarget(p.settings, "202405011000", p.programFolder);
    // Compared as folders: with or without a closing separator.
    const auto folder = [](const std::string& name) {
        return (PathFromUtf8(name) / "").lexically_normal();
    };
    EXPECT_EQ(folder(shots), folder(path("ss")));
    EXPECT_EQ(folder(records.folder), folder(path("log")));
}

TEST_F(ScreenshotTest, ClosingDuringTheWaitSavesNothing)
{
    sim.scheduler.at(5000, [&] { p.flags.ProgramClosing = true; });
    menuPrtScr_Click(p);
    EXPECT_FALSE(FileExists(ss("")));
    EXPECT_TRUE(p.txtLog.text().empty());
}
