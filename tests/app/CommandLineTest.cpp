#include "app/CommandLine.h"

#include "config/Settings.h"

#include <gtest/gtest.h>

using namespace kesmaro;

TEST(CommandLineTest, OnlyNoArgumentsVersionOrHelpInEitherFormAreAccepted)
{
    struct Row {
        QStringList arguments;
        CommandLineAction action;
        int exitStatus;
        QString text; // the text exactly, or its start for the help
    };
    const QString unexpected = "kesmaro: unexpected argument '%1' (see kesmaro --help)\n";
    const Row rows[] = {
        {{}, CommandLineAction::Run, 0, {}},
        {{"--version"}, CommandLineAction::Print, 0, QString::fromStdString(kProgramTitle + "\n")},
        {{"--help"}, CommandLineAction::Print, 0, "Usage: kesmaro "},
        {{"-V"}, CommandLineAction::Print, 0, QString::fromStdString(kProgramTitle + "\n")},
        {{"-h"}, CommandLineAction::Print, 0, "Usage: kesmaro "},
        {{"-v"}, CommandLineAction::Fail, 2, unexpected.arg("-v")},
        {{"-hV"}, CommandLineAction::Fail, 2, unexpected.arg("-hV")},
        {{"-h", "-V"}, CommandLineAction::Fail, 2, unexpected.arg("-V")},
        {{"--Version"}, CommandLineAction::Fail, 2, unexpected.arg("--Version")},
        {{""}, CommandLineAction::Fail, 2, unexpected.arg("")},
        {{"--version", "--help"}, CommandLineAction::Fail, 2, unexpected.arg("--help")},
        {{"game.exe", "--help"}, CommandLineAction::Fail, 2, unexpected.arg("game.exe")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CommandLineResult result = ParseCommandLine(row.arguments);
        EXPECT_EQ(result.action, row.action);
        EXPECT_EQ(result.exitStatus, row.exitStatus);
        EXPECT_TRUE(result.text.startsWith(row.text)) << result.text.toStdString();
        if (row.action == CommandLineAction::Fail) {
            EXPECT_EQ(result.text.count('\n'), 1);
        }
    }
    const QString help = ParseCommandLine({"--help"}).text;
    for (const char* option : {"-h, --help", "-V, --version"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}
