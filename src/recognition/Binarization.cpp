#include "recognition/Binarization.h"

#include <algorithm>

namespace kesmaro {

bool IsSetBrightness(int level, std::int32_t threshold, std::int32_t mask)
{
    // Times four in 64 bits: any 32-bit setting is a valid, if useless, threshold.
    const std::int64_t t = std::int64_t{threshold} * 4;
    const std::int64_t m = std::int64_t{mask} * 4;
    std::int64_t l = level;
    if (m >= 0) {
        if (t < m) {
            if (l >= m)
                l = 0;
        } else if (l <= m) {
            l = kMaxBrightness;
        }
    }
    return l >= t;
}

SetLevels SetLevelsFor(std::int32_t threshold, std::int32_t mask)
{
    // The rule of IsSetBrightness solved for the levels 0..1020 it sets: at most two ranges.
    const std::int64_t t = std::int64_t{threshold} * 4;
    const std::int64_t m = std::int64_t{mask} * 4;
    SetLevels levels;
    const auto range = [](std::int64_t low, std::int64_t high) {
        low = std::max<std::int64_t>(low, 0);
        high = std::min<std::int64_t>(high, kMaxBrightness);
        return low <= high ? SetLevels::Range{static_cast<int>(low), static_cast<int>(high)}
                           : SetLevels::Range{};
    };
    if (m < 0) {
        levels.first = range(t, kMaxBrightness);
    } else if (t < m) {
        levels.first = range(t, m - 1);
        if (t <= 0)
            levels.second = range(m, kMaxBrightness);
    } else {
        if (t <= kMaxBrightness)
            levels.first = range(0, m);
        levels.second = range(std::max(t, m + 1), kMaxBrightness);
    }
    return levels;
}

std::vector<std::uint16_t> BinarizeColumns(const PixelBuffer& image, std::int32_t threshold,
                                           std::int32_t mask)
{
    std::vector<std::uint16_t> words;
    if (image.isEmpty() || image.bgra.size() < static_cast<std::size_t>(image.width) *
                                                   static_cast<std::size_t>(image.height) * 4)
        return words;
    const SetLevels levels = SetLevelsFor(threshold, mask);
    // Unsigned distance from the range's start: one comparison per range, no branches.
    const auto low1 = static_cast<unsigned>(levels.first.low);
    const auto span1 = static_cast<unsigned>(levels.first.high - levels.first.low);
    const auto low2 = static_cast<unsigned>(levels.second.low);
    const auto span2 = static_cast<unsigned>(levels.second.high - levels.second.low);

    const auto width = static_cast<std::size_t>(image.width);
    words.assign(width, 0);
    const int rows = image.height < kColumnRows ? image.height : kColumnRows;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* p = image.pixel(0, y);
        for (std::size_t x = 0; x < width; ++x, p += 4) {
            const unsigned level = p[0] + 2U * p[1] + p[2];
            const unsigned set = static_cast<unsigned>(level - low1 <= span1) |
                                 static_cast<unsigned>(level - low2 <= span2);
            words[x] = static_cast<std::uint16_t>(words[x] | (set << y));
        }
    }
    return words;
}

QString ColumnWordsToText(const std::vector<std::uint16_t>& words)
{
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    QString text(static_cast<qsizetype>(words.size()) * 4, Qt::Uninitialized);
    QChar* out = text.data();
    for (const std::uint16_t w : words) {
        *out++ = QChar(kHex[(w >> 12) & 0xF]);
        *out++ = QChar(kHex[(w >> 8) & 0xF]);
        *out++ = QChar(kHex[(w >> 4) & 0xF]);
        *out++ = QChar(kHex[w & 0xF]);
    }
    return text;
}

namespace {

// 0..15 for an uppercase hexadecimal digit, 16 for anything else.
inline unsigned hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10U;
    return 16;
}

} // namespace

bool ColumnTextToWords(QStringView text, std::vector<std::uint16_t>& words)
{
    if (text.size() % 4 != 0)
        return false;
    const auto count = static_cast<std::size_t>(text.size() / 4);
    words.resize(count);
    const char16_t* c = text.utf16();
    for (std::size_t i = 0; i < count; ++i, c += 4) {
        const unsigned a = hexValue(c[0]);
        const unsigned b = hexValue(c[1]);
        const unsigned d = hexValue(c[2]);
        const unsigned e = hexValue(c[3]);
        if ((a | b | d | e) & 16U)
            return false;
        words[i] = static_cast<std::uint16_t>(a << 12 | b << 8 | d << 4 | e);
    }
    return true;
}

} // namespace kesmaro
