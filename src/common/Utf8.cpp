#include "common/Utf8.h"

namespace kesmaro {

namespace {

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// The byte offset after `count` characters from `pos`, or text.size().
std::size_t skip(std::string_view text, std::size_t pos, std::size_t count)
{
    for (; count > 0 && pos < text.size(); --count)
        NextCodePoint(text, pos);
    return pos;
}

} // namespace

char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    // The length and the allowed range of the second byte (Unicode table 3-7): the narrow
    // ranges refuse overlong forms, surrogates and values past U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0FU;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07U;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (pos >= text.size())
            return kReplacementCharacter;
        const auto b = static_cast<unsigned char>(text[pos]);
        if (i == 1 ? (b < low || b > high) : !isContinuation(b))
            return kReplacementCharacter;
        value = value << 6 | (b & 0x3FU);
        ++pos;
    }
    return value;
}

std::size_t Utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count)
        NextCodePoint(text, pos);
    return count;
}

std::string_view Utf8Left(std::string_view text, std::size_t count)
{
    return text.substr(0, skip(text, 0, count));
}

std::string_view Utf8Right(std::string_view text, std::size_t count)
{
    const std::size_t length = Utf8Length(text);
    return count >= length ? text : text.substr(skip(text, 0, length - count));
}

std::string_view Utf8Mid(std::string_view text, std::size_t first, std::size_t count)
{
    const std::size_t begin = skip(text, 0, first);
    return text.substr(begin, skip(text, begin, count) - begin);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (isSurrogate(c) || c > 0x10FFFF)
        c = kReplacementCharacter;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char32_t c : CodePoints(text)) {
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00U));
            ++i;
        } else {
            AppendUtf8(out, unit); // a lone surrogate becomes U+FFFD there
        }
    }
    return out;
}

std::wstring Utf8ToWide(std::string_view text)
{
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        const std::u16string utf16 = Utf8ToUtf16(text);
        return {utf16.begin(), utf16.end()};
    } else {
        std::wstring out;
        for (const char32_t c : CodePoints(text))
            out += static_cast<wchar_t>(c);
        return out;
    }
}

std::string WideToUtf8(std::wstring_view text)
{
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
    } else {
        std::string out;
        for (const wchar_t c : text)
            AppendUtf8(out, static_cast<char32_t>(c));
        return out;
    }
}

} // namespace kesmaro
