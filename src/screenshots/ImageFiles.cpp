#include "screenshots/ImageFiles.h"

#include "common/Paths.h"
#include "records/Beep.h"
#include "state/Program.h"

#include <QImageWriter>
#include <algorithm>
#include <cstring>

namespace kesmaro {

namespace {

int write(const PixelBuffer* picture, const QString& path, const char* format, int quality)
{
    if (picture == nullptr || picture->isEmpty())
        return ImageNoPicture;
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (writer.write(ToQImage(*picture)))
        return ImageOk;
    switch (writer.error()) {
    case QImageWriter::DeviceError:
        return ImageWriteError;
    case QImageWriter::UnsupportedFormatError:
        return ImageNotImplemented;
    case QImageWriter::InvalidImageError:
        return ImageInvalidParameter;
    default:
        return ImageGenericError;
    }
}

} // namespace

QImage ToQImage(const PixelBuffer& pixels)
{
    if (pixels.isEmpty())
        return {};
    QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
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

int SaveBmp(const PixelBuffer* picture, const QString& path)
{
    return write(picture, path, "bmp", -1);
}

int SavePng(const PixelBuffer* picture, const QString& path)
{
    return write(picture, path, "png", -1);
}

int SaveJpeg(const PixelBuffer* picture, const QString& path, int quality)
{
    return write(picture, path, "jpeg", std::clamp(quality, 25, 100));
}

int SavePicture(const PixelBuffer& picture, const QString& base, const QString& format)
{
    if (format == QLatin1String(".bmp"))
        return SaveBmp(&picture, base + QStringLiteral(".bmp"));
    if (format == QLatin1String(".png"))
        return SavePng(&picture, base + QStringLiteral(".png"));
    if (format == QLatin1String(".jpg90"))
        return SaveJpeg(&picture, base + QStringLiteral(".jpg"), 90);
    if (format == QLatin1String(".jpg70"))
        return SaveJpeg(&picture, base + QStringLiteral(".jpg"), 70);
    return ImageOk;
}

bool SaveScreenshot(Program& p, const QString& base, const QString& format)
{
    GameWindows& windows = p.services.windows;
    const WindowId window = windows.ForegroundWindow();
    const Rect outer = windows.WindowRect(window);
    const PixelBuffer picture = windows.GrabPicture(window, PictureArea::WholeWindow,
                                                    Rect{0, 0, outer.width, outer.height});
    const int status = SavePicture(picture, base, format);
    if (status == ImageOk) {
        p.flags.ScreenshotFailing = false;
        return true;
    }
    if (!p.flags.ScreenshotFailing) {
        p.flags.ScreenshotFailing = true;
        p.txtLog.AppendToTextBox(QStringLiteral("スクリーンショットを保存できませんでした : ") +
                                 base + QStringLiteral("\r\n"));
        p.log.WriteDebugLog(QStringLiteral("Screenshot Save Failed : CODE") +
                            QString::number(status) + QStringLiteral("  ") + base);
    }
    return false;
}

QString ScreenshotFolder(Program& p)
{
    QString folder = JoinPath(p.settings.SaveFolder, QStringLiteral("ss"));
    try {
        CreateFolderPath(folder);
    } catch (const TrappedError&) {
        // Reported by SaveScreenshot when the file cannot be written there.
    }
    return folder;
}

void menuPrtScr_Click(Program& p)
{
    p.log.WriteDebugLog(QStringLiteral("Click : Print Screen "));
    p.services.scheduler.WaitMs(10000);
    // The window may have been closed during the wait; the program state is going away.
    if (p.flags.ProgramClosing)
        return;
    const QString base =
        ScreenshotFolder(p) + QStringLiteral("PrtScr") +
        ToQDateTime(p.services.clock.Now()).toString(QStringLiteral("_yyyyMMddhhmmss"));
    SaveScreenshot(p, base, p.settings.SaveFormat);
    PlayBeep(p.services.beeper, p.settings.BeepMode);
    p.view.activateMainWindow();
    p.txtLog.AppendToTextBox(QStringLiteral("\r\nプリントスクリーン実行\r\n\r\n"));
    p.log.WriteDebugLog(QStringLiteral("Print Screen ･･･ End "));
}

} // namespace kesmaro
