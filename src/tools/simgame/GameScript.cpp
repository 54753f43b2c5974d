#include "tools/simgame/GameScript.h"

#include "common/Files.h"
#include "tools/simgame/Quoted.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <regex>

namespace kesmaro {

using simgame::Quoted;
using simgame::ShortNumber;

namespace {

std::string lineError(int line, const std::string& what)
{
    return "line " + std::to_string(line) + ": " + what;
}

bool matches(const std::regex& re, const std::string& text)
{
    return std::regex_match(text, re);
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string> fieldsOf(std::string_view line)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (isSpace(c) || c == ',') {
            if (!field.empty())
                fields.push_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty())
        fields.push_back(std::move(field));
    return fields;
}

double toDouble(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

} // namespace

GameScript ParseGameScript(std::string_view text)
{
    static const std::regex seconds("[0-9]{1,7}(\\.[0-9]{1,3})?");
    static const std::regex level("[0-9]{1,9}");
    static const std::regex exp("[0-9]{1,3}(\\.[0-9]{1,2})?");
    static const std::regex coins("[0-9]{1,19}");

    GameScript script;
    const auto fail = [&](int line, const std::string& what) {
        script.steps.clear();
        script.error = lineError(line, what);
        return script;
    };
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string> fields = fieldsOf(line);
        if (fields.size() < 4 || fields.size() > 5)
            return fail(number, "needs SECONDS LEVEL EXP COINS [COIN-AREA], not " + Quoted(line));
        ScriptStep step;
        step.line = number;
        if (!matches(seconds, fields[0]) || toDouble(fields[0]) > kMaxScriptSeconds)
            return fail(number, "seconds must be 0 to " + std::to_string(kMaxScriptSeconds) +
                                    " with at most three decimals, not " + Quoted(fields[0]));
        step.atMs = std::llround(toDouble(fields[0]) * 1000.0);
        if (!script.steps.empty() && step.atMs < script.steps.back().atMs)
            return fail(number,
                        "seconds go back from " +
                            ShortNumber(static_cast<double>(script.steps.back().atMs) / 1000.0) +
                            " to " + fields[0]);
        const long long levelValue = matches(level, fields[1]) ? std::atoll(fields[1].c_str()) : 0;
        if (!matches(level, fields[1]) || levelValue < kMinFrameLevel ||
            levelValue > kMaxFrameLevel)
            return fail(number, "the level must be " + std::to_string(kMinFrameLevel) + " to " +
                                    std::to_string(kMaxFrameLevel) + ", not " + Quoted(fields[1]));
        step.level = static_cast<int>(levelValue);
        if (!matches(exp, fields[2]) || toDouble(fields[2]) > 100.0)
            return fail(number, "Exp must be a percentage from 0 to 100 with at most two "
                                "decimals, not " +
                                    Quoted(fields[2]));
        step.expPercent = toDouble(fields[2]);
        errno = 0;
        const long long coinValue = std::strtoll(fields[3].c_str(), nullptr, 10);
        if (!matches(coins, fields[3]) || errno == ERANGE)
            return fail(number, "coins must be a whole number from 0 to " +
                                    std::to_string(std::numeric_limits<std::int64_t>::max()) +
                                    ", not " + Quoted(fields[3]));
        step.coins = coinValue;
        if (fields.size() == 5) {
            const std::optional<CoinArea> coinArea = CoinAreaFromName(fields[4]);
            if (!coinArea)
                return fail(number,
                            "the coin area must be 2, 4, both or none, not " + Quoted(fields[4]));
            step.coinArea = *coinArea;
        }
        script.steps.push_back(step);
    }
    return script;
}

GameScript LoadGameScript(const std::string& path)
{
    GameScript script;
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file) {
        script.error = "cannot read " + Quoted(path);
        return script;
    }
    // A script is a few lines; anything far larger is not one.
    std::string text(static_cast<std::size_t>(kMaxScriptBytes) + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) {
        script.error = "cannot read " + Quoted(path);
        return script;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > static_cast<std::size_t>(kMaxScriptBytes)) {
        script.error =
            Quoted(path) + " is larger than " + std::to_string(kMaxScriptBytes) + " bytes";
        return script;
    }
    script = ParseGameScript(text);
    if (!script.error.empty())
        script.error = Quoted(path) + " " + script.error;
    return script;
}

std::string CheckScriptFrames(const GameScript& script, const GameFrameSpec& start)
{
    GameFrameSpec frameSpec = start;
    for (const ScriptStep& step : script.steps) {
        frameSpec = ApplyScriptStep(frameSpec, step);
        const std::string problem = CheckGameFrameSpec(frameSpec);
        if (!problem.empty())
            return "--script line " + std::to_string(step.line) + ": " + problem;
    }
    return {};
}

GameFrameSpec ApplyScriptStep(GameFrameSpec current, const ScriptStep& step)
{
    current.level = step.level;
    current.expPercent = step.expPercent;
    current.coins = step.coins;
    if (step.coinArea)
        current.coinArea = *step.coinArea;
    return current;
}

} // namespace kesmaro
