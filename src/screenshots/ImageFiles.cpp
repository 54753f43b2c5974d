#include "screenshots/ImageFiles.h"

#include "common/Paths.h"
#include "config/CommonQt.h"
#include "records/Beep.h"
#include "records/RecordFile.h"
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
        p.log.WriteDebugLog((QStringLiteral("Screenshot Save Failed : CODE") +
                             QString::number(status) + QStringLiteral("  ") + base)
                                .toStdString());
    }
    return false;
}

QString ScreenshotFolder(Program& p)
{
    std::string folder =
        JoinPath(SaveBaseFolder(p.settings, p.programFolder), QStringLiteral("ss")).toStdString();
    try {
        CreateFolderPath(folder);
    } catch (const TrappedError&) {
        // Reported by SaveScreenshot when the file cannot be written there.
    }
    return QString::fromStdString(folder);
}

void menuPrtScr_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Print Screen ");
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
    p.log.WriteDebugLog("Print Screen ･･･ End ");
}

} // namespace kesmaro
