#pragma once

#include "records/Documents.h" // the document names the Help menu opens

#include <optional>
#include <span>
#include <string_view>

namespace kesmaro {

struct Program;

// Every menu item and button of the main window. The menus, the buttons, the gestures and the
// replay tool's `click` lines all start an operation through Execute, so a command behaves the
// same whoever starts it.
enum class Command {
    // File
    PatternSave,
    End,
    // Config
    Option,
    Gesture,
    DebugMode,
    // The two commands on the menu bar
    Run,
    Stop,
    // Tools
    RandomOne,
    RandomSome,
    PrtScr,
    // Help
    QuickReference,
    HowToUse,
    ReadMe,
    OperatingInfo,
    Version,
    // Buttons and the window itself
    TempStop,
    Capture,
    Recognize,
    WindowRefresh,
};

struct CommandInfo {
    Command command;
    // The replay tool's `click` name.
    std::string_view name;
    // The debug-log line written first, where the operation does not write its own.
    const char* clickText;
    void (*run)(Program&);
};

// Each command once, in menu order.
std::span<const CommandInfo> Commands();
std::optional<Command> CommandFromName(std::string_view name);
std::string_view CommandName(Command command);

// Runs the command's operation; never throws.
void Execute(Program& p, Command command);

} // namespace kesmaro
