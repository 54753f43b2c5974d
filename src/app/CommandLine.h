#pragma once

#include <string>
#include <vector>

namespace kesmaro {

enum class CommandLineAction {
    Run,   // start the program
    Print, // write `text` to standard output and exit with `exitStatus`
    Fail,  // write `text` to standard error and exit with `exitStatus`
};

struct CommandLineResult {
    CommandLineAction action = CommandLineAction::Run;
    std::string text;
    int exitStatus = 0;
};

// What `kesmaro` does with its arguments (the program name left out): none runs the program,
// "--version" (-V) or "--help" (-h) alone prints and exits 0, anything else is a usage error
// (status 2).
// Decided before any window system is reached, so that both work without a display.
CommandLineResult ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace kesmaro
