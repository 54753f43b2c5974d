#include "app/CommandLine.h"

#include "config/Settings.h"

#include <string_view>

namespace kesmaro {

namespace {

bool isVersion(std::string_view option)
{
    return option == "--version" || option == "-V";
}

bool isHelp(std::string_view option)
{
    return option == "--help" || option == "-h";
}

constexpr std::string_view kHelpText =
    "Usage: kesmaro [-h | --help | -V | --version]\n"
    "Measures a player's progress while they play: reads the level, the Exp percentage and\n"
    "the coins off the game window at a set interval and shows Exp and coins per hour.\n"
    "The settings file, the debug log and the records are kept in the program folder.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n";

} // namespace

CommandLineResult ParseCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return {};
    const std::string& first = arguments.front();
    const bool known = isVersion(first) || isHelp(first);
    if (known && arguments.size() == 1) {
        return {CommandLineAction::Print,
                isVersion(first) ? std::string(kProgramTitle) + '\n' : std::string(kHelpText), 0};
    }
    const std::string& wrong = known ? arguments.at(1) : first;
    return {CommandLineAction::Fail,
            "kesmaro: unexpected argument '" + wrong + "' (see kesmaro --help)\n", 2};
}

} // namespace kesmaro
