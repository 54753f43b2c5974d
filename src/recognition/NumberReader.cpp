#include "recognition/NumberReader.h"

#include "common/StringBuffer.h"
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
    m_patterns = patterns;
    m_filterAll.fill(0);
    m_filterDigits.fill(0);
    m_glyphWords.clear();
    m_hexValid.fill(false);
    for (int i = 0; i < glyph::kCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        m_valid[k] = m_length > 0 && patterns[k].size() == m_length;
    }
    if (std::none_of(m_valid.begin(), m_valid.end(), [](bool v) { return v; }))
        return;
    const auto width = static_cast<std::size_t>(m_width);
    m_glyphWords.assign(static_cast<std::size_t>(glyph::kCount) * width, 0);
    std::vector<std::uint16_t> words;
    for (int i = 0; i < glyph::kCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!m_valid[k] || !ColumnTextToWords(patterns[k], words))
            continue;
        m_hexValid[k] = true;
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

void GlyphMatcher::setText(const QString& text)
{
    m_textLength = text.size();
    m_wordsText = ColumnTextToWords(text, m_phase[0]);
    if (m_wordsText) {
        m_text.clear();
        makePhases();
        return;
    }
    m_text = text;
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

int GlyphMatcher::fallbackGlyphAt(std::int64_t offset, int last) const
{
    const QStringView window = QStringView(m_text).mid(offset, m_length);
    for (int i = 0; i <= last; ++i)
        if (m_valid[static_cast<std::size_t>(i)] &&
            window == m_patterns[static_cast<std::size_t>(i)])
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
        for (int i = 0; i < glyph::kDigits; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (!m_valid[k])
                continue;
            const qsizetype at = m_text.indexOf(m_patterns[k]);
            if (at >= 0 && (hit.offset < 0 || at < hit.offset))
                hit = Hit{at, i};
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
        read.caption = QStringLiteral("NotFind");
        return read;
    }

    QString digits;
    int misses = 0;
    bool closed = false;
    std::int64_t pos = first.offset;
    while (pos < 4 * (std::int64_t{regionWidth} - matcher.glyphWidth()) &&
           pos + matcher.glyphLength() <= matcher.textLength()) {
        if (hooks)
            hooks->beforeStep(matcher, regionWidth);
        const int found = matcher.glyphAt(pos);
        if (found >= 0 && found < glyph::kDigits) {
            const QChar digit(u'0' + found);
            digits += digit;
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
            if (!digits.isEmpty())
                ++misses;
            if (misses > kMissesPerZero) {
                digits += u'0';
                misses = 0;
                if (trace)
                    trace->Append2(" 遮蔽物検出0付加 ", digits.toStdString());
            }
        }
        if (hooks)
            hooks->progress(digits);
        pos += 4;
    }
    if (!closed) {
        if (trace)
            trace->Append2(" デリミタ未検出 ", digits.toStdString());
        digits.clear();
    }

    qsizetype lead = 0;
    while (lead + 1 < digits.size() && digits[lead] == u'0')
        ++lead;
    if (digits.isEmpty() || digits.size() - lead > kMaxNumberDigits) {
        read.caption = QStringLiteral("認識NG");
        return read;
    }
    read.result = digits.mid(lead);
    read.caption = digits;
    return read;
}

void BeginTrace(clsStringBuffer& trace, int category, const QString& columnText)
{
    trace.Append2LF("category" + std::to_string(category) + " 変換データ : ",
                    columnText.toStdString());
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
