#include "app/CommandLine.h"

#include "config/Settings.h"

namespace kesmaro {

namespace {

const QString kVersionOption = QStringLiteral("--version");
const QString kHelpOption = QStringLiteral("--help");

QString HelpText()
{
    return QStringLiteral(
        "Usage: kesmaro [--help | --version]\n"
        "Measures a player's progress while they play: reads the level, the Exp percentage and\n"
        "the coins off the game window at a set interval and shows Exp and coins per hour.\n"
        "The settings file, the debug log and the records are kept in the program folder.\n"
        "\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and exit\n");
}

} // namespace

CommandLineResult ParseCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return {};
    const QString& first = arguments.front();
    const bool known = first == kVersionOption || first == kHelpOption;
    if (known && arguments.size() == 1) {
        return {CommandLineAction::Print,
                first == kVersionOption ? kProgramTitle + QLatin1Char('\n') : HelpText(), 0};
    }
    const QString& wrong = known ? arguments.at(1) : first;
    return {CommandLineAction::Fail,
            QStringLiteral("kesmaro: unexpected argument '%1' (see kesmaro --help)\n").arg(wrong),
            2};
}

} // namespace kesmaro
