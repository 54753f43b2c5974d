#pragma once

#include "config/Settings.h"
#include "config/SettingsTable.h"

#include <string>
#include <string_view>

namespace kesmaro {

class DebugLog;
class Prompter;

// Steps of `ConfigFile`. A step that finishes hands over to the next one of the chain
// read -> (reset -> screen mode ->) colour -> write.
enum class ConfigMode {
    Reset = 1,      // defaults for every scalar, then the screen-mode question
    ScreenMode = 2, // the screen-mode question, then the colour choice
    Colour = 4,     // the interface-colour choice, then write
    Read = 16,      // read the file, recovering from old and unreadable files
    Write = 32,     // write the file
};

// What the settings file operations work on. Free of widgets: start-up, the options window and
// the replay tool each pass their own prompter.
struct ConfigContext {
    Settings& settings;
    Prompter& prompter;
    DebugLog& log;
    std::string programFolder;
};

std::string ConfigFilePath(std::string_view programFolder);
std::string ConfigBackupPath(std::string_view programFolder);

// Runs the mode chain from `mode` on. Returns the last step that ran: Read when the file was
// read and left as it is, Write when the chain ended by saving (or trying to save); a value
// that is no step runs nothing and is returned unchanged.
ConfigMode ConfigFile(ConfigContext& ctx, ConfigMode mode);

// Results of the readers.
enum class ConfigReadResult {
    Failed = -1,
    Done = 0,
    Asked = 1, // the file named another window class and the user was asked
};

// Fill the settings from a file of the current layout ("Ver.2.30") or of the 2.20 layout.
ConfigReadResult ConfigFileReadV230(ConfigContext& ctx, const std::string& path);
ConfigReadResult ConfigFileReadV220(ConfigContext& ctx, const std::string& path);

// The readers over a file's bytes, for callers that hold the file already.
ConfigReadResult ReadConfigBytes(ConfigContext& ctx, std::string_view bytes, ConfigLayout layout);

// The 8 characters from the first "Ver." of the title line; empty when there is none.
std::string ConfigFileVersion(std::string_view firstLine);

} // namespace kesmaro
