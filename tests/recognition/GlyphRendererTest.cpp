// Rendered glyphs binarize back to their patterns, for every digit, category and Exp colour.

#include "recognition/GlyphRenderer.h"

#include "config/Defaults.h"
#include "recognition/Binarization.h"
#include "recognition/Recognition.h"

#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

struct FontCase {
    const char* name;
    InterfaceColour colour;
    int category;
};

std::vector<FontCase> fontCases()
{
    return {{"level", InterfaceColour::Yellow, 0},      {"money", InterfaceColour::Yellow, 2},
            {"exp_yellow", InterfaceColour::Yellow, 1}, {"exp_red", InterfaceColour::Red, 1},
            {"exp_blue", InterfaceColour::Blue, 1},     {"exp_white", InterfaceColour::White, 1}};
}

GlyphFont fontOf(const FontCase& fc)
{
    Settings s;
    LoadDefaultGlyphTables(s, fc.colour);
    return GlyphFontOf(s, fc.category);
}

std::string binarize(const PixelBuffer& image, const GlyphFont& font)
{
    return ColumnWordsToText(BinarizeColumns(image, font.threshold, font.mask));
}

TEST(GlyphRendererTest, EveryGlyphRoundTripsExactly)
{
    for (const FontCase& fc : fontCases()) {
        const GlyphFont font = fontOf(fc);
        for (const std::uint32_t seed : {0U, 1U, 99U}) {
            for (int digit = 0; digit <= 9; ++digit) {
                SCOPED_TRACE(::testing::Message() << fc.name << " seed " << seed << " " << digit);
                PixelBuffer image(font.width * 2, font.height);
                const int end =
                    DrawNumber(image, 0, 0, std::to_string(digit), font, GlyphInk{0, 2, seed});
                EXPECT_EQ(end, font.width * 2);
                EXPECT_EQ(binarize(image, font), font.patterns[static_cast<std::size_t>(digit)] +
                                                     font.patterns[kDelimiterGlyph]);
            }
        }
    }
}

TEST(GlyphRendererTest, BackgroundAndPointBinarizeToTheGlyphBackground)
{
    for (const FontCase& fc : fontCases()) {
        SCOPED_TRACE(fc.name);
        const GlyphFont font = fontOf(fc);
        const bool inverted = fc.category == 1;
        EXPECT_EQ(HasSetBackground(font), inverted);
        PixelBuffer image(5, font.height);
        FillGlyphBackground(image, Rect{0, 0, 5, font.height}, font, 3);
        const std::string column = inverted ? "03FF" : "0000";
        EXPECT_EQ(binarize(image, font), column + column + column + column + column);

        const int end = DrawNumber(image, 1, 0, ".", font, GlyphInk{0, 2, 5}, false);
        EXPECT_EQ(end, 3);
        const std::uint16_t bottom = static_cast<std::uint16_t>(1U << (font.height - 1));
        const std::uint16_t background = inverted ? 0x03FF : 0;
        const auto words = BinarizeColumns(image, font.threshold, font.mask);
        EXPECT_EQ(words[1], background ^ bottom);
        EXPECT_EQ(words[2], background);
    }
}

TEST(GlyphRendererTest, DrawsGapsAndClipsAtTheImageEdges)
{
    const GlyphFont font = fontOf(fontCases()[1]);
    PixelBuffer image(20, 9);
    EXPECT_EQ(DrawNumber(image, -3, 0, "12", font, GlyphInk{1, 2, 0}), -3 + 6 + 1 + 6 + 1 + 6);
    const std::string text = binarize(image, font);
    EXPECT_EQ(text.substr(0, 12), font.patterns[1].substr(12));
    EXPECT_EQ(text.substr(12, 4), "0000");
    EXPECT_EQ(text.substr(16, 24), font.patterns[2]);
    // Any other character, however many bytes it takes, is one glyph-wide gap.
    PixelBuffer gaps(30, 9);
    PixelBuffer spaced(30, 9);
    EXPECT_EQ(DrawNumber(gaps, 0, 0, "1\u3042\U0001F600", font), 4 * 6);
    EXPECT_EQ(DrawNumber(spaced, 0, 0, "1  ", font), 4 * 6);
    EXPECT_EQ(binarize(gaps, font), binarize(spaced, font));
    // Far outside: nothing drawn, no time spent on invisible columns.
    PixelBuffer untouched(20, 9);
    GlyphFont wide = font;
    wide.width = INT32_MAX / 8;
    DrawNumber(untouched, INT32_MAX - 10, INT32_MAX - 5, "1 2", wide);
    EXPECT_EQ(binarize(untouched, font), std::string(4 * 20, '0'));
}

} // namespace
