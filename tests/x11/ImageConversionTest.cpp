#include "platform/x11/ImageConversion.h"

#include <gtest/gtest.h>

using namespace kesmaro;
using namespace kesmaro::x11;

namespace {

std::array<int, 4> Bgra(const PixelBuffer& b, int x, int y)
{
    const std::uint8_t* p = b.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

} // namespace

TEST(ImageConversionTest, ReadsTheServerLayoutsIntoOpaqueBgra)
{
    struct Row {
        const char* name;
        ImageFormat format;
        std::vector<std::uint8_t> data; // two pixels: pure red, then a blue-green mix
        std::array<int, 4> first, second;
    } rows[] = {
        {"32 bpp little-endian BGRX",
         {32, 32, true, 0xFF0000, 0xFF00, 0xFF},
         {0x00, 0x00, 0xFF, 0x00, 0x40, 0x80, 0x00, 0x7F},
         {0, 0, 255, 255},
         {0x40, 0x80, 0, 255}},
        {"32 bpp big-endian XRGB",
         {32, 32, false, 0xFF0000, 0xFF00, 0xFF},
         {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x80, 0x40},
         {0, 0, 255, 255},
         {0x40, 0x80, 0, 255}},
        {"24 bpp packed, rows padded to 32 bits",
         {24, 32, true, 0xFF0000, 0xFF00, 0xFF},
         {0x00, 0x00, 0xFF, 0x40, 0x80, 0x00, 0xEE, 0xEE},
         {0, 0, 255, 255},
         {0x40, 0x80, 0, 255}},
        {"16 bpp 5-6-5 widens channels to the full range",
         {16, 32, true, 0xF800, 0x07E0, 0x001F},
         {0x00, 0xF8, 0x1F, 0x04},
         {0, 0, 255, 255},
         {255, 0x82, 0, 255}},
        {"32 bpp with swapped masks (RGBX)",
         {32, 32, true, 0x0000FF, 0xFF00, 0xFF0000},
         {0xFF, 0x00, 0x00, 0x00, 0x00, 0x80, 0x40, 0x00},
         {0, 0, 255, 255},
         {0x40, 0x80, 0, 255}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PixelBuffer out(2, 1);
        ASSERT_TRUE(CopyImage(row.data.data(), row.data.size(), 2, 1, row.format, out, 0, 0));
        EXPECT_EQ(Bgra(out, 0, 0), row.first);
        EXPECT_EQ(Bgra(out, 1, 0), row.second);
    }
}

TEST(ImageConversionTest, PlacesTheImageAtItsOffsetAndKeepsTheRestBlack)
{
    const ImageFormat format;
    // 2 x 2 white pixels, placed at (1, 1) of a 3 x 3 buffer.
    const std::vector<std::uint8_t> white(16, 0xFF);
    PixelBuffer out(3, 3);
    ASSERT_TRUE(CopyImage(white.data(), white.size(), 2, 2, format, out, 1, 1));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            const int v = x >= 1 && y >= 1 ? 255 : 0;
            EXPECT_EQ(Bgra(out, x, y), (std::array<int, 4>{v, v, v, 255}));
        }
    }
}

TEST(ImageConversionTest, RefusesWhatItCannotReadSafely)
{
    const ImageFormat format;
    const std::vector<std::uint8_t> data(16, 0xFF);
    struct Row {
        const char* name;
        std::size_t size;
        int width, height, dx, dy;
        ImageFormat format;
    } rows[] = {
        {"data shorter than the size", 15, 2, 2, 0, 0, format},
        {"image beyond the buffer", 16, 2, 2, 2, 2, format},
        {"negative offset", 16, 2, 2, -1, 0, format},
        {"unknown depth", 16, 2, 2, 0, 0, ImageFormat{8, 32, true, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PixelBuffer out(3, 3);
        const PixelBuffer untouched = out;
        EXPECT_FALSE(CopyImage(data.data(), row.size, row.width, row.height, row.format, out,
                               row.dx, row.dy));
        EXPECT_EQ(out.bgra, untouched.bgra);
    }
}
