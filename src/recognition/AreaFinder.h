#pragma once

#include "platform/GameWindows.h"
#include "platform/PixelBuffer.h"
#include "recognition/Glyphs.h"

#include <string>
#include <vector>

namespace kesmaro {

// The glyph tables the finder looks for. Exp may be drawn in any of several interface colours,
// so it takes one table a colour; the first that finds the number wins.
struct FinderFonts {
    GlyphFont level;
    std::vector<GlyphFont> exp;
    GlyphFont money;
};

enum class FindStatus { Found, NotFound, Ambiguous };

struct FoundNumber {
    FindStatus status = FindStatus::NotFound;
    Rect area;             // the proposed capture area, in the frame's pixels
    std::string digits;    // what the proposed area reads, as RecognizeNumber gives it
    int font = 0;          // for Exp: the index into FinderFonts::exp that read it
    std::vector<Rect> all; // every place the number was seen (two or more when ambiguous)
};

struct AreaProposal {
    FoundNumber level;
    FoundNumber exp;
    FoundNumber coins;  // capture area 2: the lower of two coin positions
    FoundNumber coins2; // capture area 4: the upper one, NotFound when only one is drawn
};

// Longest numbers the proposed areas hold: three level digits, "100.00", and the most digits
// a coin amount can be read with.
constexpr int kFinderLevelDigits = 3;
constexpr int kFinderExpDigits = 5;
constexpr int kFinderMoneyDigits = 15;

// Finds where the level, the Exp percentage and the coins are drawn in a whole game frame and
// proposes a capture area for each: the glyphs' exact top row, the table's glyph height, and
// a width that holds the longest number with its delimiter and one glyph to spare (the level
// and Exp centred on what is drawn, the coins ending where they end, as the game aligns
// them). A number is taken only where the exact matching reads it, closed by its delimiter,
// and only when its proposed area reads it back the same. A number seen at two places (three
// for the coins), or whose area would read something else beside it, is ambiguous, and
// nothing is proposed for it.
AreaProposal FindCaptureAreas(const PixelBuffer& frame, const FinderFonts& fonts);

// The pixels of `area` of the frame, black where it lies outside, as a grab delivers them.
PixelBuffer CropFrame(const PixelBuffer& frame, const Rect& area);

} // namespace kesmaro
