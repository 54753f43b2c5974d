#include "recognition/GlyphRenderer.h"

#include "common/Utf8.h"
#include "recognition/Binarization.h"

#include <algorithm>
#include <bit>
#include <random>
#include <utility>
#include <vector>

namespace kesmaro {

namespace {

// Paints pixels of the two kinds (set and clear) in colours that binarize as intended.
class Painter {
public:
    Painter(PixelBuffer& image, const GlyphFont& font, std::uint32_t seed)
        : m_image(image), m_random(seed), m_flat(seed == 0)
    {
        for (int level = 0; level <= kMaxBrightness; ++level)
            (IsSetBrightness(level, font.threshold, font.mask) ? m_set : m_clear).push_back(level);
        // Without one of the kinds nothing can be exact; draw the kind that exists.
        if (m_set.empty())
            m_set = m_clear;
        if (m_clear.empty())
            m_clear = m_set;
    }

    void put(std::int64_t x, std::int64_t y, bool set)
    {
        if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height)
            return;
        const std::vector<int>& levels = set ? m_set : m_clear;
        int level;
        if (m_flat)
            level = set ? levels.back() : levels.front();
        else
            level = levels[pick(0, static_cast<int>(levels.size()) - 1)];
        // R + 2G + B = level with each channel in 0..255.
        const int gLow = std::max(0, (level - 510 + 1) / 2);
        const int gHigh = std::min(255, level / 2);
        const int g = m_flat ? gHigh : pick(gLow, gHigh);
        const int rest = level - 2 * g;
        const int r =
            m_flat ? std::min(255, rest) : pick(std::max(0, rest - 255), std::min(255, rest));
        const int b = rest - r;
        std::uint8_t* p = m_image.pixel(static_cast<int>(x), static_cast<int>(y));
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
        p[3] = 0xFF;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    PixelBuffer& m_image;
    std::mt19937 m_random;
    bool m_flat;
    std::vector<int> m_set;
    std::vector<int> m_clear;
};

int drawnRows(const GlyphFont& font)
{
    return std::clamp(font.height, 0, kColumnRows);
}

bool glyphWords(const GlyphFont& font, int glyph, std::vector<std::uint16_t>& words)
{
    const std::string& pattern = font.patterns[static_cast<std::size_t>(glyph)];
    return font.width > 0 && std::cmp_equal(pattern.size(), std::int64_t{font.width} * 4) &&
           ColumnTextToWords(pattern, words);
}

} // namespace

bool HasSetBackground(const GlyphFont& font)
{
    const int rows = drawnRows(font);
    const auto rowMask = static_cast<std::uint16_t>((1U << rows) - 1U);
    std::int64_t set = 0;
    std::int64_t all = 0;
    std::vector<std::uint16_t> words;
    for (int digit = 0; digit < glyph::kDigits; ++digit) {
        if (!glyphWords(font, digit, words))
            continue;
        for (const std::uint16_t w : words)
            set += std::popcount(static_cast<unsigned>(w & rowMask));
        all += static_cast<std::int64_t>(words.size()) * rows;
    }
    return 2 * set > all;
}

void FillGlyphBackground(PixelBuffer& image, const Rect& area, const GlyphFont& font,
                         std::uint32_t seed)
{
    Painter painter(image, font, seed);
    const bool background = HasSetBackground(font);
    const int x0 = std::max(0, area.x);
    const int y0 = std::max(0, area.y);
    const int x1 =
        static_cast<int>(std::min<std::int64_t>(image.width, std::int64_t{area.x} + area.width));
    const int y1 =
        static_cast<int>(std::min<std::int64_t>(image.height, std::int64_t{area.y} + area.height));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            painter.put(x, y, background);
}

int DrawNumber(PixelBuffer& image, int x, int y, std::string_view text, const GlyphFont& font,
               const GlyphInk& ink, bool delimiter)
{
    Painter painter(image, font, ink.seed);
    const bool background = HasSetBackground(font);
    const int rows = drawnRows(font);
    const int width = std::max(0, font.width);
    std::int64_t column = x;
    std::vector<std::uint16_t> words;

    // Columns left or right of the image are skipped without looping over them, whatever width
    // the settings give.
    const auto visible = [&](std::int64_t first, std::int64_t count, auto&& draw) {
        const std::int64_t from = std::max<std::int64_t>(first, 0);
        const std::int64_t to = std::min<std::int64_t>(first + count, image.width);
        for (std::int64_t at = from; at < to; ++at)
            draw(at, at - first);
    };
    const auto blankColumns = [&](std::int64_t count, bool withDot) {
        visible(column, count, [&](std::int64_t at, std::int64_t i) {
            for (int row = 0; row < rows; ++row)
                painter.put(at, std::int64_t{y} + row,
                            withDot && i == 0 && row == rows - 1 ? !background : background);
        });
        column += count;
    };
    const auto drawGlyph = [&](int glyph) {
        if (!glyphWords(font, glyph, words)) {
            blankColumns(width, false);
            return;
        }
        visible(column, width, [&](std::int64_t at, std::int64_t i) {
            for (int row = 0; row < rows; ++row)
                painter.put(at, std::int64_t{y} + row,
                            (words[static_cast<std::size_t>(i)] >> row) & 1U);
        });
        column += width;
    };
    const auto gap = [&] { blankColumns(std::max(0, ink.gapColumns), false); };

    bool first = true;
    for (const char32_t ch : CodePoints(text)) {
        if (!first)
            gap();
        first = false;
        if (ch >= U'0' && ch <= U'9') {
            drawGlyph(static_cast<int>(ch - U'0'));
        } else if (ch == U'.') {
            blankColumns(std::max(0, ink.pointColumns), true);
        } else {
            blankColumns(width, false);
        }
    }
    if (delimiter) {
        if (!text.empty())
            gap();
        drawGlyph(glyph::kDelimiter);
    }
    return static_cast<int>(std::clamp<std::int64_t>(column, INT32_MIN, INT32_MAX));
}

} // namespace kesmaro
