#include "common/Text.h"

#include "common/Utf8.h"

#include <charconv>

namespace kesmaro {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isSpace(char32_t c)
{
    return (c >= U'\t' && c <= U'\r') || c == U' ' || c == U'\u0085' || c == U'\u00A0' ||
           c == U'\u1680' || (c >= U'\u2000' && c <= U'\u200A') || c == U'\u2028' ||
           c == U'\u2029' || c == U'\u202F' || c == U'\u205F' || c == U'\u3000';
}

} // namespace

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimAsciiSpaces(std::string_view text)
{
    while (!text.empty() && isAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimSpaces(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    // Leading: walk forward; trailing: remember where the last non-space character ended.
    std::size_t pos = 0;
    bool seenText = false;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const char32_t c = NextCodePoint(text, pos);
        if (!isSpace(c)) {
            if (!seenText)
                begin = start;
            seenText = true;
            end = pos;
        }
    }
    if (!seenText)
        return text.substr(0, 0);
    return text.substr(begin, end - begin);
}

std::optional<std::int64_t> ParseInteger(std::string_view text)
{
    const std::string_view raw = text;
    // One sign only: from_chars takes a minus, so a plus is dropped first, but never before one.
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || (raw != text && (text.front() == '+' || text.front() == '-')))
        return std::nullopt;
    std::int64_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    if (from.empty())
        return std::string(text);
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos;
         at = text.find(from, start)) {
        out.append(text, start, at - start);
        out.append(to);
        start = at + from.size();
    }
    out.append(text, start);
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

} // namespace kesmaro
