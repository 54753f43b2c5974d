#pragma once

#include "platform/GameWindows.h"
#include "platform/PixelBuffer.h"
#include "recognition/Glyphs.h"

#include <cstdint>
#include <string_view>

namespace kesmaro {

struct GlyphInk {
    int gapColumns = 0;   // background columns between two characters
    int pointColumns = 2; // width of the decimal point '.'
    // 0: flat colours (the brightest set and the darkest clear pixel). Otherwise every pixel
    // is a random colour of its kind, drawn from a generator seeded with this value.
    std::uint32_t seed = 0;
};

// Draws a number into `image` so that binarizing it with the font's threshold and mask gives
// back the glyph patterns word for word. The top-left corner of the first character is at
// (x, y); pixels outside the image are skipped. `text` is UTF-8; each character is drawn as one.
//   '0'..'9'  the digit's glyph
//   '.'       a decimal point: `pointColumns` background columns with one dot pixel at the
//             bottom of the first, which matches no glyph (the Exp percentage)
//   ' '       a glyph-wide gap of background
// and, when `delimiter` is true, the delimiter glyph after the last character. Other
// characters, and digits whose pattern is not 4 x width hexadecimal digits, are drawn as a
// glyph-wide gap. Returns the column just right of the last drawn column.
// Exactness needs both pixel kinds to exist: a threshold of 0 or less (everything set) or
// above 255 (nothing set) cannot show a glyph.
int DrawNumber(PixelBuffer& image, int x, int y, std::string_view text, const GlyphFont& font,
               const GlyphInk& ink = {}, bool delimiter = true);

// Fills `area` with the glyphs' background: clear pixels for fonts drawn as set strokes, set
// pixels for fonts drawn inverted (the Exp glyphs). `seed` as in GlyphInk.
void FillGlyphBackground(PixelBuffer& image, const Rect& area, const GlyphFont& font,
                         std::uint32_t seed = 0);

// True when the font's digits have more set than clear pixels: their background is set.
bool HasSetBackground(const GlyphFont& font);

} // namespace kesmaro
