#pragma once

#include "app/SystemCheck.h"

#include <string>

namespace kesmaro {

// This machine's answers for the start-up check, from the X server on `display` (empty:
// $DISPLAY), the sound server and the search path. The font is the widgets layer's to tell
// (HasJapaneseFont needs the application object), so it comes in as `japaneseFont`.
SystemPartsFound ProbeSystemParts(bool japaneseFont, const std::string& display = {});

// True when the font database holds a family that writes Japanese. Only valid once a
// QGuiApplication exists.
bool HasJapaneseFont();

} // namespace kesmaro
