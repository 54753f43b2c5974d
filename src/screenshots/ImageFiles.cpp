#include "screenshots/ImageFiles.h"

#include "common/Files.h"
#include "common/Paths.h"
#include "config/CommonQt.h"
#include "platform/ImageFiles.h"
#include "records/Beep.h"
#include "records/RecordFile.h"
#include "state/Program.h"

#include <algorithm>
#include <cstring>

namespace kesmaro {

namespace {

int write(const PixelBuffer* picture, const QString& path, ImageFormat format, int quality = 90)
{
    if (picture == nullptr || picture->isEmpty())
        return ImageNoPicture;
    return static_cast<int>(
        WriteImageFile(*picture, PathFromUtf8(path.toStdString()), format, quality));
}

} // namespace

int SaveBmp(const PixelBuffer* picture, const QString& path)
{
    return write(picture, path, ImageFormat::Bmp);
}

int SavePng(const PixelBuffer* picture, const QString& path)
{
    return write(picture, path, ImageFormat::Png);
}

int SaveJpeg(const PixelBuffer* picture, const QString& path, int quality)
{
    return write(picture, path, ImageFormat::Jpeg, std::clamp(quality, 25, 100));
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
        p.txtLog.AppendToTextBox(
            "スクリーンショットを保存できませんでした : " + base.toStdString() + "\r\n");
        p.log.WriteDebugLog((QStringLiteral("Screenshot Save Failed : CODE") +
                             QString::number(status) + QStringLiteral("  ") + base)
                                .toStdString());
    }
    return false;
}

QString ScreenshotFolder(Program& p)
{
    std::string folder = JoinPath(SaveBaseFolder(p.settings, p.programFolder), "ss");
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
    SaveScreenshot(p, base, QString::fromStdString(p.settings.SaveFormat));
    PlayBeep(p.services.beeper, p.settings.BeepMode);
    p.view.activateMainWindow();
    p.txtLog.AppendToTextBox("\r\nプリントスクリーン実行\r\n\r\n");
    p.log.WriteDebugLog("Print Screen ･･･ End ");
}

} // namespace kesmaro
