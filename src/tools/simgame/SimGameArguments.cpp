#include "tools/simgame/SimGameArguments.h"

#include "tools/simgame/Quoted.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <optional>
#include <regex>
#include <set>

namespace kesmaro {

namespace {

using simgame::Quoted;
using simgame::ShortNumber;

constexpr std::size_t kMaxClassLength = 255;

bool matches(const char* pattern, const std::string& text, std::smatch* match = nullptr)
{
    const std::regex re(pattern);
    std::smatch m;
    const bool found = std::regex_match(text, m, re);
    if (match)
        *match = m;
    return found;
}

int toInt(const std::string& text)
{
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

double toDouble(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

// The code points of UTF-8 text; nothing when it is not UTF-8.
std::optional<std::u32string> codePoints(const std::string& text)
{
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size())
            return std::nullopt;
        char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = (point << 6) | (next & 0x3F);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

std::string parseValue(const std::string& option, const std::string& value, SimGameCommand& command)
{
    GameFrameSpec& frameSpec = command.frameSpec;
    if (option == "--render") {
        if (value.empty())
            return "--render needs a file name";
        command.output = value;
        command.mode = SimGameCommand::Mode::Render;
    } else if (option == "--level") {
        if (!matches("[0-9]{1,9}", value) || toInt(value) < kMinFrameLevel ||
            toInt(value) > kMaxFrameLevel)
            return "--level must be a whole number from " + std::to_string(kMinFrameLevel) +
                   " to " + std::to_string(kMaxFrameLevel) + ", not " + Quoted(value);
        frameSpec.level = toInt(value);
    } else if (option == "--exp") {
        if (!matches("[0-9]{1,3}(\\.[0-9]{1,2})?", value) || toDouble(value) > 100.0)
            return "--exp must be a percentage from 0 to 100 with at most two decimals, not " +
                   Quoted(value);
        frameSpec.expPercent = toDouble(value);
    } else if (option == "--coins") {
        errno = 0;
        const long long coins = std::strtoll(value.c_str(), nullptr, 10);
        if (!matches("[0-9]{1,19}", value) || errno == ERANGE)
            return "--coins must be a whole number from 0 to " +
                   std::to_string(std::numeric_limits<std::int64_t>::max()) + ", not " +
                   Quoted(value);
        frameSpec.coins = coins;
    } else if (option == "--coin-area") {
        const std::optional<CoinArea> area = CoinAreaFromName(value);
        if (!area)
            return "--coin-area must be 2, 4, both or none, not " + Quoted(value);
        frameSpec.coinArea = *area;
    } else if (option == "--colour") {
        const std::optional<InterfaceColour> colour = ColourFromName(value);
        if (!colour)
            return "--colour must be yellow, red, blue or white, not " + Quoted(value);
        frameSpec.colour = *colour;
    } else if (option == "--hide") {
        std::size_t from = 0;
        while (true) {
            const std::size_t comma = value.find(',', from);
            const std::string part = value.substr(from, comma - from);
            if (part == "level")
                command.frameSpec.hideLevel = true;
            else if (part == "exp")
                command.frameSpec.hideExp = true;
            else
                return "--hide takes level, exp or level,exp, not " + Quoted(value);
            if (comma == std::string::npos)
                break;
            from = comma + 1;
        }
    } else if (option == "--class") {
        // Both strings of WM_CLASS are NUL-terminated Latin-1 text.
        const std::optional<std::u32string> points = codePoints(value);
        const bool printable =
            points && std::all_of(points->begin(), points->end(), [](char32_t ch) {
                return ch >= 0x20 && ch <= 0xFF && ch != 0x7F;
            });
        if (value.empty() || !points || points->size() > kMaxClassLength || !printable)
            return "--class must be 1 to " + std::to_string(kMaxClassLength) +
                   " printable Latin-1 characters, not " + Quoted(value);
        command.windowClass = value;
    } else if (option == "--script") {
        if (value.empty())
            return "--script needs a file name";
        command.script = value;
    } else if (option == "--seed") {
        errno = 0;
        const unsigned long long seed = std::strtoull(value.c_str(), nullptr, 10);
        if (!matches("[0-9]{1,20}", value) || errno == ERANGE)
            return "--seed must be a whole number from 0 to " +
                   std::to_string(std::numeric_limits<std::uint64_t>::max()) + ", not " +
                   Quoted(value);
        command.playOptions.seed = seed;
    } else if (option == "--exp-rate") {
        if (!matches("[0-9]{1,3}(\\.[0-9]{1,2})?", value) || toDouble(value) > kMaxExpRate)
            return "--exp-rate must be a percentage per minute from 0 to " +
                   ShortNumber(kMaxExpRate) + " with at most two decimals, not " + Quoted(value);
        command.playOptions.expPerMinute = toDouble(value);
    } else if (option == "--coin-rate") {
        if (!matches("[0-9]{1,10}", value) ||
            std::strtoll(value.c_str(), nullptr, 10) > kMaxCoinRate)
            return "--coin-rate must be a whole number of coins per minute from 0 to " +
                   std::to_string(kMaxCoinRate) + ", not " + Quoted(value);
        command.playOptions.coinsPerMinute = std::strtoll(value.c_str(), nullptr, 10);
    } else if (option == "--at") {
        std::smatch m;
        if (!matches("(level|exp|coins)=([0-9]{1,4}),([0-9]{1,4})", value, &m))
            return "--at must be level=X,Y, exp=X,Y or coins=X,Y, not " + Quoted(value);
        const std::string name = m[1].str();
        const std::size_t index = name == "level" ? 0 : name == "exp" ? 1 : 2;
        auto& at = frameSpec.at[index];
        if (at)
            return "--at " + name + " is given more than once";
        at = FramePoint{toInt(m[2].str()), toInt(m[3].str())};
    } else if (option == "--size") {
        std::smatch m;
        if (!matches("([0-9]{1,5})x([0-9]{1,5})", value, &m))
            return "--size must be WIDTHxHEIGHT, not " + Quoted(value);
        frameSpec.size = FrameExtent{toInt(m[1].str()), toInt(m[2].str())};
    }
    return {};
}

} // namespace

std::string SimGameUsage()
{
    return "usage: kesmaro-simgame [--class NAME] [--script FILE | --play [--seed N]\n"
           "                       [--exp-rate P] [--coin-rate N]] [--level N] [--exp P]\n"
           "                       [--coins N] [frame options]\n"
           "       kesmaro-simgame --render OUT.png --level N --exp P --coins N [frame options]\n"
           "       kesmaro-simgame -h | --help\n"
           "A stand-in for the game: a window of class \"Gamebryo Application\" that draws the\n"
           "level, the Exp percentage and the coins in the game's glyphs at the default capture\n"
           "areas, or one such frame written as a PNG file.\n"
           "\n"
           "  --class NAME          the window's class (both strings of WM_CLASS)\n"
           "  --script FILE         timed values, one step a line: SECONDS LEVEL EXP COINS\n"
           "  --play                a simulated player; --seed, --exp-rate (%/min), --coin-rate\n"
           "  --render OUT.png      write one frame instead of showing a window\n"
           "frame options:\n"
           "  --coin-area 2|4|both|none   where the coins are drawn (default 2)\n"
           "  --window-mode               the window-mode positions\n"
           "  --colour yellow|red|blue|white   the interface colour of the Exp glyphs\n"
           "  --size WxH                  the frame's size\n"
           "  --hide level|exp|level,exp  leave numbers out\n"
           "  --at level|exp|coins=X,Y    draw a number elsewhere\n";
}

SimGameCommand ParseSimGameArguments(const std::vector<std::string>& arguments)
{
    static const std::set<std::string> valued = {
        "--render", "--level", "--exp",    "--coins", "--coin-area", "--colour",    "--size",
        "--hide",   "--class", "--script", "--seed",  "--exp-rate",  "--coin-rate", "--at"};
    static const std::set<std::string> flags = {"--window-mode", "--play"};
    SimGameCommand command;
    std::set<std::string> seen;
    const auto fail = [&](const std::string& error) {
        command.error = error;
        return command;
    };
    const auto isHelp = [](const std::string& option) {
        return option == "--help" || option == "-h";
    };
    if (arguments.size() == 1 && isHelp(arguments.front())) {
        command.mode = SimGameCommand::Mode::Help;
        return command;
    }
    if (std::any_of(arguments.begin(), arguments.end(), isHelp))
        return fail("--help takes no other arguments");
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const bool isFlag = flags.contains(option);
        if (!isFlag && !valued.contains(option))
            return fail(!option.empty() && option.front() == '-'
                            ? "unknown option " + Quoted(option)
                            : "unexpected argument " + Quoted(option));
        if (seen.contains(option) && option != "--at")
            return fail(option + " is given more than once");
        seen.insert(option);
        if (isFlag) {
            if (option == "--play")
                command.play = true;
            else
                command.frameSpec.windowMode = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return fail(option + " needs a value");
        const std::string error = parseValue(option, arguments[++i], command);
        if (!error.empty())
            return fail(error);
    }
    if (command.mode == SimGameCommand::Mode::Render) {
        for (const char* needed : {"--level", "--exp", "--coins"})
            if (!seen.contains(needed))
                return fail(std::string("--render needs ") + needed);
        for (const char* live : {"--class", "--script", "--play"})
            if (seen.contains(live))
                return fail(std::string(live) + " is for the live window, not for --render");
    }
    if (seen.contains("--script") && command.play)
        return fail("--script and --play cannot be used together");
    for (const char* player : {"--seed", "--exp-rate", "--coin-rate"})
        if (seen.contains(player) && !command.play)
            return fail(std::string(player) + " needs --play");
    const std::string problem = CheckGameFrameSpec(command.frameSpec);
    if (!problem.empty())
        return fail(seen.contains("--size") ? "--size: " + problem : problem);
    return command;
}

} // namespace kesmaro
