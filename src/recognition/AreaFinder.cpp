#include "recognition/AreaFinder.h"

#include "recognition/Binarization.h"
#include "recognition/NumberReader.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>
#include <memory>

namespace kesmaro {

namespace {

// Unreadable steps after a digit that the recognizer would fill with a hidden 0: a number
// that needs one is not a number the finder proposes.
constexpr int kMaxMisses = 32;
// A frame with more digit-shaped spots than this is noise, not a game screen.
constexpr std::size_t kMaxCandidates = 20000;

// Weighted brightness of every pixel, computed once and binarized per table.
std::vector<std::uint16_t> brightnessOf(const PixelBuffer& frame)
{
    std::vector<std::uint16_t> levels(static_cast<std::size_t>(frame.width) *
                                      static_cast<std::size_t>(frame.height));
    const std::uint8_t* p = frame.bgra.data();
    for (std::uint16_t& level : levels) {
        level = static_cast<std::uint16_t>(p[0] + 2 * p[1] + p[2]);
        p += 4;
    }
    return levels;
}

// The frame binarized with one table's threshold and mask, a bit a row for every column, so
// that the column word of any window of rows is two shifts away.
class BitPlanes {
public:
    BitPlanes(const std::vector<std::uint16_t>& levels, int width, int height,
              std::int32_t threshold, std::int32_t mask)
        : m_width(width), m_stride(static_cast<std::size_t>(height) / 64 + 2),
          m_bits(static_cast<std::size_t>(width) * m_stride, 0)
    {
        std::array<bool, kMaxBrightness + 1> set{};
        for (int level = 0; level <= kMaxBrightness; ++level)
            set[static_cast<std::size_t>(level)] = IsSetBrightness(level, threshold, mask);
        const std::uint16_t* row = levels.data();
        for (int y = 0; y < height; ++y, row += width) {
            const std::uint64_t bit = std::uint64_t{1} << (y & 63);
            std::uint64_t* column = m_bits.data() + static_cast<std::size_t>(y >> 6);
            for (int x = 0; x < width; ++x, column += m_stride)
                if (set[row[x]])
                    *column |= bit;
        }
    }

    // Rows y .. y + 15 of column x, row y in bit 0.
    std::uint32_t word(int x, int y) const
    {
        const std::uint64_t* at = m_bits.data() + static_cast<std::size_t>(x) * m_stride +
                                  static_cast<std::size_t>(y >> 6);
        const int shift = y & 63;
        std::uint64_t bits = at[0] >> shift;
        if (shift > 48)
            bits |= at[1] << (64 - shift);
        return static_cast<std::uint32_t>(bits & 0xFFFFU);
    }

private:
    int m_width;
    std::size_t m_stride;
    std::vector<std::uint64_t> m_bits;
};

struct Table {
    const GlyphFont* font = nullptr;
    int width = 0;
    int rows = 0;
    std::uint32_t rowMask = 0;
    std::array<bool, glyph::kCount> valid{};
    std::vector<std::uint16_t> words; // kCount x width
    // Per digit the column that finds it: one that is neither background kind, so that the
    // empty panel and a lit box never hit.
    struct Anchor {
        std::uint32_t word = 0;
        int digit = 0;
        int column = 0;
    };
    std::vector<Anchor> anchors;
    std::unique_ptr<std::bitset<65536>> anchorWords = std::make_unique<std::bitset<65536>>();

    bool load(const GlyphFont& f)
    {
        font = &f;
        width = f.width;
        rows = std::min(f.height, kColumnRows);
        if (width <= 0 || rows <= 0 || width > 4096)
            return false;
        rowMask = (std::uint32_t{1} << rows) - 1;
        words.assign(static_cast<std::size_t>(glyph::kCount) * static_cast<std::size_t>(width), 0);
        std::vector<std::uint16_t> glyphWords;
        for (int g = 0; g < glyph::kCount; ++g) {
            const auto k = static_cast<std::size_t>(g);
            if (!ColumnTextToWords(f.patterns[k], glyphWords) ||
                glyphWords.size() != static_cast<std::size_t>(width))
                continue;
            // A glyph with bits below its rows can never be captured.
            if (std::any_of(glyphWords.begin(), glyphWords.end(),
                            [&](std::uint16_t w) { return (w & ~rowMask) != 0; }))
                continue;
            valid[k] = true;
            std::copy(glyphWords.begin(), glyphWords.end(),
                      words.begin() + static_cast<std::ptrdiff_t>(k) * width);
            if (g >= glyph::kDigits)
                continue;
            for (int c = 0; c < width; ++c) {
                const std::uint32_t w = glyphWords[static_cast<std::size_t>(c)];
                if (w != 0 && w != rowMask) {
                    anchors.push_back({w, g, c});
                    anchorWords->set(w);
                    break;
                }
            }
        }
        return !anchors.empty() && valid[glyph::kDelimiter];
    }

