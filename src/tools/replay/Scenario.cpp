#include "tools/replay/Scenario.h"

#include "common/Files.h"
#include "common/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kesmaro {

namespace {

using Words = std::vector<std::string_view>;

Words splitWords(std::string_view text)
{
    Words words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

std::string join(const Words& words, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < words.size(); ++i)
        text += (i > from ? " " : "") + std::string(words[i]);
    return text;
}

// Exactly two digits (four for the year) a field: "yyyy-MM-dd hh:mm:ss".
std::optional<DateTime> parseStart(std::string_view text)
{
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto field = [&](std::size_t at, std::size_t width) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto y = field(0, 4), mo = field(5, 2), d = field(8, 2), h = field(11, 2),
               mi = field(14, 2), s = field(17, 2);
    if (!y || !mo || !d || !h || !mi || !s)
        return std::nullopt;
    return DateTime::FromFields(*y, *mo, *d, *h, *mi, *s);
}

struct Parser {
    std::string baseFolder;
    std::string fileName;
    Scenario scenario;
    std::int64_t lastTime = 0;
    int lineNumber = 0;
    std::string error;

    bool fail(const std::string& fault)
    {
        error = fileName + ':' + std::to_string(lineNumber) + ": " + fault;
        return false;
    }

    bool existingFile(const std::string& relative, std::string& absolute)
    {
        std::error_code ec;
        const std::filesystem::path path =
            std::filesystem::absolute(PathFromUtf8(baseFolder) / PathFromUtf8(relative), ec);
        if (ec || !std::filesystem::is_regular_file(path, ec))
            return fail("missing file " + relative);
        absolute = PathToUtf8(path);
        return true;
    }

    bool seconds(std::string_view text, std::int64_t& ms)
    {
        std::string_view digits = text;
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        double value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                               std::chars_format::general);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() ||
            !std::isfinite(value) || value < 0 || value > 1e12)
            return fail("invalid time " + std::string(text));
        ms = std::llround(value * 1000.0);
        return true;
    }

    bool header(const Words& words, std::string_view rest)
    {
        const std::string_view directive = words[0];
        if (directive == "start") {
            const std::optional<DateTime> start = parseStart(rest);
            if (!start)
                return fail("invalid start time " + std::string(rest));
            scenario.start = start;
            return true;
        }
        if (directive == "boot") {
            std::int64_t ms = 0;
            if (words.size() != 2 || !seconds(words[1], ms))
                return error.empty() ? fail("boot needs one time") : false;
            scenario.bootMs = ms;
            return true;
        }
        if (directive == "settings") {
            if (rest.empty())
                return fail("settings needs a file");
            return existingFile(std::string(rest), scenario.settingsFile);
        }
        if (directive == "answer") {
            static constexpr std::pair<std::string_view, PromptAnswer> answers[] = {
                {"yes", PromptAnswer::Yes},
                {"no", PromptAnswer::No},
                {"ok", PromptAnswer::Ok},
                {"cancel", PromptAnswer::Cancel}};
            if (words.size() == 2)
                for (const auto& [name, answer] : answers)
                    if (words[1] == name) {
                        scenario.answers.push_back(answer);
                        return true;
                    }
            return fail("answer must be yes, no, ok or cancel");
        }
        return fail("unknown directive " + std::string(directive));
    }

    bool timed(const Words& words)
    {
        if (words.size() < 3)
            return fail("at needs a time and a command");
        ScenarioEvent event;
        event.line = lineNumber;
        if (!seconds(words[1], event.timeMs))
            return false;
        if (event.timeMs < lastTime) {
            char previous[32];
            std::snprintf(previous, sizeof previous, "%g", static_cast<double>(lastTime) / 1000.0);
            return fail(std::string("time goes back from ") + previous);
        }
        lastTime = event.timeMs;
        const std::string command(words[2]);
        const std::size_t argCount = words.size() - 3;
        using Kind = ScenarioEvent::Kind;
        if (command == "window" || command == "frame") {
            event.kind = command == "window" ? Kind::Window : Kind::Frame;
            if (argCount == 0)
                return fail(command + " needs an image file");
            if (!existingFile(join(words, 3), event.argument))
                return false;
        } else if (command == "click") {
            event.kind = Kind::Click;
            const std::optional<Command> clicked =
                argCount == 1 ? CommandFromName(words[3]) : std::nullopt;
            if (!clicked)
                return fail("unknown click " + join(words, 3));
            event.command = *clicked;
        } else {
            static constexpr std::pair<std::string_view, Kind> plain[] = {
                {"background", Kind::Background},
                {"foreground", Kind::Foreground},
                {"close", Kind::Close}};
            const auto found = std::find_if(std::begin(plain), std::end(plain),
                                            [&](const auto& p) { return p.first == command; });
            if (found == std::end(plain))
                return fail("unknown command " + command);
            if (argCount != 0)
                return fail(command + " takes no argument");
            event.kind = found->second;
        }
        scenario.events.push_back(event);
        return true;
    }

    bool line(std::string_view raw)
    {
        std::string_view text = raw.substr(0, raw.find('#'));
        text = TrimSpaces(text);
        if (text.empty())
            return true;
        const Words words = splitWords(text);
        if (words[0] == "at")
            return timed(words);
        return header(words, TrimSpaces(text.substr(words[0].size())));
    }
};

} // namespace

std::optional<Scenario> ParseScenarioText(std::string_view text, const std::string& baseFolder,
                                          const std::string& fileName, std::string& error)
{
    Parser parser{baseFolder, fileName, {}, 0, 0, {}};
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        ++parser.lineNumber;
        if (!parser.line(text.substr(start, end - start))) {
            error = parser.error;
            return std::nullopt;
        }
        if (end == text.size())
            break;
        start = end + 1;
    }
    if (!parser.scenario.start) {
        parser.lineNumber = 1;
        parser.fail("missing start line");
        error = parser.error;
        return std::nullopt;
    }
    return parser.scenario;
}

std::optional<Scenario> ParseScenario(const std::string& path, std::string& error)
{
    const FileBytes file = ReadWholeFile(PathFromUtf8(path));
    if (file.error != 0) {
        error = path + ":0: cannot read the scenario";
        return std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::path folder =
        std::filesystem::absolute(PathFromUtf8(path), ec).parent_path();
    return ParseScenarioText(file.bytes, PathToUtf8(folder), path, error);
}

} // namespace kesmaro
