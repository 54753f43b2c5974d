#include "recognition/NumberReader.h"

#include "common/StringBuffer.h"
#include "recognition/Binarization.h"

#include <algorithm>

namespace kesmaro {

namespace {

constexpr int kDigitCount = 10;
// Unreadable steps after a digit that stand for a hidden 0.
constexpr int kMissesPerZero = 32;

inline unsigned filterSlot(std::uint16_t word)
{
    return (static_cast<unsigned>(word) * 0x9E37U >> 6) & 1023U;
}

inline bool inFilter(const std::array<std::uint64_t, 16>& filter, std::uint16_t word)
{
    const unsigned slot = filterSlot(word);
    return (filter[slot >> 6] >> (slot & 63U)) & 1U;
}

inline void addToFilter(std::array<std::uint64_t, 16>& filter, std::uint16_t word)
{
    const unsigned slot = filterSlot(word);
    filter[slot >> 6] |= std::uint64_t{1} << (slot & 63U);
}

} // namespace

void GlyphMatcher::setGlyphs(std::int32_t glyphWidth,
                             const std::array<QString, kGlyphCount>& patterns)
{
    m_width = glyphWidth;
    m_length = glyphWidth > 0 ? std::int64_t{glyphWidth} * 4 : 0;
    m_patterns = patterns;
    m_filterAll.fill(0);
    m_filterDigits.fill(0);
    m_glyphWords.clear();
    std::vector<std::uint16_t> words;
    for (int i = 0; i < kGlyphCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        m_valid[k] = m_length > 0 && patterns[k].size() == m_length;
        m_hexValid[k] = m_valid[k] && ColumnTextToWords(patterns[k], words);
    }
    if (m_length == 0 ||
        std::none_of(m_hexValid.begin(), m_hexValid.end(), [](bool v) { return v; }))
        return;
    m_glyphWords.assign(static_cast<std::size_t>(kGlyphCount) * static_cast<std::size_t>(m_width),
                        0);
    for (int i = 0; i < kGlyphCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!m_hexValid[k])
            continue;
        ColumnTextToWords(patterns[k], words);
        std::copy(words.begin(), words.end(),
                  m_glyphWords.begin() + static_cast<std::ptrdiff_t>(k * words.size()));
        addToFilter(m_filterAll, words[0]);
        if (i < kDigitCount)
            addToFilter(m_filterDigits, words[0]);
    }
}

void GlyphMatcher::setText(const QString& text)
{
    m_text = text;
    m_wordsText = ColumnTextToWords(text, m_phase[0]);
    if (!m_wordsText) {
        for (auto& phase : m_phase)
            phase.clear();
        return;
    }
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

bool GlyphMatcher::wordsEqual(const std::uint16_t* at, int glyph) const
{
    const std::uint16_t* g =
        m_glyphWords.data() + static_cast<std::size_t>(glyph) * static_cast<std::size_t>(m_width);
    return std::equal(g, g + m_width, at);
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
    if (m_length == 0 || offset < 0 || offset + m_length > m_text.size())
        return -1;
    if (!m_wordsText)
        return fallbackGlyphAt(offset, kGlyphCount - 1);
    if (m_glyphWords.empty())
        return -1;
    const std::uint16_t* at = m_phase[static_cast<std::size_t>(offset & 3)].data() +
                              static_cast<std::size_t>(offset >> 2);
    if (!inFilter(m_filterAll, *at))
        return -1;
    for (int i = 0; i < kGlyphCount; ++i)
        if (m_hexValid[static_cast<std::size_t>(i)] && wordsEqual(at, i))
            return i;
    return -1;
}

GlyphMatcher::Hit GlyphMatcher::firstDigit() const
{
    Hit hit;
    if (m_length == 0 || m_length > m_text.size())
        return hit;
    if (!m_wordsText) {
        for (int i = 0; i < kDigitCount; ++i) {
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
    const std::int64_t last = m_text.size() - m_length;
    for (std::int64_t offset = 0; offset <= last; ++offset) {
        const std::uint16_t* at = m_phase[static_cast<std::size_t>(offset & 3)].data() +
                                  static_cast<std::size_t>(offset >> 2);
        if (!inFilter(m_filterDigits, *at))
            continue;
        for (int i = 0; i < kDigitCount; ++i)
            if (m_hexValid[static_cast<std::size_t>(i)] && wordsEqual(at, i))
                return Hit{offset, i};
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
            trace->Append(QStringLiteral("category") + QString::number(category) +
                          QStringLiteral(" 数値が見つかりませんでした"));
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
        const int glyph = matcher.glyphAt(pos);
        if (glyph >= 0 && glyph < kDelimiterGlyph) {
            const QChar digit(u'0' + glyph);
            digits += digit;
            pos += matcher.glyphLength() - 4;
            misses = 0;
            if (trace)
                trace->Append2(QStringLiteral(" 認識結果:"), QString(digit));
        } else if (glyph == kDelimiterGlyph) {
            if (trace)
                trace->Append(QStringLiteral(" 認識結果:デリミタ"));
            closed = true;
            break;
        } else {
            if (!digits.isEmpty())
                ++misses;
            if (misses > kMissesPerZero) {
                digits += u'0';
                misses = 0;
                if (trace)
                    trace->Append2(QStringLiteral(" 遮蔽物検出0付加 "), digits);
            }
        }
        if (hooks)
            hooks->progress(digits);
        pos += 4;
    }
    if (!closed) {
        if (trace)
            trace->Append2(QStringLiteral(" デリミタ未検出 "), digits);
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

} // namespace kesmaro
