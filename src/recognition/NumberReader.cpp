#include "recognition/NumberReader.h"

#include "common/StringBuffer.h"
#include "common/Utf8.h"
#include "recognition/Binarization.h"

#include <algorithm>
#include <utility>

namespace kesmaro {

namespace {

// Unreadable steps after a digit that stand for a hidden 0.
constexpr int kMissesPerZero = 32;

inline unsigned filterSlot(std::uint32_t key)
{
    return (key * 0x9E3779B1U) >> 22;
}

inline bool inFilter(const std::array<std::uint64_t, 16>& filter, std::uint32_t key)
{
    const unsigned slot = filterSlot(key);
    return (filter[slot >> 6] >> (slot & 63U)) & 1U;
}

inline void addToFilter(std::array<std::uint64_t, 16>& filter, std::uint32_t key)
{
    const unsigned slot = filterSlot(key);
    filter[slot >> 6] |= std::uint64_t{1} << (slot & 63U);
}

} // namespace

void GlyphMatcher::setGlyphs(std::int32_t glyphWidth, const GlyphPatterns& patterns)
{
    m_width = glyphWidth;
    m_length = glyphWidth > 0 ? std::int64_t{glyphWidth} * 4 : 0;
    m_filterAll.fill(0);
    m_filterDigits.fill(0);
    m_glyphWords.clear();
    m_hexValid.fill(false);
    for (auto& pattern : m_textPatterns)
        pattern.clear();
    const auto width = static_cast<std::size_t>(std::max(glyphWidth, 0));
    std::vector<std::uint16_t> words;
    for (int i = 0; i < glyph::kCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::string& pattern = patterns[k];
        // Column words are ASCII, so their bytes are their characters.
        m_hexValid[k] = m_length > 0 && std::cmp_equal(pattern.size(), m_length) &&
                        ColumnTextToWords(pattern, words);
        m_valid[k] =
            m_hexValid[k] || (m_length > 0 && std::cmp_equal(Utf8Length(pattern), m_length));
        if (!m_hexValid[k]) {
            if (m_valid[k])
                for (const char32_t c : CodePoints(pattern))
                    m_textPatterns[k].push_back(c);
            continue;
        }
        if (m_glyphWords.empty())
            m_glyphWords.assign(static_cast<std::size_t>(glyph::kCount) * width, 0);
        std::copy(words.begin(), words.end(),
                  m_glyphWords.begin() + static_cast<std::ptrdiff_t>(k * width));
        m_keys[k] = keyAt(words.data());
        addToFilter(m_filterAll, m_keys[k]);
        if (i < glyph::kDigits)
            addToFilter(m_filterDigits, m_keys[k]);
    }
}

void GlyphMatcher::setWords(std::vector<std::uint16_t> words)
{
    m_text.clear();
    m_textLength = static_cast<std::int64_t>(words.size()) * 4;
    m_wordsText = true;
    m_phase[0] = std::move(words);
    makePhases();
}

void GlyphMatcher::setText(std::string_view text)
{
    m_wordsText = ColumnTextToWords(text, m_phase[0]);
    if (m_wordsText) {
        m_textLength = static_cast<std::int64_t>(text.size());
        m_text.clear();
        makePhases();
        return;
    }
    m_text.clear();
    for (const char32_t c : CodePoints(text))
        m_text.push_back(c);
    m_textLength = static_cast<std::int64_t>(m_text.size());
    for (auto& phase : m_phase)
        phase.clear();
}

void GlyphMatcher::makePhases()
{
    const std::vector<std::uint16_t>& words = m_phase[0];
    for (unsigned s = 1; s < 4; ++s) {
        std::vector<std::uint16_t>& phase = m_phase[s];
        phase.resize(words.empty() ? 0 : words.size() - 1);
        const unsigned left = 4 * s;
        const unsigned right = 16 - left;
        for (std::size_t c = 0; c < phase.size(); ++c)
            phase[c] = static_cast<std::uint16_t>(words[c] << left | words[c + 1] >> right);
    }
}

int GlyphMatcher::wordGlyphAt(const std::uint16_t* at, int last) const
{
    const std::uint32_t key = keyAt(at);
    const auto width = static_cast<std::size_t>(m_width);
    for (int i = 0; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!m_hexValid[k] || m_keys[k] != key)
            continue;
        const std::uint16_t* g = m_glyphWords.data() + k * width;
        std::size_t c = 2;
        while (c < width && g[c] == at[c])
            ++c;
        if (c >= width)
            return i;
    }
    return -1;
}

bool GlyphMatcher::fallbackMatches(std::int64_t offset, std::size_t glyph) const
{
    const std::u32string_view window = std::u32string_view(m_text).substr(
        static_cast<std::size_t>(offset), static_cast<std::size_t>(m_length));
    if (!m_hexValid[glyph])
        return window == m_textPatterns[glyph];
    static constexpr char32_t kHex[] = U"0123456789ABCDEF";
    const std::uint16_t* words = m_glyphWords.data() + glyph * static_cast<std::size_t>(m_width);
    for (std::size_t i = 0; i < window.size(); ++i)
        if (window[i] != kHex[(words[i / 4] >> (12 - 4 * (i % 4))) & 0xF])
            return false;
    return true;
}

