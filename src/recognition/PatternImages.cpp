#include "recognition/PatternImages.h"

#include "common/DebugLog.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "platform/ImageFiles.h"
#include "recognition/Recognition.h"
#include "state/Program.h"

#include <system_error>

namespace kesmaro {

namespace {

constexpr int kPatternWaitMs = 10000;

void savePattern(Trap& trap, Program& p, int n, const PixelBuffer& picture)
{
    trap([&] {
        const std::string path =
            PatternImagePath(p.programFolder, n, DateTime(p.services.clock.Now()));
        if (!SaveBitmap(picture, path))
            Raise(ErrPathFileAccess);
    });
}

} // namespace

bool SaveBitmap(const PixelBuffer& picture, const std::string& path)
{
    // Written beside and renamed, so a failed save never leaves half a picture.
    const std::filesystem::path target = PathFromUtf8(path);
    std::filesystem::path partial = target;
    partial += ".partial";
    std::error_code error;
    if (WriteImageFile(picture, partial, ImageFormat::Bmp) != ImageFileStatus::Ok) {
        std::filesystem::remove(partial, error);
        return false;
    }
    std::filesystem::rename(partial, target, error);
    if (error)
        std::filesystem::remove(partial, error);
    return !error;
}

std::string PatternImagePath(const std::string& programFolder, int n, const DateTime& now)
{
    return JoinPath(programFolder,
                    "Capture" + std::to_string(n) + now.format("_MMddhhmmss") + ".bmp");
}

void menuPatternSave_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Pattern Save ");
    Trap trap(p.log, "menuPatternSave");
    for (int n = 1; n <= kCaptureAreaCount; ++n) {
        const PixelBuffer& picture = p.picCapture[static_cast<std::size_t>(n - 1)];
        if (picture.isEmpty())
            return;
        savePattern(trap, p, n, picture);
    }
    p.log.WriteDebugLog("Pattern Save ･･･ End ");
}

void PatternCaptureAndSave(Program& p,
                           const std::function<void(int slot, const PixelBuffer& picture)>& show)
{
    Trap trap(p.log, "PatternCaptureAndSave");
    p.services.scheduler.WaitMs(kPatternWaitMs);
    for (int n = 1; n <= kCaptureAreaCount; ++n) {
        const PixelBuffer picture = CaptureForegroundRegionPicture(
            p.services, p.settings.CaptureArea[static_cast<std::size_t>(n - 1)], 0, true);
        if (show)
            show(n - 1, picture);
        savePattern(trap, p, n, picture);
    }
    p.log.WriteDebugLog("Pattern Capture and Save ･･･ End ");
}

} // namespace kesmaro
