#pragma once

#include "platform/PixelBuffer.h"

#include <filesystem>

namespace kesmaro {

// Image files: one implementation a platform, chosen by the build (Qt's image I/O on Linux,
// GDI+ on Windows). The names avoid LoadImage, a macro of windows.h.

enum class ImageFormat { Bmp, Png, Jpeg };

// 0 is success; the other numbers are the failing step as GDI+ numbers its Status, since the
// debug log shows them ("Screenshot Save Failed : CODE7").
enum class ImageFileStatus : int {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    NotImplemented = 6,
    WriteError = 7,
    FileNotFound = 10,
    NoPicture = 13, // nothing to save, or no picture in the file
};

// Writes the picture (its fourth bytes ignored: the file is opaque). `jpegQuality` 0..100
// applies to JPEG only.
ImageFileStatus WriteImageFile(const PixelBuffer& picture, const std::filesystem::path& path,
                               ImageFormat format, int jpegQuality = 90);

struct ImageFileContent {
    PixelBuffer pixels; // opaque BGRA; empty unless status is Ok
    ImageFileStatus status = ImageFileStatus::Ok;
};
// Reads a PNG, BMP or JPEG file.
ImageFileContent ReadImageFile(const std::filesystem::path& path);

} // namespace kesmaro
