#include "common/Arguments.h"
#include "common/Files.h"
#include "platform/ImageFiles.h"
#include "recognition/AutoDetect.h"
#include "tools/replay/Replay.h"
#include "tools/replay/ReplayPlatform.h"
#include "tools/replay/Scenario.h"

#include <algorithm>
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
int findAreas(const std::vector<std::string>& args)
{
    std::string image;
    std::optional<InterfaceColour> colour;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--find-areas" && i + 1 < args.size() && image.empty()) {
            image = args[++i];
        } else if (args[i] == "--colour" && i + 1 < args.size() && !colour) {
            const std::string& name = args[++i];
            static const std::pair<const char*, InterfaceColour> names[] = {
                {"yellow", InterfaceColour::Yellow},
                {"red", InterfaceColour::Red},
                {"blue", InterfaceColour::Blue},
                {"white", InterfaceColour::White}};
            for (const auto& [text, value] : names)
                if (name == text)
                    colour = value;
            if (!colour)
                return usage();
        } else {
            return usage();
        }
    }
    const ImageFileContent picture = ReadImageFile(PathFromUtf8(image));
    if (picture.status != ImageFileStatus::Ok || picture.pixels.isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", image.c_str());
        return 2;
    }
    bool complete = false;
    const std::vector<std::string> lines =
        ProposalLines(FindCaptureAreas(picture.pixels, DefaultFinderFonts(colour)), &complete);
    for (const std::string& line : lines)
        std::printf("%s\n", line.c_str());
    return complete ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Before the platform starts: help needs no display and no platform plugin.
    if (const std::vector<std::string> given = ArgumentsOf(argc, argv);
        given.size() == 1 && (given[0] == "--help" || given[0] == "-h"))
        return help();
    const ReplayPlatform platform(argc, argv);
    const std::vector<std::string> args = platform.arguments();
    if (std::find(args.begin(), args.end(), "--find-areas") != args.end())
        return findAreas(args);
    std::string out = "replay-out";
    std::string scenarioPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (args[i].starts_with('-') || !scenarioPath.empty())
            return usage();
        else
            scenarioPath = args[i];
    }
    if (scenarioPath.empty())
        return usage();

    std::string error;
    const std::optional<Scenario> scenario = ParseScenario(scenarioPath, error);
    if (!scenario) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    if (!RunReplay(*scenario, out, error, platform.graphWriter())) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
