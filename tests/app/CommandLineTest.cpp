#include "app/CommandLine.h"

#include "config/Settings.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

std::string unexpected(const std::string& argument)
{
    return "kesmaro: unexpected argument '" + argument + "' (see kesmaro --help)\n";
}

} // namespace

TEST(CommandLineTest, OnlyNoArgumentsVersionOrHelpInEitherFormAreAccepted)
{
    struct Row {
        std::vector<std::string> arguments;
        CommandLineAction action;
        int exitStatus;
        std::string text; // the text exactly, or its start for the help
    };
    const Row rows[] = {
        {{}, CommandLineAction::Run, 0, {}},
        {{"--version"}, CommandLineAction::Print, 0, kProgramTitle + "\n"},
        {{"--help"}, CommandLineAction::Print, 0, "Usage: kesmaro "},
        {{"-V"}, CommandLineAction::Print, 0, kProgramTitle + "\n"},
        {{"-h"}, CommandLineAction::Print, 0, "Usage: kesmaro "},
        {{"-v"}, CommandLineAction::Fail, 2, unexpected("-v")},
        {{"-hV"}, CommandLineAction::Fail, 2, unexpected("-hV")},
        {{"-h", "-V"}, CommandLineAction::Fail, 2, unexpected("-V")},
        {{"--Version"}, CommandLineAction::Fail, 2, unexpected("--Version")},
        {{""}, CommandLineAction::Fail, 2, unexpected("")},
        {{"--version", "--help"}, CommandLineAction::Fail, 2, unexpected("--help")},
        {{"game.exe", "--help"}, CommandLineAction::Fail, 2, unexpected("game.exe")},
        // A percent sign or a non-ASCII argument comes back as it was given.
        {{"%1"}, CommandLineAction::Fail, 2, unexpected("%1")},
        {{"ゲーム"}, CommandLineAction::Fail, 2, unexpected("ゲーム")},
    };
    for (const Row& row : rows) {
        std::string joined;
        for (const std::string& argument : row.arguments)
            joined += argument + ' ';
        SCOPED_TRACE(joined);
        const CommandLineResult result = ParseCommandLine(row.arguments);
        EXPECT_EQ(result.action, row.action);
        EXPECT_EQ(result.exitStatus, row.exitStatus);
        EXPECT_EQ(result.text.substr(0, row.text.size()), row.text) << result.text;
        if (row.action == CommandLineAction::Fail) {
            EXPECT_EQ(result.text, row.text);
            EXPECT_EQ(std::count(result.text.begin(), result.text.end(), '\n'), 1);
        }
    }
    const std::string help = ParseCommandLine({"--help"}).text;
    for (const char* option : {"-h, --help", "-V, --version"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}
