#pragma once

#include "platform/ImageFiles.h"
#include "platform/PixelBuffer.h"

#include <string>

namespace kesmaro {

struct Program;

// Status codes of the image encoders: the image-file seam's numbers (0 success, 13 no picture,
// otherwise the failing step), as plain ints for the debug log and the callers' tests.
enum ImageStatus : int {
    ImageOk = static_cast<int>(ImageFileStatus::Ok),
    ImageGenericError = static_cast<int>(ImageFileStatus::GenericError),
    ImageInvalidParameter = static_cast<int>(ImageFileStatus::InvalidParameter),
    ImageNotImplemented = static_cast<int>(ImageFileStatus::NotImplemented),
    ImageWriteError = static_cast<int>(ImageFileStatus::WriteError),
    ImageNoPicture = static_cast<int>(ImageFileStatus::NoPicture),
};

int SaveBmp(const PixelBuffer* picture, const std::string& path);
int SavePng(const PixelBuffer* picture, const std::string& path);
// Quality is clamped to 25..100.
int SaveJpeg(const PixelBuffer* picture, const std::string& path, int quality);

// Saves `picture` as base + extension for `format` (".bmp", ".png", ".jpg90", ".jpg70"); any
// other format saves nothing and counts as success. Returns the encoder status.
int SavePicture(const PixelBuffer& picture, const std::string& base, const std::string& format);

// A picture of the whole foreground window, frame included, saved as SavePicture does. A
// failure is said once in txtLog and the debug log (until a save succeeds again); the caller
// goes on either way. Returns true when the file was written (or nothing was to be written).
bool SaveScreenshot(Program& p, const std::string& base, const std::string& format);

// The screenshot folder SaveBaseFolder + "ss", created when missing; empty when it cannot be.
std::string ScreenshotFolder(Program& p);

// `menuPrtScr`: waits 10 s for the user to bring the game to the front, then saves the
// foreground window as "PrtScr_yyyymmddhhmmss" in the screenshot folder.
void menuPrtScr_Click(Program& p);

} // namespace kesmaro
