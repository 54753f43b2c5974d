#pragma once

#include "config/Settings.h"

#include <string>
#include <string_view>

namespace kesmaro {

class DebugLog;
class Prompter;

// The program folder as the record folder setting holds it: native separators, no separator at
// the end.
std::string DefaultSaveFolder(std::string_view programFolder);

// Sets every scalar field to its default. Capture areas, glyph sets and SearchWindowClass stay.
void ApplyDefaults(Settings& settings, std::string_view programFolder);

enum class ScreenMode { FullScreen, Window };

// The default capture areas for a screen mode.
void SetDefaultCaptureAreas(Settings& settings, ScreenMode mode);

// Asks whether the game runs full-screen or in a window (confirmed by a second box) and sets
// the capture areas for the answer.
ScreenMode AskScreenMode(Settings& settings, Prompter& prompter);

enum class InterfaceColour { Yellow, Red, Blue, White };

// Resets all three glyph sets to the built-in tables, the Exp set in the given colour.
void LoadDefaultGlyphTables(Settings& settings, InterfaceColour colour);

// Asks for the game's interface colour until one is chosen: only a Yes ends the questions.
InterfaceColour AskInterfaceColour(Prompter& prompter);

// The colour step: asks the colour, logs the choice and resets all three glyph sets.
InterfaceColour SelectGlyphColour(Settings& settings, Prompter& prompter, DebugLog& log);

} // namespace kesmaro
