#pragma once

#include "platform/GameWindows.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesmaro {

// Settings of the status line and the capture, kept in a file of their own beside the settings
// file so that the settings file stays exactly as other versions of the program read it.
struct ExtraSettings {
    // The minutes of measurements the rolling Exp and coin rates look back over.
    std::int32_t RollingMinutes = 60;
    CaptureSource Source = CaptureSource::Window;
};

constexpr std::int32_t kRollingMinutesMin = 10;
constexpr std::int32_t kRollingMinutesMax = 240;
constexpr std::int32_t kRollingMinutesDefault = 60;

// The question the options window asks when the rolling window is edited.
std::string RollingMinutesPrompt();

// "KesmaroExtra.ini" in the program folder.
std::string ExtraSettingsPath(std::string_view programFolder);

// The file's values, each brought into its bounds; the defaults for what is missing or not a
// number, and for a missing or unreadable file.
ExtraSettings LoadExtraSettings(std::string_view programFolder);

// Writes the status line's values; false when the file could not be written.
bool SaveExtraSettings(std::string_view programFolder, const ExtraSettings& extra);

// Writes the capture source alone, as the options window sets it; the file's other keys stay.
bool SaveCaptureSource(std::string_view programFolder, CaptureSource source);

// "window" or "screen", as the file holds them; any other text (case aside) reads as the window.
std::string_view CaptureSourceName(CaptureSource source);
CaptureSource ParseCaptureSource(std::string_view text);

// A rolling window brought into 10..240 minutes.
std::int32_t ClampRollingMinutes(std::int64_t minutes);

} // namespace kesmaro
