// Binarization: the three mask rules at their boundaries and the column-text layout.

#include "recognition/Binarization.h"

#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

PixelBuffer pixels(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    PixelBuffer image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.pixel(x, y);
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    return image;
}

struct MaskRow {
    const char* name;
    std::int32_t threshold;
    std::int32_t mask;
    int r, g, b;
    bool set;
};

class MaskRuleTest : public ::testing::TestWithParam<MaskRow> {};

TEST_P(MaskRuleTest, PixelIsSetExactlyAsTheRuleSays)
{
    const MaskRow& row = GetParam();
    const auto r = static_cast<std::uint8_t>(row.r);
    const auto g = static_cast<std::uint8_t>(row.g);
    const auto b = static_cast<std::uint8_t>(row.b);
    const auto words = BinarizeColumns(pixels(1, 1, r, g, b), row.threshold, row.mask);
    ASSERT_EQ(words.size(), 1U);
    EXPECT_EQ(words[0], row.set ? 1 : 0);
    // Wide enough for four columns read side by side and one beside them.
    EXPECT_EQ(BinarizeColumns(pixels(5, 2, r, g, b), row.threshold, row.mask),
              std::vector<std::uint16_t>(5, row.set ? 3 : 0));
}

// L = R + 2G + B against T = 4 x threshold and M = 4 x mask.
INSTANTIATE_TEST_SUITE_P(
    Rules, MaskRuleTest,
    ::testing::Values(MaskRow{"no_mask_at_threshold", 135, -1, 135, 135, 135, true},
                      MaskRow{"no_mask_just_below", 135, -1, 134, 135, 135, false},
                      MaskRow{"no_mask_any_negative_mask", 135, -7, 255, 255, 255, true},
                      MaskRow{"band_below_threshold", 100, 200, 99, 100, 100, false}, // L = 399
                      MaskRow{"band_at_threshold", 100, 200, 100, 100, 100, true},    // L = 400
                      MaskRow{"band_just_below_mask", 100, 200, 199, 200, 200, true}, // L = 799
                      MaskRow{"band_at_mask_cut_to_zero", 100, 200, 200, 200, 200, false},
                      MaskRow{"band_with_threshold_zero_sets_cut_levels", 0, 200, 255, 255, 255,
                              true},
                      MaskRow{"low_mask_at_mask_raised", 100, 50, 50, 50, 50, true},   // L = 200
                      MaskRow{"low_mask_black_raised", 100, 50, 0, 0, 0, true},        // L = 0
                      MaskRow{"low_mask_just_above_mask", 100, 50, 51, 50, 50, false}, // L = 201
                      MaskRow{"low_mask_above_threshold", 100, 50, 100, 100, 100, true},
                      MaskRow{"mask_equal_threshold", 100, 100, 100, 100, 100, true},
                      MaskRow{"mask_zero_black_raised", 100, 0, 0, 0, 0, true},
                      MaskRow{"threshold_beyond_white_never_set", 256, 50, 0, 0, 0, false},
                      MaskRow{"huge_threshold_no_overflow", INT32_MAX, -1, 255, 255, 255, false},
                      MaskRow{"most_negative_threshold_all_set", INT32_MIN, -1, 0, 0, 0, true},
                      MaskRow{"huge_mask_is_a_band", 0, INT32_MAX, 255, 255, 255, true}),
    [](const ::testing::TestParamInfo<MaskRow>& row) { return std::string(row.param.name); });

// The binarizer tests ranges of levels instead of the rule; both must agree on every level.
TEST(SetLevelsTest, RangesAgreeWithTheRuleForEveryLevel)
{
    std::vector<std::int32_t> values = {INT32_MIN, -300, -2,  -1,  0,        1,
                                        254,       255,  256, 300, INT32_MAX};
    for (std::int32_t v = 0; v <= 260; v += 7)
        values.push_back(v);
    for (const std::int32_t threshold : values) {
        for (const std::int32_t mask : values) {
            const SetLevels levels = SetLevelsFor(threshold, mask);
            for (int level = 0; level <= kMaxBrightness; ++level) {
                const bool inRanges = (level >= levels.first.low && level <= levels.first.high) ||
                                      (level >= levels.second.low && level <= levels.second.high);
                if (inRanges != IsSetBrightness(level, threshold, mask)) {
                    ADD_FAILURE() << "threshold " << threshold << " mask " << mask << " level "
                                  << level;
                    return;
                }
            }
        }
    }
}

TEST(ColumnTextTest, BitYIsRowYColumnsRunLeftToRightAndRowsFromSixteenOnAreDropped)
{
    PixelBuffer image(3, 20);
    const int set[][2] = {{0, 0}, {1, 15}, {2, 4}, {2, 5}, {2, 10}, {0, 16}, {1, 19}};
    for (const auto& xy : set)
        image.pixel(xy[0], xy[1])[1] = 255;
    EXPECT_EQ(ColumnWordsToText(BinarizeColumns(image, 100, -1)), "000180000430");
}

TEST(ColumnTextTest, EmptyOrShortBuffersGiveNoColumns)
{
    EXPECT_TRUE(BinarizeColumns(PixelBuffer(), 100, -1).empty());
    EXPECT_TRUE(BinarizeColumns(PixelBuffer(0, 10), 100, -1).empty());
    PixelBuffer truncated(4, 4);
    truncated.bgra.resize(10);
    EXPECT_TRUE(BinarizeColumns(truncated, 100, -1).empty());
}

TEST(ColumnTextTest, TextAndWordsConvertBothWays)
{
    std::vector<std::uint16_t> words;
    ASSERT_TRUE(ColumnTextToWords("07F01FFCABCD", words));
    EXPECT_EQ(words, (std::vector<std::uint16_t>{0x07F0, 0x1FFC, 0xABCD}));
    EXPECT_EQ(ColumnWordsToText(words), "07F01FFCABCD");
    // A full-width digit is three bytes: with "07F" that makes six, and with "0" four.
    for (const char* bad : {"07f0", "07F", "07G0", "07F\uFF10", "0\uFF10"})
        EXPECT_FALSE(ColumnTextToWords(bad, words));
}

} // namespace
