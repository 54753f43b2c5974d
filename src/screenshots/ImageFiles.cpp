#include "screenshots/ImageFiles.h"

#include "common/DateTime.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "platform/ImageFiles.h"
#include "records/Beep.h"
#include "records/RecordFile.h"
#include "state/Program.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kesmaro {

namespace {

int write(const PixelBuffer* picture, const std::string& path, ImageFormat format, int quality = 90)
{
    if (picture == nullptr || picture->isEmpty())
        return ImageNoPicture;
    return static_cast<int>(WriteImageFile(*picture, PathFromUtf8(path), format, quality));
}

} // namespace

int SaveBmp(const PixelBuffer* picture, const std::string& path)
{
    return write(picture, path, ImageFormat::Bmp);
}

int SavePng(const PixelBuffer* picture, const std::string& path)
{
    return write(picture, path, ImageFormat::Png);
}

int SaveJpeg(const PixelBuffer* picture, const std::string& path, int quality)
{
    return write(picture, path, ImageFormat::Jpeg, std::clamp(quality, 25, 100));
}

int SavePicture(const PixelBuffer& picture, const std::string& base, const std::string& format)
{
    if (format == ".bmp")
        return SaveBmp(&picture, base + ".bmp");
    if (format == ".png")
        return SavePng(&picture, base + ".png");
    if (format == ".jpg90")
        return SaveJpeg(&picture, base + ".jpg", 90);
    if (format == ".jpg70")
        return SaveJpeg(&picture, base + ".jpg", 70);
    return ImageOk;
}

bool SaveScreenshot(Program& p, const std::string& base, const std::string& format)
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
        p.txtLog.AppendToTextBox("スクリーンショットを保存できませんでした : " + base + "\r\n");
        p.log.WriteDebugLog("Screenshot Save Failed : CODE" + std::to_string(status) + "  " + base);
    }
    return false;
}

std::string ScreenshotFolder(Program& p)
{
    std::string folder = JoinPath(SaveBaseFolder(p.settings, p.programFolder), "ss");
    try {
        CreateFolderPath(folder);
    } catch (const TrappedError&) {
        // Reported by SaveScreenshot when the file cannot be written there.
    }
    return folder;
}

void menuPrtScr_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Print Screen ");
    p.services.scheduler.WaitMs(10000);
    // The window may have been closed during the wait; the program state is going away.
    if (p.flags.ProgramClosing)
        return;
    const std::string base =
        ScreenshotFolder(p) + "PrtScr" + DateTime(p.services.clock.Now()).format("_yyyyMMddhhmmss");
    SaveScreenshot(p, base, p.settings.SaveFormat);
    PlayBeep(p.services.beeper, p.settings.BeepMode);
    p.view.activateMainWindow();
    p.txtLog.AppendToTextBox("\r\nプリントスクリーン実行\r\n\r\n");
    p.log.WriteDebugLog("Print Screen ･･･ End ");
}

} // namespace kesmaro
