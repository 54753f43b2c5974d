// The word-based reader against the plain text algorithm, on many generated column texts. The
// texts are built and read plainly as Qt (UTF-16) text, so that the reader's UTF-8 text is
// checked against an independent notion of a character too.

#include "ReferenceRecognizer.h"
#include "common/StringBuffer.h"
#include "config/Defaults.h"
#include "recognition/NumberReader.h"

#include <gtest/gtest.h>
#include <random>

using namespace kesmaro;

namespace {

using Patterns = std::array<QString, kGlyphCount>;

struct GlyphSet {
    const char* name;
    int category;
    std::int32_t width;
    Patterns patterns;
    QString background; // one column of the glyphs' background
};

Patterns qtPatterns(const std::array<std::string, kGlyphCount>& patterns)
{
    Patterns out;
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = QString::fromStdString(patterns[i]);
    return out;
}

// Level and money glyphs, and the Exp glyphs of every colour.
std::vector<GlyphSet> defaultSets()
{
    std::vector<GlyphSet> sets;
    const std::pair<const char*, InterfaceColour> colours[] = {{"yellow", InterfaceColour::Yellow},
                                                               {"red", InterfaceColour::Red},
                                                               {"blue", InterfaceColour::Blue},
                                                               {"white", InterfaceColour::White}};
    for (const auto& [name, colour] : colours) {
        Settings s;
        LoadDefaultGlyphTables(s, colour);
        if (sets.empty()) {
            sets.push_back(
                {"level", 0, s.PatternSize[0].Width, qtPatterns(s.PatternString[0]), "0000"});
            sets.push_back(
                {"money", 2, s.PatternSize[2].Width, qtPatterns(s.PatternString[2]), "0000"});
        }
        sets.push_back({name, 1, s.PatternSize[1].Width, qtPatterns(s.PatternString[1]), "03FF"});
    }
    return sets;
}

class Generator {
public:
    explicit Generator(std::uint32_t seed) : m_rng(seed) {}

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(int percent) { return uniform(0, 99) < percent; }

    QString hex(int chars)
    {
        static const char16_t digits[] = u"0123456789ABCDEF";
        QString text;
        for (int i = 0; i < chars; ++i)
            text += QChar(digits[uniform(0, 15)]);
        return text;
    }

    // A number laid out as a capture would show it, with the disturbances that matter: gaps
    // of any length (around the 33-step zero rule too), fragments of glyphs, repeated
    // delimiters, noise columns, and a shift by a few characters.
    QString layout(const GlyphSet& set)
    {
        QString text;
        if (chance(30))
            text += hex(uniform(1, 3));
        text += set.background.repeated(uniform(0, 20));
        const int digits = chance(10) ? uniform(14, 18) : uniform(1, 7);
        for (int d = 0; d < digits; ++d) {
            text += set.patterns[static_cast<std::size_t>(uniform(0, 9))];
            const int gap = uniform(0, 9);
            if (gap == 0)
                text += set.background.repeated(uniform(30, 70));
            else if (gap == 1)
                text += set.background.repeated(uniform(1, 3));
            else if (gap == 2)
                text += fragment(set);
            else if (gap == 3)
                text += hex(4 * uniform(1, 2));
            else if (gap == 4)
                text += set.background.repeated(uniform(31, 34));
        }
        const int delimiters = uniform(0, 3);
        for (int i = 0; i < delimiters; ++i) {
            text += set.background.repeated(uniform(0, 2));
            text += set.patterns[kDelimiterGlyph];
        }
        if (chance(30))
            text += fragment(set);
        text += set.background.repeated(uniform(0, 10));
        return text;
    }

    // Noise with glyphs written over it at arbitrary character offsets.
    QString noise(const GlyphSet& set)
    {
        QString text = chance(50) ? hex(uniform(0, 400)) : set.background.repeated(uniform(0, 100));
        const int pieces = uniform(0, 8);
        for (int i = 0; i < pieces; ++i) {
            const QString& g = set.patterns[static_cast<std::size_t>(uniform(0, 10))];
            if (text.size() < g.size())
                break;
            const int at = uniform(0, static_cast<int>(text.size() - g.size()));
            text.replace(at, g.size(), g);
        }
        return text;
    }

    QString fragment(const GlyphSet& set)
    {
        const QString& g = set.patterns[static_cast<std::size_t>(uniform(0, 10))];
        if (g.isEmpty())
            return hex(1);
        const int from = uniform(0, static_cast<int>(g.size()) - 1);
        return g.mid(from, uniform(1, static_cast<int>(g.size()) - from));
    }

    // Characters a capture never produces, or a length that is not whole columns.
    void spoil(QString& text)
    {
        if (text.isEmpty() || chance(40)) {
            text += hex(uniform(1, 3));
            return;
        }
        static const char16_t odd[] = u"abcfgz -\u00e9";
        const int count = uniform(1, 3);
        for (int i = 0; i < count; ++i)
            text[uniform(0, static_cast<int>(text.size()) - 1)] =
                QChar(odd[uniform(0, static_cast<int>(std::size(odd)) - 2)]);
    }

