#pragma once

#include <array>
#include <string>

namespace kesmaro {

// What the Windows build loads at run time, in the order of the library check's table
// (app/SystemCheck.h): the probe's answer is that check's SystemPartsFound.
enum Win32SystemPart {
    Win32PartGdiplus,
    Win32PartDirectInput8,
    Win32PartCommonControls,
    Win32PartJapaneseFont,
    kWin32SystemPartCount
};

// Which of the libraries load from the system folder, and whether a Japanese font is
// installed; for CheckSystemFiles.
std::array<bool, kWin32SystemPartCount> ProbeSystemParts();

// The user's temporary folder (GetTempPathW) in UTF-8, without the trailing separator, for
// the start-up refusal; empty when the system gives none.
std::string Win32TempFolder();

} // namespace kesmaro
