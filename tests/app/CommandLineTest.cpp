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
    const QString unexpected =
        QStringLiteral("kesmaro: unexpected argument '%1' (see kesmaro --help)\n");
    const Row rows[] = {
        {{}, CommandLineAction::Run, 0, {}},
        {{QStringLiteral("--version")}, CommandLineAction::Print, 0, kProgramTitle + "\n"},
        {{QStringLiteral("--help")},
         CommandLineAction::Print,
         0,
         QStringLiteral("Usage: kesmaro ")},
        {{QStringLiteral("-V")}, CommandLineAction::Print, 0, kProgramTitle + "\n"},
        {{QStringLiteral("-h")}, CommandLineAction::Print, 0, QStringLiteral("Usage: kesmaro ")},
        {{QStringLiteral("-v")}, CommandLineAction::Fail, 2, unexpected.arg("-v")},
        {{QStringLiteral("-hV")}, CommandLineAction::Fail, 2, unexpected.arg("-hV")},
        {{QStringLiteral("-h"), QStringLiteral("-V")},
         CommandLineAction::Fail,
         2,
         unexpected.arg("-V")},
        {{QStringLiteral("--Version")}, CommandLineAction::Fail, 2, unexpected.arg("--Version")},
        {{QStringLiteral("")}, CommandLineAction::Fail, 2, unexpected.arg("")},
        {{QStringLiteral("--version"), QStringLiteral("--help")},
         CommandLineAction::Fail,
         2,
         unexpected.arg("--help")},
        {{QStringLiteral("game.exe"), QStringLiteral("--help")},
         CommandLineAction::Fail,
         2,
         unexpected.arg("game.exe")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLineResult result = ParseCommandLine(row.arguments);
        EXPECT_EQ(result.action, row.action);
        EXPECT_EQ(result.exitStatus, row.exitStatus);
        EXPECT_TRUE(result.text.startsWith(row.text)) << result.text.toStdString();
        if (row.action == CommandLineAction::Fail) {
            EXPECT_EQ(result.text.count(QLatin1Char('\n')), 1);
        }
    }
    const QString help = ParseCommandLine({QStringLiteral("--help")}).text;
    for (const char* option : {"-h, --help", "-V, --version"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}
