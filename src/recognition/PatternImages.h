#pragma once

#include "common/DateTime.h"
#include "platform/PixelBuffer.h"

#include <functional>
#include <string>

namespace kesmaro {

struct Program;

// Writes a picture as a standard BMP file of its size (`path` in UTF-8); false when it is empty
// or the file cannot be written.
bool SaveBitmap(const PixelBuffer& picture, const std::string& path);

// The file of pattern image n (1..5) taken at `now`: "Capture" + n + "_MMddhhmmss.bmp" in the
// program folder.
std::string PatternImagePath(const std::string& programFolder, int n, const DateTime& now);

// The main window's pattern save (menuPatternSave): saves the pictures that the last capture
// in debug mode left in picCapture, stopping silently at the first slot without a picture.
void menuPatternSave_Click(Program& p);

// The options window's capture test (its cmdCapture): after a ten-second wait, pictures every
// capture area from the window in front, hands each to `show` (the options window's picture
// boxes) and saves it.
void PatternCaptureAndSave(Program& p,
                           const std::function<void(int slot, const PixelBuffer& picture)>& show);

} // namespace kesmaro
