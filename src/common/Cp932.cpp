#include "common/Cp932.h"

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

} // namespace

QByteArray EncodeCp932(QStringView text)
{
    const Tables& t = tables();
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i; // one character outside the BMP: one default character
            out.append('?');
            continue;
        }
        const std::uint16_t code = t.toCp932[c];
        if (code == kNone)
            out.append('?');
        else if (code > 0xFF)
            out.append(static_cast<char>(code >> 8)).append(static_cast<char>(code & 0xFF));
        else
            out.append(static_cast<char>(code));
    }
    return out;
}

QString DecodeCp932(const QByteArray& bytes)
{
    const Tables& t = tables();
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (t.isLead[b] && i + 1 < bytes.size()) {
            const auto code =
                static_cast<std::uint16_t>(b << 8 | static_cast<std::uint8_t>(bytes[i + 1]));
            const std::uint16_t u = t.toUnicode[code];
            if (u != kNone) {
                out.append(QChar(u));
                ++i;
                continue;
            }
        }
        const std::uint16_t u = t.toUnicode[b];
        out.append(u == kNone ? QChar(QChar::ReplacementCharacter) : QChar(u));
    }
    return out;
}

int ByteWidth(QStringView text)
{
    const Tables& t = tables();
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            width += 1;
            continue;
        }
        const std::uint16_t code = t.toCp932[c];
        width += (code != kNone && code > 0xFF) ? 2 : 1;
    }
    return width;
}

} // namespace kesmaro