int GlyphMatcher::fallbackGlyphAt(std::int64_t offset, int last) const
{
    for (int i = 0; i <= last; ++i)
        if (m_valid[static_cast<std::size_t>(i)] &&
            fallbackMatches(offset, static_cast<std::size_t>(i)))
            return i;
    return -1;
}

int GlyphMatcher::glyphAt(std::int64_t offset) const
{
    if (m_length == 0 || offset < 0 || offset + m_length > m_textLength)
        return -1;
    if (!m_wordsText)
        return fallbackGlyphAt(offset, glyph::kCount - 1);
    if (m_glyphWords.empty())
        return -1;
    const std::uint16_t* at = m_phase[static_cast<std::size_t>(offset & 3)].data() +
                              static_cast<std::size_t>(offset >> 2);
    if (!inFilter(m_filterAll, keyAt(at)))
        return -1;
    return wordGlyphAt(at, glyph::kCount - 1);
}

GlyphMatcher::Hit GlyphMatcher::firstDigit() const
{
    Hit hit;
    if (m_length == 0 || m_length > m_textLength)
        return hit;
    if (!m_wordsText) {
        for (std::int64_t offset = 0; offset + m_length <= m_textLength; ++offset) {
            const int digit = fallbackGlyphAt(offset, glyph::kDigits - 1);
            if (digit >= 0)
                return Hit{offset, digit};
        }
        return hit;
    }
    if (m_glyphWords.empty())
        return hit;
    const std::int64_t last = m_textLength - m_length;
    for (std::int64_t offset = 0; offset <= last; ++offset) {
        const std::uint16_t* at = m_phase[static_cast<std::size_t>(offset & 3)].data() +
                                  static_cast<std::size_t>(offset >> 2);
        if (!inFilter(m_filterDigits, keyAt(at)))
            continue;
        const int digit = wordGlyphAt(at, glyph::kDigits - 1);
        if (digit >= 0)
            return Hit{offset, digit};
    }
    return hit;
}

NumberRead ReadNumber(GlyphMatcher& matcher, std::int32_t regionWidth, int category,
                      clsStringBuffer* trace, ScanHooks* hooks)
{
    NumberRead read;
    const GlyphMatcher::Hit first = matcher.firstDigit();
    if (first.offset < 0) {
        if (trace)
            trace->Append("category" + std::to_string(category) + " 数値が見つかりませんでした");
        read.caption = "NotFind";
        return read;
    }

    std::string digits;
    int misses = 0;
    bool closed = false;
    std::int64_t pos = first.offset;
    while (pos < 4 * (std::int64_t{regionWidth} - matcher.glyphWidth()) &&
           pos + matcher.glyphLength() <= matcher.textLength()) {
        if (hooks)
            hooks->beforeStep(matcher, regionWidth);
        const int found = matcher.glyphAt(pos);
        if (found >= 0 && found < glyph::kDigits) {
            digits += static_cast<char>('0' + found);
            pos += matcher.glyphLength() - 4;
            misses = 0;
            if (trace)
                trace->Append2(" 認識結果:", std::string(1, static_cast<char>('0' + found)));
        } else if (found == glyph::kDelimiter) {
            if (trace)
                trace->Append(" 認識結果:デリミタ");
            closed = true;
            break;
        } else {
            if (!digits.empty())
                ++misses;
            if (misses > kMissesPerZero) {
                digits += '0';
                misses = 0;
                if (trace)
                    trace->Append2(" 遮蔽物検出0付加 ", digits);
            }
        }
        if (hooks)
            hooks->progress(digits);
        pos += 4;
    }
    if (!closed) {
        if (trace)
            trace->Append2(" デリミタ未検出 ", digits);
        digits.clear();
    }

    std::size_t lead = 0;
    while (lead + 1 < digits.size() && digits[lead] == '0')
        ++lead;
    if (digits.empty() || digits.size() - lead > kMaxNumberDigits) {
        read.caption = "認識NG";
        return read;
    }
    read.result = digits.substr(lead);
    read.caption = digits;
    return read;
}

void BeginTrace(clsStringBuffer& trace, int category, std::string_view columnText)
{
    trace.Append2LF("category" + std::to_string(category) + " 変換データ : ", columnText);
}

NumberRead RecognizePixels(const PixelBuffer& pixels, const GlyphFont& font, int category,
                           clsStringBuffer* trace)
{
    std::vector<std::uint16_t> words = BinarizeColumns(pixels, font.threshold, font.mask);
    if (trace)
        BeginTrace(*trace, category, ColumnWordsToText(words));
    GlyphMatcher matcher;
    matcher.setGlyphs(font.width, font.patterns);
    matcher.setWords(std::move(words));
    return ReadNumber(matcher, pixels.width, category, trace, nullptr);
}

} // namespace kesmaro
