#pragma once

#include "config/Settings.h"

#include <string>
#include <vector>

namespace kesmaro {

class TextLineReader;
class Trap;

// The layouts of the settings file: the current one ("Ver.2.30") and the older 2.20 one, which
// lacks the extra capture areas and the window and display lines and stores the sound mode as
// a flag.
enum class ConfigLayout { V230, V220 };

// Reads the lines `layout` has, in file order, into `settings`. Each line is one statement of
// `trap`: a line that fails keeps what it stored so far and reading goes on with the next one.
// Returns the window class the last line names; whether it is taken is the caller's question.
std::string ReadSettingsLines(Settings& settings, TextLineReader& reader, ConfigLayout layout,
                              Trap& trap);

// The lines of a current-layout file, without line ends and without the final empty line.
std::vector<std::string> ConfigFileLines(const Settings& settings);

} // namespace kesmaro
