#include "common/Arguments.h"
#include "config/CommonQt.h"
#include "platform/qt/Pictures.h"
#include "recognition/AutoDetect.h"
#include "tools/replay/Replay.h"
#include "tools/replay/Scenario.h"

#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <cstdio>

using namespace kesmaro;

namespace {

const char* const kUsage =
    "usage: kesmaro-replay [--out DIR] SCENARIO\n"
    "       kesmaro-replay --find-areas IMAGE [--colour yellow|red|blue|white]\n"
    "       kesmaro-replay -h | --help\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

int help()
{
    std::fputs(kUsage, stdout);
    std::fputs(
        "Runs kesmaro's start-up, main-window and measuring code over a scenario of recorded\n"
        "game frames on a simulated clock, without a display.\n"
        "\n"
        "  --out DIR           the program folder (default replay-out): the settings file,\n"
        "                      debug.txt, log/ and ss/ as the program writes them, and at the\n"
        "                      end txtLog.txt, results.txt, prompts.txt, graph.csv, graph.png\n"
        "  --find-areas IMAGE  print the capture areas of the numbers in a screenshot:\n"
        "                      level/exp/coins[/coins2] X Y W H; status 1 when one is missing\n"
        "  --colour COLOUR     the interface colour to look for (default: all four)\n"
        "  -h, --help          show this help and exit\n",
        stdout);
    return 0;
}

// Prints where the numbers are drawn in a screenshot, as capture areas in its pixels.
int findAreas(const QStringList& args)
{
    QString image;
    std::optional<InterfaceColour> colour;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--find-areas") && i + 1 < args.size() && image.isEmpty()) {
            image = args[++i];
        } else if (args[i] == QLatin1String("--colour") && i + 1 < args.size() && !colour) {
            const QString name = args[++i];
            static const std::pair<const char*, InterfaceColour> names[] = {
                {"yellow", InterfaceColour::Yellow},
                {"red", InterfaceColour::Red},
                {"blue", InterfaceColour::Blue},
                {"white", InterfaceColour::White}};
            for (const auto& [text, value] : names)
                if (name == QLatin1String(text))
                    colour = value;
            if (!colour)
                return usage();
        } else {
            return usage();
        }
    }
    const QImage picture(image);
    if (picture.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(image));
        return 2;
    }
    bool complete = false;
    const std::vector<std::string> lines =
        ProposalLines(FindCaptureAreas(FromQImage(picture), DefaultFinderFonts(colour)), &complete);
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return complete ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Before the application: help needs no display and no platform plugin.
    if (const QStringList given = ToQStringList(ArgumentsOf(argc, argv));
        given.size() == 1 && (given[0] == u"--help" || given[0] == u"-h"))
        return help();
    // No display is needed: the graph picture is drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--find-areas")))
        return findAreas(args);
    QString out = QStringLiteral("replay-out");
    QString scenarioPath;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i].startsWith(QLatin1Char('-')) || !scenarioPath.isEmpty())
            return usage();
        else
            scenarioPath = args[i];
    }
    if (scenarioPath.isEmpty())
        return usage();

    QString error;
    const std::optional<Scenario> scenario = ParseScenario(scenarioPath, error);
    if (!scenario) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    if (!RunReplay(*scenario, out, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
