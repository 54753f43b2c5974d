#include "platform/ImageFiles.h"

#include "TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

using namespace kesmaro;
namespace fs = std::filesystem;

namespace {

// Odd sizes, so that a row padded to four bytes (BMP) or a stride mistake shows.
PixelBuffer gradient(int w, int h)
{
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = p.pixel(x, y);
            px[0] = static_cast<std::uint8_t>(x * 7);
            px[1] = static_cast<std::uint8_t>(y * 5);
            px[2] = static_cast<std::uint8_t>((x + y) * 3);
            px[3] = static_cast<std::uint8_t>(x); // ignored: the files are opaque
        }
    return p;
}

PixelBuffer opaque(PixelBuffer p)
{
    for (std::size_t i = 3; i < p.bgra.size(); i += 4)
        p.bgra[i] = 0xFF;
    return p;
}

} // namespace

TEST(ImageFiles, LosslessFormatsGiveTheSamePixelsBack)
{
    test::TempFolder dir;
    const PixelBuffer picture = gradient(37, 23);
    const struct {
        ImageFormat format;
        const char* name;
    } cases[] = {{ImageFormat::Png, "a.png"},
                 {ImageFormat::Bmp, "a.bmp"},
                 {ImageFormat::Png, "経験値_0517.png"}};
    for (const auto& c : cases) {
        const fs::path path =
            dir.path() / fs::path(std::u8string(reinterpret_cast<const char8_t*>(c.name)));
        ASSERT_EQ(WriteImageFile(picture, path, c.format), ImageFileStatus::Ok) << c.name;
        const ImageFileContent loaded = ReadImageFile(path);
        ASSERT_EQ(loaded.status, ImageFileStatus::Ok) << c.name;
        EXPECT_EQ(loaded.pixels.width, 37) << c.name;
        EXPECT_EQ(loaded.pixels.height, 23) << c.name;
        EXPECT_TRUE(loaded.pixels.bgra == opaque(picture).bgra) << c.name;
    }
}

TEST(ImageFiles, JpegKeepsTheSizeAndItsQualityIsHonoured)
{
    test::TempFolder dir;
    const PixelBuffer picture = gradient(64, 48);
    std::uintmax_t sizes[2] = {};
    const int qualities[2] = {25, 100};
    for (int i = 0; i < 2; ++i) {
        const fs::path path = dir.path() / ("q" + std::to_string(qualities[i]) + ".jpg");
        ASSERT_EQ(WriteImageFile(picture, path, ImageFormat::Jpeg, qualities[i]),
                  ImageFileStatus::Ok);
        const ImageFileContent loaded = ReadImageFile(path);
        ASSERT_EQ(loaded.status, ImageFileStatus::Ok);
        EXPECT_EQ(loaded.pixels.width, 64);
        EXPECT_EQ(loaded.pixels.height, 48);
        sizes[i] = fs::file_size(path);
    }
    // Wine (8.0) differs from Windows here: its GDI+ ignores the encoder parameters and writes
    // every JPEG at one quality. scripts/wine-run.sh says when a test runs under Wine.
    if (std::getenv("KESMARO_UNDER_WINE") == nullptr) {
        EXPECT_LT(sizes[0], sizes[1]);
    }
}

TEST(ImageFiles, FailuresComeBackAsStatusesAndWriteNothing)
{
    test::TempFolder dir;
    const fs::path missingFolder = dir.path() / "missing" / "a.png";
    EXPECT_NE(WriteImageFile(gradient(4, 4), missingFolder, ImageFormat::Png), ImageFileStatus::Ok);
    EXPECT_FALSE(fs::exists(missingFolder));
    EXPECT_EQ(WriteImageFile(PixelBuffer(), dir.path() / "empty.png", ImageFormat::Png),
              ImageFileStatus::NoPicture);
    EXPECT_FALSE(fs::exists(dir.path() / "empty.png"));
    PixelBuffer short_ = gradient(4, 4);
    short_.bgra.resize(8);
    EXPECT_EQ(WriteImageFile(short_, dir.path() / "short.bmp", ImageFormat::Bmp),
              ImageFileStatus::NoPicture);

    EXPECT_EQ(ReadImageFile(dir.path() / "none.png").status, ImageFileStatus::FileNotFound);
    const fs::path garbage = dir.path() / "garbage.png";
    std::ofstream(garbage) << "not a picture";
    const ImageFileContent loaded = ReadImageFile(garbage);
    EXPECT_EQ(loaded.status, ImageFileStatus::NoPicture);
    EXPECT_TRUE(loaded.pixels.isEmpty());
}
