// The image-file seam on Qt's image I/O, writing as the screenshots always have.
#include "platform/ImageFiles.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cstdint>

namespace kesmaro {

namespace {

QString qtPath(const std::filesystem::path& path)
{
    return QFile::decodeName(path.c_str());
}

QImage toQImage(const PixelBuffer& pixels)
{
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

PixelBuffer fromQImage(const QImage& image)
{
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

} // namespace

ImageFileStatus WriteImageFile(const PixelBuffer& picture, const std::filesystem::path& path,
                               ImageFormat format, int jpegQuality)
{
    if (picture.isEmpty() || picture.bgra.size() < static_cast<std::size_t>(picture.width) *
                                                       static_cast<std::size_t>(picture.height) * 4)
        return ImageFileStatus::NoPicture;
    const char* name = format == ImageFormat::Bmp   ? "bmp"
                       : format == ImageFormat::Png ? "png"
                                                    : "jpeg";
    QImageWriter writer(qtPath(path), name);
    if (format == ImageFormat::Jpeg)
        writer.setQuality(std::clamp(jpegQuality, 0, 100));
    if (writer.write(toQImage(picture)))
        return ImageFileStatus::Ok;
    switch (writer.error()) {
    case QImageWriter::DeviceError:
        return ImageFileStatus::WriteError;
    case QImageWriter::UnsupportedFormatError:
        return ImageFileStatus::NotImplemented;
    case QImageWriter::InvalidImageError:
        return ImageFileStatus::InvalidParameter;
    default:
        return ImageFileStatus::GenericError;
    }
}

ImageFileContent ReadImageFile(const std::filesystem::path& path)
{
    QImageReader reader(qtPath(path));
    const QImage image = reader.read();
    if (!image.isNull())
        return {fromQImage(image), ImageFileStatus::Ok};
    if (reader.error() == QImageReader::FileNotFoundError)
        return {{}, ImageFileStatus::FileNotFound};
    return {{}, ImageFileStatus::NoPicture};
}

} // namespace kesmaro
