#include "platform/x11/ImageConversion.h"

#include <bit>
#include <cstring>

namespace kesmaro::x11 {

namespace {

std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    std::uint32_t value = (pixel & mask) >> shift;
    // Widen narrow channels (5 or 6 bits) to the full 0..255 range.
    if (bits >= 8)
        return static_cast<std::uint8_t>(value >> (bits - 8));
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

std::uint32_t ReadPixel(const std::uint8_t* p, int bytes, bool lsbFirst)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int index = lsbFirst ? bytes - 1 - i : i;
        value = (value << 8) | p[index];
    }
    return value;
}

} // namespace

std::size_t RowStride(const ImageFormat& format, int width)
{
    const std::size_t pad =
        format.scanlinePad > 0 ? static_cast<std::size_t>(format.scanlinePad) : 8;
    const std::size_t bits =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(format.bitsPerPixel);
    return (bits + pad - 1) / pad * pad / 8;
}

bool CopyImage(const std::uint8_t* data, std::size_t size, int width, int height,
               const ImageFormat& format, PixelBuffer& out, int dx, int dy)
{
    if (width <= 0 || height <= 0)
        return true;
    if (dx < 0 || dy < 0 || dx + width > out.width || dy + height > out.height)
        return false;
    const int bpp = format.bitsPerPixel;
    if (bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    const std::size_t stride = RowStride(format, width);
    if (size < stride * static_cast<std::size_t>(height))
        return false;

    const bool plainBgrx = bpp == 32 && format.lsbFirst && format.redMask == 0xFF0000 &&
                           format.greenMask == 0x00FF00 && format.blueMask == 0x0000FF;
    const int bytes = bpp / 8;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = data + stride * static_cast<std::size_t>(y);
        std::uint8_t* dst = out.pixel(dx, dy + y);
        if (plainBgrx) {
            // The common case (depth 24 or 32, little-endian): already B, G, R, X.
            std::memcpy(dst, src, static_cast<std::size_t>(width) * 4);
            for (int x = 0; x < width; ++x)
                dst[x * 4 + 3] = 0xFF;
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = ReadPixel(src + x * bytes, bytes, format.lsbFirst);
            dst[x * 4 + 0] = Channel(pixel, format.blueMask);
            dst[x * 4 + 1] = Channel(pixel, format.greenMask);
            dst[x * 4 + 2] = Channel(pixel, format.redMask);
            dst[x * 4 + 3] = 0xFF;
        }
    }
    return true;
}

} // namespace kesmaro::x11