    // Hand-edited glyph tables: wrong lengths, lowercase, duplicates, empty texts, widths that
    // do not fit the patterns.
    void mutate(GlyphSet& set)
    {
        auto& g = set.patterns[static_cast<std::size_t>(uniform(0, 10))];
        const int kind = uniform(0, 6);
        if (kind == 0)
            g.chop(uniform(1, 4));
        else if (kind == 1)
            g = g.toLower();
        else if (kind == 2)
            g = set.patterns[static_cast<std::size_t>(uniform(0, 10))];
        else if (kind == 3)
            g.clear();
        else if (kind == 4)
            set.width += uniform(-1, 1) * uniform(1, 6);
        else if (kind == 5)
            set.patterns[kDelimiterGlyph] = set.patterns[static_cast<std::size_t>(uniform(0, 9))];
        else
            set.width = uniform(-2, 0);
    }

private:
    std::mt19937 m_rng;
};

// How often the branches of the algorithm were reached.
struct Coverage {
    int cases = 0, read = 0, notFound = 0, unclosed = 0, shifted = 0, zeroInserted = 0, tooLong = 0,
        spoiled = 0;
};

GlyphPatterns utf8(const Patterns& patterns)
{
    GlyphPatterns texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = patterns[i].toStdString();
    return texts;
}

void compare(const GlyphSet& set, const QString& text, std::int32_t regionWidth, Coverage& coverage)
{
    GlyphMatcher matcher;
    matcher.setGlyphs(set.width, utf8(set.patterns));
    matcher.setText(text.toStdString());
    clsStringBuffer trace;
    const NumberRead fast = ReadNumber(matcher, regionWidth, set.category, &trace, nullptr);
    const reference::Outcome plain =
        reference::Recognize(text, regionWidth, set.width, set.patterns, set.category);

    ++coverage.cases;
    coverage.read += !fast.result.empty();
    coverage.notFound += plain.caption == QStringLiteral("NotFind");
    coverage.unclosed += plain.trace.contains(QStringLiteral("デリミタ未検出"));
    coverage.zeroInserted += plain.trace.contains(QStringLiteral("遮蔽物検出"));
    coverage.shifted += !fast.result.empty() && matcher.firstDigit().offset % 4 != 0;
    coverage.tooLong += plain.result.isEmpty() &&
                        plain.trace.contains(QStringLiteral("デリミタ")) &&
                        !plain.trace.contains(QStringLiteral("未検出"));

    EXPECT_TRUE(fast.result == plain.result.toStdString() &&
                fast.caption == plain.caption.toStdString() &&
                QString::fromStdString(trace.Text()) == plain.trace)
        << set.name << " width " << set.width << " region " << regionWidth << "\ntext "
        << text.toStdString() << "\nfast  " << fast.caption << " " << trace.Text() << "\nplain "
        << plain.caption.toStdString() << " " << plain.trace.toStdString();
    // Without a trace the reader must decide the same.
    GlyphMatcher again;
    again.setGlyphs(set.width, utf8(set.patterns));
    again.setText(text.toStdString());
    EXPECT_EQ(ReadNumber(again, regionWidth, set.category, nullptr, nullptr).result,
              plain.result.toStdString());
}

TEST(DifferentialTest, WordReaderEqualsTextAlgorithmOnGeneratedTexts)
{
    const std::vector<GlyphSet> sets = defaultSets();
    Generator gen(20261206);
    Coverage coverage;
    constexpr int kCasesPerSet = 6000;
    for (const GlyphSet& original : sets) {
        for (int i = 0; i < kCasesPerSet && !::testing::Test::HasFailure(); ++i) {
            GlyphSet set = original;
            if (gen.chance(8))
                gen.mutate(set);
            QString text = gen.chance(70) ? gen.layout(set) : gen.noise(set);
            if (gen.chance(8)) {
                gen.spoil(text);
                ++coverage.spoiled;
            }
            // Mostly a capture of the area's own width; sometimes a slot that no longer fits
            // the area (a copied slot, a changed setting).
            std::int32_t regionWidth = static_cast<std::int32_t>(text.size() / 4);
            if (gen.chance(15))
                regionWidth = gen.uniform(-3, regionWidth + 8);
            compare(set, text, regionWidth, coverage);
        }
    }
    // The generator must reach every branch often enough for the comparison to mean much.
    RecordProperty("cases", coverage.cases);
    EXPECT_GT(coverage.read, coverage.cases / 5);
    EXPECT_GT(coverage.notFound, 100);
    EXPECT_GT(coverage.unclosed, 1000);
    EXPECT_GT(coverage.shifted, 200);
    EXPECT_GT(coverage.zeroInserted, 500);
    EXPECT_GT(coverage.tooLong, 20);
    EXPECT_GT(coverage.spoiled, 1000);
}

// Texts built to hit the places where word matching could go wrong: every character phase,
// glyphs touching the end of the text, and glyphs that straddle the scan limit.
TEST(DifferentialTest, EveryPhaseAndEveryEndPosition)
{
    Coverage coverage;
    for (const GlyphSet& set : defaultSets()) {
        const QString number = set.patterns[1] + set.patterns[2] + set.patterns[kDelimiterGlyph];
        for (int shift = 0; shift < 8; ++shift) {
            for (int tail = 0; tail < 6; ++tail) {
                const QString text = QStringLiteral("0").repeated(shift) + number +
                                     QStringLiteral("F").repeated(tail);
                for (std::int32_t extra = -3; extra <= 3; ++extra) {
                    SCOPED_TRACE(::testing::Message() << set.name << " shift " << shift << " tail "
                                                      << tail << " extra " << extra);
                    compare(set, text, static_cast<std::int32_t>(text.size() / 4) + extra,
                            coverage);
                }
            }
        }
    }
    EXPECT_GT(coverage.shifted, 100);
}

} // namespace
