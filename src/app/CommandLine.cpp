#include "app/CommandLine.h"

#include "config/Settings.h"

namespace kesmaro {

namespace {

bool isVersion(const QString& option)
{
    return option == u"--version" || option == u"-V";
}

bool isHelp(const QString& option)
{
    return option == u"--help" || option == u"-h";
}

QString HelpText()
{
    return QStringLiteral(
        "Usage: kesmaro [-h | --help | -V | --version]\n"
        "Measures a player's progress while they play: reads the level, the Exp percentage and\n"
        "the coins off the game window at a set interval and shows Exp and coins per hour.\n"
        "The settings file, the debug log and the records are kept in the program folder.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "  -V, --version  show the version and exit\n");
}

} // namespace

CommandLineResult ParseCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return {};
    const QString& first = arguments.front();
    const bool known = isVersion(first) || isHelp(first);
    if (known && arguments.size() == 1) {
        return {CommandLineAction::Print,
                isVersion(first) ? QString::fromStdString(kProgramTitle) + QLatin1Char('\n')
                                 : HelpText(),
                0};
    }
    const QString& wrong = known ? arguments.at(1) : first;
    return {CommandLineAction::Fail,
            QStringLiteral("kesmaro: unexpected argument '%1' (see kesmaro --help)\n").arg(wrong),
            2};
}

} // namespace kesmaro
