#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kesmaro::simgame {

// A field quoted into a one-line message: control characters and broken UTF-8 as '?', at most
// 40 characters and "..." after.
inline std::string Quoted(std::string_view text)
{
    constexpr int kMaxChars = 40;
    std::string out = "'";
    int chars = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (chars == kMaxChars) {
            out += "...";
            break;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        bool whole = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4 && i + length <= text.size());
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        // U+0080..U+009F, the C1 controls, are C2 80..C2 9F.
        const bool c1 = whole && lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (!whole || lead < 0x20 || lead == 0x7F || c1) {
            out += '?';
            i += whole ? length : 1;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
        ++chars;
    }
    return out + "'";
}

// A number as a message shows it: at most six significant digits, no trailing zeros.
inline std::string ShortNumber(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace kesmaro::simgame
