#pragma once

#include "platform/PixelBuffer.h"
#include "recognition/Glyphs.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

class clsStringBuffer;

// Longest number a read may give: more digits cannot be held as a coin or Exp value.
constexpr int kMaxNumberDigits = 15;

// Exact glyph matching over one column text. A glyph matches at a character offset when the
// 4 x width characters of the text there equal its pattern text. A capture is matched as its
// 16-bit column words in the four character phases, which gives the same answers as comparing
// the characters of its column text; any other text (hand-edited, not whole hexadecimal
// columns) is compared character by character (code points of UTF-8). A pattern whose length
// in characters is not 4 x width (or a width of 0 or less) never matches.
class GlyphMatcher {
public:
    void setGlyphs(std::int32_t glyphWidth, const GlyphPatterns& patterns);
    // The column words of a capture: the text they stand for without writing it out.
    void setWords(std::vector<std::uint16_t> words);
    void setText(std::string_view text);

    struct Hit {
        std::int64_t offset = -1; // 0-based character offset; -1 = no digit anywhere
        int digit = -1;
    };
    // The leftmost offset, at any character phase, where a digit glyph matches; at equal
    // offsets the lower digit. The delimiter takes no part.
    Hit firstDigit() const;
    // The first glyph (0-9, then the delimiter 10) that matches at `offset`; -1 for none.
    int glyphAt(std::int64_t offset) const;

    std::int32_t glyphWidth() const { return m_width; }
    std::int64_t glyphLength() const { return m_length; }
    // In characters, four a column.
    std::int64_t textLength() const { return m_textLength; }

private:
    void makePhases();
    // The first two words of a window (one for glyphs of one column), as one key.
    std::uint32_t keyAt(const std::uint16_t* at) const
    {
        return m_width > 1 ? std::uint32_t{at[0]} << 16 | at[1] : std::uint32_t{at[0]} << 16;
    }
    // The first word glyph, 0..last, whose words equal those at `at`; -1 for none.
    int wordGlyphAt(const std::uint16_t* at, int last) const;
    int fallbackGlyphAt(std::int64_t offset, int last) const;
    bool fallbackMatches(std::int64_t offset, std::size_t glyph) const;

    std::int32_t m_width = 0;
    std::int64_t m_length = 0;                    // 4 x width, 0 when nothing can match
    std::array<bool, glyph::kCount> m_valid{};    // right length
    std::array<bool, glyph::kCount> m_hexValid{}; // right length and made of column words
    // The valid patterns that are not column words, as characters; the others are compared
    // through their words, so that the common case copies no text.
    std::array<std::u32string, glyph::kCount> m_textPatterns;
    std::vector<std::uint16_t> m_glyphWords; // glyph::kCount x width
    std::array<std::uint32_t, glyph::kCount> m_keys{};
    // The keys of the word glyphs as a small hash filter, so that most windows are rejected by
    // one bit test.
    std::array<std::uint64_t, 16> m_filterAll{};
    std::array<std::uint64_t, 16> m_filterDigits{};

    std::int64_t m_textLength = 0;
    bool m_wordsText = false; // the text is column words; otherwise m_text's characters count
    std::u32string m_text;
    // Column words read at character phase 0..3: m_phase[s][c] = the 4 characters at 4c + s.
    std::array<std::vector<std::uint16_t>, 4> m_phase;
};

// Where the scan of a number takes its inputs from at each step; a recognition that yields to
// other events between steps refreshes them here, because such an event may capture the slot
// anew or change the settings under the running scan.
class ScanHooks {
public:
    virtual ~ScanHooks() = default;
    virtual void beforeStep(GlyphMatcher& matcher, std::int32_t& regionWidth) = 0;
    // The digits read so far, after every step.
    virtual void progress(const std::string& digits) = 0;
};

struct NumberRead {
    std::string result;  // digits without leading zeros; empty = not read
    std::string caption; // "NotFind", "認識NG" or the digits as read
};

// Reads the number of a category from the matcher's text: the first digit anywhere, then a
// scan in steps of one column (a whole glyph after a digit) up to 4 x (regionWidth - glyph
// width) that must meet the delimiter; every 33 unreadable steps after a digit count as a
// hidden 0. The scan also ends where a glyph would run past the end of the text, since
// nothing can match there. More than kMaxNumberDigits digits is not read. `trace` (optional)
// receives the debug trace after its first line (BeginTrace).
NumberRead ReadNumber(GlyphMatcher& matcher, std::int32_t regionWidth, int category,
                      clsStringBuffer* trace, ScanHooks* hooks);

// The first line of a recognition's debug trace: the column text it reads.
void BeginTrace(clsStringBuffer& trace, int category, std::string_view columnText);

// One capture read without the program: its pixels binarized once with the font's threshold
// and mask, and the number read from those column words across the capture's whole width.
// `trace` (optional) receives the whole debug trace; only then is a column text written out.
NumberRead RecognizePixels(const PixelBuffer& pixels, const GlyphFont& font, int category,
                           clsStringBuffer* trace = nullptr);

} // namespace kesmaro