    const std::uint16_t* glyph(int g) const
    {
        return words.data() + static_cast<std::ptrdiff_t>(g) * width;
    }
};

struct Candidate {
    int x = 0;
    int y = 0;
};

struct Seen {
    int x = 0;   // first digit
    int y = 0;   // top row
    int end = 0; // last column of the delimiter
    int digitCount = 0;
    std::string digits; // as read, leading zeros kept
};

class FontSearch {
public:
    FontSearch(const Table& table, const BitPlanes& planes, int width, int height)
        : m_table(table), m_planes(planes), m_width(width), m_height(height)
    {}

    bool glyphAt(int g, int x, int y) const
    {
        if (!m_table.valid[static_cast<std::size_t>(g)] || x < 0 || x + m_table.width > m_width)
            return false;
        const std::uint16_t* words = m_table.glyph(g);
        for (int c = 0; c < m_table.width; ++c)
            if ((m_planes.word(x + c, y) & m_table.rowMask) != words[c])
                return false;
        return true;
    }

    // Coarse: one bit test a window finds where a digit could start; fine: the whole glyph.
    std::vector<Candidate> candidates() const
    {
        std::vector<Candidate> found;
        const int lastRow = m_height - m_table.rows;
        for (int x = 0; x < m_width; ++x) {
            for (int y = 0; y <= lastRow; ++y) {
                const std::uint32_t w = m_planes.word(x, y) & m_table.rowMask;
                if (!m_table.anchorWords->test(w))
                    continue;
                for (const Table::Anchor& a : m_table.anchors)
                    if (a.word == w && glyphAt(a.digit, x - a.column, y)) {
                        found.push_back({x - a.column, y});
                        if (found.size() > kMaxCandidates)
                            return {};
                    }
            }
        }
        std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
            return a.y != b.y ? a.y < b.y : a.x < b.x;
        });
        return found;
    }

    // The recognizer's scan from a digit at (x, y): a whole glyph after a digit, one column
    // otherwise, until the delimiter.
    bool readFrom(const Candidate& at, Seen& seen) const
    {
        seen = {at.x, at.y, 0, 0, {}};
        int misses = 0;
        for (int pos = at.x; pos + m_table.width <= m_width;) {
            int g = 0;
            while (g < glyph::kCount && !glyphAt(g, pos, at.y))
                ++g;
            if (g < glyph::kDigits) {
                seen.digits += static_cast<char>('0' + g);
                if (++seen.digitCount > kMaxNumberDigits)
                    return false;
                pos += m_table.width;
                misses = 0;
                continue;
            }
            if (g == glyph::kDelimiter) {
                seen.end = pos + m_table.width - 1;
                return true;
            }
            if (++misses > kMaxMisses)
                return false;
            ++pos;
        }
        return false;
    }

    std::vector<Seen> numbers() const
    {
        std::vector<Seen> found;
        for (const Candidate& c : candidates()) {
            if (!found.empty() && found.back().y == c.y && c.x <= found.back().end)
                continue;
            Seen seen;
            if (readFrom(c, seen))
                found.push_back(seen);
        }
        return found;
    }

private:
    const Table& m_table;
    const BitPlanes& m_planes;
    int m_width;
    int m_height;
};

std::string withoutLeadingZeros(const std::string& digits)
{
    std::size_t i = 0;
    while (i + 1 < digits.size() && digits[i] == '0')
        ++i;
    return digits.substr(i);
}

enum class Align { Centre, Right };

// The area for a number seen at `seen` that also holds the longest number of its kind.
Rect areaFor(const Seen& seen, const GlyphFont& font, int longest, Align align, int width)
{
    const int span = seen.end - seen.x + 1;
    const int grow = std::max(0, longest - seen.digitCount) * font.width;
    Rect area;
    area.width = width > 0 ? width : span + grow + font.width;
    area.height = font.height;
    area.y = seen.y;
    area.x = align == Align::Centre ? seen.x - (area.width - span) / 2
                                    : seen.end + 1 + font.width - area.width;
    area.x = std::max(0, std::min(area.x, seen.x));
    return area;
}

bool readsBack(const PixelBuffer& frame, const Rect& area, const GlyphFont& font,
               const std::string& digits)
{
    const NumberRead read = RecognizePixels(CropFrame(frame, area), font, 0);
    return !read.result.empty() && read.result == withoutLeadingZeros(digits);
}

FoundNumber propose(const PixelBuffer& frame, const Seen& seen, const GlyphFont& font, int longest,
                    Align align, int width = 0)
{
    FoundNumber number;
    number.area = areaFor(seen, font, longest, align, width);
    // Something beside the number would read first, or with it: the number is not alone
    // where its area must be.
    if (!readsBack(frame, number.area, font, seen.digits)) {
        number.status = FindStatus::Ambiguous;
        return number;
    }
    number.status = FindStatus::Found;
    number.digits = withoutLeadingZeros(seen.digits);
    return number;
}

Rect seenRect(const Seen& seen, const GlyphFont& font)
{
    return {seen.x, seen.y, seen.end - seen.x + 1, font.height};
}

