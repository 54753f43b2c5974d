#include "recognition/Binarization.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

namespace {

// Four pixels side by side: GCC and Clang turn the arithmetic on these into SIMD instructions,
// where GCC's -O2 leaves a plain loop over the pixels scalar.
using PixelLanes = std::int32_t __attribute__((vector_size(16)));
using WordLanes = std::uint16_t __attribute__((vector_size(8)));
constexpr std::size_t kLanes = 4;

// The set levels of SetLevelsFor as exclusive bounds: strict comparisons are one instruction
// even where SIMD units have no "at least".
struct SetBounds {
    int below1, above1, below2, above2;
};

SetBounds boundsOf(const SetLevels& levels)
{
    return {levels.first.low - 1, levels.first.high + 1, levels.second.low - 1,
            levels.second.high + 1};
}

std::uint16_t columnWord(const std::uint8_t* top, std::size_t stride, int rows, const SetBounds& b)
{
    unsigned word = 0;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* p = top + static_cast<std::size_t>(y) * stride;
        const int level = p[0] + 2 * p[1] + p[2];
        const bool set =
            (level > b.below1 && level < b.above1) || (level > b.below2 && level < b.above2);
        word |= unsigned{set} << y;
    }
    return static_cast<std::uint16_t>(word);
}

// The words of kLanes columns from `top`: read as little-endian 32-bit pixels, blue lowest.
void laneWords(const std::uint8_t* top, std::size_t stride, int rows, const SetBounds& b,
               std::uint16_t* out)
{
    PixelLanes word = {};
    // Bottom row first: doubling the word moves every row read so far one bit up.
    for (int y = rows; y-- > 0;) {
        PixelLanes pixel;
        std::memcpy(&pixel, top + static_cast<std::size_t>(y) * stride, sizeof pixel);
        const PixelLanes level = (pixel & 0xFF) + ((pixel >> 7) & 0x1FE) + ((pixel >> 16) & 0xFF);
        const PixelLanes set =
            ((level > b.below1) & (level < b.above1)) | ((level > b.below2) & (level < b.above2));
        word += word - set; // a set lane is -1
    }
    const WordLanes words = __builtin_convertvector(word, WordLanes);
    std::memcpy(out, &words, sizeof words);
}

} // namespace

std::vector<std::uint16_t> BinarizeColumns(const PixelBuffer& image, std::int32_t threshold,
                                           std::int32_t mask)
{
    std::vector<std::uint16_t> words;
    if (!image.isWhole())
        return words;
    const SetBounds bounds = boundsOf(SetLevelsFor(threshold, mask));
    const auto width = static_cast<std::size_t>(image.width);
    const std::size_t stride = width * 4;
    const int rows = image.height < kColumnRows ? image.height : kColumnRows;
    const std::uint8_t* pixels = image.bgra.data();
    words.resize(width);
    std::size_t x = 0;
    if constexpr (std::endian::native == std::endian::little)
        for (; x + kLanes <= width; x += kLanes)
            laneWords(pixels + 4 * x, stride, rows, bounds, words.data() + x);
    for (; x < width; ++x)
        words[x] = columnWord(pixels + 4 * x, stride, rows, bounds);
    return words;
}

std::string ColumnWordsToText(const std::vector<std::uint16_t>& words)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text(words.size() * 4, '\0');
    char* out = text.data();
    for (const std::uint16_t w : words) {
        *out++ = kHex[(w >> 12) & 0xF];
        *out++ = kHex[(w >> 8) & 0xF];
        *out++ = kHex[(w >> 4) & 0xF];
        *out++ = kHex[w & 0xF];
    }
    return text;
}

namespace {

// 0..15 for an uppercase hexadecimal digit, 16 for anything else.
inline unsigned hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A') + 10U;
    return 16;
}

} // namespace

bool ColumnTextToWords(std::string_view text, std::vector<std::uint16_t>& words)
{
    if (text.size() % 4 != 0)
        return false;
    const auto count = static_cast<std::size_t>(text.size() / 4);
    words.resize(count);
    const char* c = text.data();
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
