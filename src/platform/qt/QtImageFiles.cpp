// The image-file seam on Qt's image I/O, writing as the screenshots always have.
#include "platform/ImageFiles.h"
#include "platform/qt/Pictures.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>

namespace kesmaro {

namespace {

QString qtPath(const std::filesystem::path& path)
{
    return QFile::decodeName(path.c_str());
}

} // namespace

ImageFileStatus WriteImageFile(const PixelBuffer& picture, const std::filesystem::path& path,
                               ImageFormat format, int jpegQuality)
{
    if (!picture.isWhole())
        return ImageFileStatus::NoPicture;
    const char* name = format == ImageFormat::Bmp   ? "bmp"
                       : format == ImageFormat::Png ? "png"
                                                    : "jpeg";
    QImageWriter writer(qtPath(path), name);
    if (format == ImageFormat::Jpeg)
        writer.setQuality(std::clamp(jpegQuality, 0, 100));
    if (writer.write(ToQImage(picture)))
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
        return {FromQImage(image), ImageFileStatus::Ok};
    if (reader.error() == QImageReader::FileNotFoundError)
        return {{}, ImageFileStatus::FileNotFound};
    return {{}, ImageFileStatus::NoPicture};
}

} // namespace kesmaro
