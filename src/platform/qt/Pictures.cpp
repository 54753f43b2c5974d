#include "platform/qt/Pictures.h"

namespace kesmaro {

QImage ToQImage(const PixelBuffer& pixels)
{
    if (!pixels.isWhole())
        return {};
    QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < pixels.height; ++y) {
        // RGB32 is 0xffRRGGBB per pixel, whatever the byte order.
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const std::uint8_t* src = pixels.pixel(0, y);
        for (int x = 0; x < pixels.width; ++x, src += 4)
            line[x] =
                0xFF000000U | std::uint32_t{src[2]} << 16 | std::uint32_t{src[1]} << 8 | src[0];
    }
    return image;
}

PixelBuffer FromQImage(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer pixels(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::uint8_t* dst = pixels.pixel(0, y);
        for (int x = 0; x < rgb.width(); ++x, dst += 4) {
            dst[0] = static_cast<std::uint8_t>(line[x]);
            dst[1] = static_cast<std::uint8_t>(line[x] >> 8);
            dst[2] = static_cast<std::uint8_t>(line[x] >> 16);
            dst[3] = 0xFF;
        }
    }
    return pixels;
}

} // namespace kesmaro
