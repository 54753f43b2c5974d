#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kesmaro {

// The reference glyphs of one recognition category: the digits 0-9 at their own index, then
// the delimiter that the game draws right after the last digit of a number.
namespace glyph {
constexpr int kDigits = 10;
constexpr int kDelimiter = 10;
constexpr int kCount = 11;
} // namespace glyph

// Pattern texts as the glyph table holds them: four hexadecimal digits a column.
using GlyphPatterns = std::array<std::string, glyph::kCount>;

// One category's glyphs with the binarization they are read with.
struct GlyphFont {
    int width = 0;  // columns per glyph
    int height = 0; // rows per glyph; at most 16 are drawn
    std::int32_t threshold = 0;
    std::int32_t mask = -1;
    GlyphPatterns patterns;
};

} // namespace kesmaro