bool overlaps(const Rect& a, const Rect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

std::vector<Seen> search(const std::vector<std::uint16_t>& levels, const PixelBuffer& frame,
                         const GlyphFont& font)
{
    Table table;
    if (!table.load(font) || frame.height < table.rows)
        return {};
    const BitPlanes planes(levels, frame.width, frame.height, font.threshold, font.mask);
    return FontSearch(table, planes, frame.width, frame.height).numbers();
}

FoundNumber single(const PixelBuffer& frame, const std::vector<Seen>& seen,
                   const std::vector<const GlyphFont*>& fonts, const std::vector<int>& fontOf,
                   int longest)
{
    FoundNumber number;
    for (std::size_t i = 0; i < seen.size(); ++i)
        number.all.push_back(seenRect(seen[i], *fonts[static_cast<std::size_t>(fontOf[i])]));
    if (seen.size() > 1) {
        number.status = FindStatus::Ambiguous;
        return number;
    }
    if (seen.empty())
        return number;
    const GlyphFont& font = *fonts[static_cast<std::size_t>(fontOf[0])];
    FoundNumber found = propose(frame, seen[0], font, longest, Align::Centre);
    found.font = fontOf[0];
    found.all = number.all;
    return found;
}

} // namespace

PixelBuffer CropFrame(const PixelBuffer& frame, const Rect& area)
{
    PixelBuffer crop(area.width, area.height);
    for (int y = 0; y < crop.height; ++y) {
        const int sy = area.y + y;
        if (sy < 0 || sy >= frame.height)
            continue;
        const int x0 = std::max(0, -area.x);
        const int x1 = std::min(crop.width, frame.width - area.x);
        if (x1 > x0)
            std::memcpy(crop.pixel(x0, y), frame.pixel(area.x + x0, sy),
                        static_cast<std::size_t>(x1 - x0) * 4);
    }
    return crop;
}

AreaProposal FindCaptureAreas(const PixelBuffer& frame, const FinderFonts& fonts)
{
    AreaProposal proposal;
    if (frame.isEmpty() || frame.bgra.size() != static_cast<std::size_t>(frame.width) *
                                                    static_cast<std::size_t>(frame.height) * 4)
        return proposal;
    const std::vector<std::uint16_t> levels = brightnessOf(frame);

    const std::vector<Seen> levelSeen = search(levels, frame, fonts.level);
    proposal.level = single(frame, levelSeen, {&fonts.level}, std::vector<int>(levelSeen.size(), 0),
                            kFinderLevelDigits);

    // One place read in several colours is one number (yellow and red share their glyphs, and
    // another colour's table may read some of the digits): the reading with the most digits
    // wins, then the widest, then the earlier colour.
    std::vector<Seen> expSeen;
    std::vector<int> expFont;
    std::vector<const GlyphFont*> expFonts;
    for (std::size_t f = 0; f < fonts.exp.size(); ++f) {
        expFonts.push_back(&fonts.exp[f]);
        for (const Seen& s : search(levels, frame, fonts.exp[f])) {
            std::size_t same = 0;
            while (same < expSeen.size() &&
                   !overlaps(
                       seenRect(expSeen[same], fonts.exp[static_cast<std::size_t>(expFont[same])]),
                       seenRect(s, fonts.exp[f])))
                ++same;
            if (same == expSeen.size()) {
                expSeen.push_back(s);
                expFont.push_back(static_cast<int>(f));
            } else if (std::pair(s.digitCount, s.end - s.x) >
                       std::pair(expSeen[same].digitCount, expSeen[same].end - expSeen[same].x)) {
                expSeen[same] = s;
                expFont[same] = static_cast<int>(f);
            }
        }
    }
    proposal.exp = single(frame, expSeen, expFonts, expFont, kFinderExpDigits);

    std::vector<Seen> coinSeen = search(levels, frame, fonts.money);
    FoundNumber all;
    for (const Seen& s : coinSeen)
        all.all.push_back(seenRect(s, fonts.money));
    if (coinSeen.size() > 2) {
        all.status = FindStatus::Ambiguous;
        proposal.coins = all;
        proposal.coins2 = all;
        return proposal;
    }
    if (coinSeen.empty()) {
        proposal.coins = all;
        proposal.coins2 = all;
        return proposal;
    }
    // Area 2 is the lower display; area 4, the upper one, shares its size.
    std::sort(coinSeen.begin(), coinSeen.end(),
              [](const Seen& a, const Seen& b) { return a.y > b.y; });
    proposal.coins = propose(frame, coinSeen[0], fonts.money, kFinderMoneyDigits, Align::Right);
    proposal.coins.all = all.all;
    if (coinSeen.size() == 2) {
        if (proposal.coins.status == FindStatus::Found)
            proposal.coins2 = propose(frame, coinSeen[1], fonts.money, kFinderMoneyDigits,
                                      Align::Right, proposal.coins.area.width);
        proposal.coins2.all = all.all;
    }
    return proposal;
}

} // namespace kesmaro
