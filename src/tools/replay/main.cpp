#include "tools/replay/Replay.h"
#include "tools/replay/Scenario.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

using namespace kesmaro;

namespace {

int usage()
{
    std::fputs("usage: kesmaro-replay [--out DIR] SCENARIO\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // No display is needed: the graph picture is drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
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
