#include "common/IniFile.h"

#include "common/ErrorNumbers.h"
#include "common/Text.h"
#include "common/Utf8.h"

#include <vector>

namespace kesmaro {

namespace {

// The white space QSettings drops around keys and values, as TrimAsciiSpaces does.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

constexpr std::string_view kGeneral = "General";
constexpr char kHex[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads up to `maxDigits` digits of `base` at `pos`; -1 when there is none.
int readDigits(std::string_view s, std::size_t& pos, int base, int maxDigits)
{
    int value = -1;
    for (int n = 0; n < maxDigits && pos < s.size(); ++n, ++pos) {
        const int digit = hexValue(s[pos]);
        if (digit < 0 || digit >= base)
            break;
        value = (value < 0 ? 0 : value * base) + digit;
    }
    return value;
}

// Section and key names: letters, digits, '-', '_' and '.' as they are, a '/' inside a key as
// '\', other ASCII as %XX and everything else as %UXXXX of its UTF-16 units.
std::string escapedName(std::string_view name)
{
    std::string out;
    for (const char16_t unit : Utf8ToUtf16(name)) {
        const bool plain = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') ||
                           (unit >= '0' && unit <= '9') || unit == '-' || unit == '_' ||
                           unit == '.' || unit == '\\';
        if (plain) {
            out += static_cast<char>(unit);
        } else if (unit == '/') {
            out += '\\';
        } else if (unit < 0x80) {
            out += {'%', kHex[unit >> 4], kHex[unit & 0xF]};
        } else {
            out += {'%',
                    'U',
                    kHex[unit >> 12],
                    kHex[unit >> 8 & 0xF],
                    kHex[unit >> 4 & 0xF],
                    kHex[unit & 0xF]};
        }
    }
    return out;
}

std::string unescapedName(std::string_view name)
{
    std::u16string out;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t pos = i + 1;
        if (name[i] == '%' && pos < name.size() && name[pos] == 'U') {
            ++pos;
            const std::size_t start = pos;
            const int unit = readDigits(name, pos, 16, 4);
            if (unit >= 0 && pos - start == 4) {
                out += static_cast<char16_t>(unit);
                i = pos;
                continue;
            }
        } else if (name[i] == '%') {
            const std::size_t start = pos;
            const int byte = readDigits(name, pos, 16, 2);
            if (byte >= 0 && pos - start == 2) {
                out += static_cast<char16_t>(byte);
                i = pos;
                continue;
            }
        }
        // Raw text (UTF-8 typed into the file) passes as it is.
        std::size_t next = i;
        const char32_t c = NextCodePoint(name, next);
        std::string one;
        AppendUtf8(one, name[i] == '\\' ? U'/' : c);
        out += Utf8ToUtf16(one);
        i = next;
    }
    return Utf16ToUtf8(out);
}

// One part of a value as QSettings writes it.
std::string escapedPart(std::string_view text)
{
    // Other blanks are written as escapes, so only spaces need the quotes.
    bool quote = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    std::string out;
    if (!text.empty() && text.front() == '@')
        out += '@';
    for (const char c : text) {
        switch (c) {
        case ';':
        case ',':
        case '=':
            quote = true;
            out += c;
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
            else
                out += c;
        }
    }
    return quote ? '"' + out + '"' : out;
}

// The parts of a written value: unquoted commas separate them, an unquoted ';' ends the
// value, blanks around each part are dropped, quotes and backslash escapes are undone.
std::vector<std::string> unescapedParts(std::string_view text)
{
    std::vector<std::string> parts(1);
    std::string pendingBlanks;
    bool quoted = false;
    bool atStart = true;
    std::size_t i = 0;
    const auto add = [&](std::string_view s) {
        if (!atStart)
            parts.back() += pendingBlanks;
        pendingBlanks.clear();
        parts.back() += s;
        atStart = false;
    };
    while (i < text.size()) {
        const char c = text[i++];
        if (c == '\\' && i < text.size()) {
            const char e = text[i++];
            static constexpr std::string_view kFrom = "abfnrtv\"'?\\";
            static constexpr std::string_view kTo = "\a\b\f\n\r\t\v\"'?\\";
            if (const std::size_t at = kFrom.find(e); at != std::string_view::npos) {
                add(kTo.substr(at, 1));
            } else if (e == 'x') {
                const int code = readDigits(text, i, 16, 4);
                std::string s;
                AppendUtf8(s, static_cast<char32_t>(code < 0 ? 0 : code));
                add(s);
            } else if (e >= '0' && e <= '7') {
                --i;
                std::string s;
                AppendUtf8(s, static_cast<char32_t>(readDigits(text, i, 8, 3)));
                add(s);
            }
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
            // Blanks before an opening quote stay inside a part; after a closing one they go.
            add("");
            while (!quoted && i < text.size() && isBlank(text[i]))
                ++i;
            continue;
        }
        if (!quoted && c == ';')
            break;
        if (!quoted && c == ',') {
            parts.emplace_back();
            pendingBlanks.clear();
            atStart = true;
            continue;
        }
        if (!quoted && isBlank(c)) {
            pendingBlanks += c;
            continue;
        }
        add(std::string_view(&c, 1));
    }
    return parts;
}

bool isTyped(std::string_view written)
{
    return written.size() >= 2 && written[0] == '@' && written[1] != '@';
}

// The parts of a value; a leading "@@" stands for one '@'.
std::vector<std::string> partsOf(std::string_view written)
{
    std::vector<std::string> parts = unescapedParts(written);
    if (written.starts_with("@@"))
        parts.front().erase(0, 1);
    return parts;
}

std::string writtenValue(std::string_view raw)
{
    if (isTyped(raw))
        return std::string(raw);
    std::string out;
    const char* separator = "";
    for (const std::string& part : partsOf(raw)) {
        out += separator + escapedPart(part);
        separator = ", ";
    }
    return out;
}

std::pair<std::string, std::string> splitKey(std::string_view key)
{
    const std::size_t slash = key.find('/');
    if (slash == std::string_view::npos)
        return {std::string(kGeneral), std::string(key)};
    return {std::string(key.substr(0, slash)), std::string(key.substr(slash + 1))};
}

} // namespace

IniFile IniFile::Parse(std::string_view text)
{
    IniFile file;
    std::string section(kGeneral);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = TrimAsciiSpaces(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = unescapedName(TrimAsciiSpaces(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string key = unescapedName(TrimAsciiSpaces(line.substr(0, equals)));
        file.m_sections[section][key] = writtenValue(TrimAsciiSpaces(line.substr(equals + 1)));
    }
    return file;
}

std::optional<std::string> IniFile::value(std::string_view key) const
{
    const auto [section, name] = splitKey(key);
    const auto s = m_sections.find(section);
    if (s == m_sections.end())
        return std::nullopt;
    const auto k = s->second.find(name);
    if (k == s->second.end())
        return std::nullopt;
    if (isTyped(k->second))
        return std::nullopt;
    std::vector<std::string> parts = partsOf(k->second);
    return parts.size() == 1 ? parts.front() : std::string();
}

void IniFile::setValue(std::string_view key, std::string_view value)
{
    const auto [section, name] = splitKey(key);
    m_sections[section][name] = escapedPart(value);
}

std::string IniFile::text() const
{
    std::string out;
    const auto write = [&out](const std::string& name, const auto& keys) {
        if (keys.empty())
            return;
        if (!out.empty())
            out += '\n';
        out += '[' + escapedName(name) + "]\n";
        for (const auto& [key, written] : keys)
            out += escapedName(key) + '=' + written + '\n';
    };
    if (const auto general = m_sections.find(std::string(kGeneral)); general != m_sections.end())
        write(general->first, general->second);
    for (const auto& [name, keys] : m_sections)
        if (name != kGeneral)
            write(name, keys);
    return out;
}

IniFile::Loaded IniFile::Load(const std::filesystem::path& path)
{
    FileBytes read = ReadWholeFile(path);
    if (read.error == ErrFileNotFound)
        return {};
    return {Parse(read.bytes), read.error};
}

int IniFile::Save(const std::filesystem::path& path) const
{
    return ReplaceFileAtomic(path, text());
}

} // namespace kesmaro
