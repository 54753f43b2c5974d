#include "common/Cp932.h"

#include "common/Utf8.h"

#include <array>
#include <cstdint>

namespace kesmaro {

namespace {

struct Cp932Pair {
    std::uint16_t from;
    std::uint16_t to;
};

#include "common/Cp932Table.inc"

constexpr std::uint16_t kNone = 0xFFFF;

// Direct-indexed views of the pair tables: 128 KiB each, built once on first use.
struct Tables {
    std::array<std::uint16_t, 0x10000> toUnicode{};
    std::array<std::uint16_t, 0x10000> toCp932{};
    std::array<bool, 0x100> isLead{};

    Tables()
    {
        toUnicode.fill(kNone);
        toCp932.fill(kNone);
        for (const auto& [code, unicode] : kCp932Decode) {
            toUnicode[code] = unicode;
            if (code > 0xFF)
                isLead[code >> 8] = true;
        }
        for (const auto& [unicode, code] : kCp932Encode)
            toCp932[unicode] = code;
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

// The CP932 code of one character; kNone when it has none. Characters outside the BMP never
// have one.
std::uint16_t codeOf(const Tables& t, char32_t c)
{
    return c > 0xFFFF ? kNone : t.toCp932[c];
}

} // namespace

std::string EncodeCp932(std::string_view text)
{
    const Tables& t = tables();
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : CodePoints(text)) {
        const std::uint16_t code = codeOf(t, c);
        if (code == kNone) {
            out += '?';
        } else if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(code);
        }
    }
    return out;
}

std::string DecodeCp932(std::string_view bytes)
{
    const Tables& t = tables();
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (t.isLead[b] && i + 1 < bytes.size()) {
            const auto code =
                static_cast<std::uint16_t>(b << 8 | static_cast<std::uint8_t>(bytes[i + 1]));
            const std::uint16_t u = t.toUnicode[code];
            if (u != kNone) {
                AppendUtf8(out, u);
                ++i;
                continue;
            }
        }
        const std::uint16_t u = t.toUnicode[b];
        AppendUtf8(out, u == kNone ? kReplacementCharacter : char32_t{u});
    }
    return out;
}

int ByteWidth(std::string_view text)
{
    const Tables& t = tables();
    int width = 0;
    for (const char32_t c : CodePoints(text)) {
        const std::uint16_t code = codeOf(t, c);
        width += (code != kNone && code > 0xFF) ? 2 : 1;
    }
    return width;
}

} // namespace kesmaro
