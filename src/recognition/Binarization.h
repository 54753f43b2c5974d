#pragma once

#include "platform/PixelBuffer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

// Rows a column word can hold: rows 16 and below never reach a column text.
constexpr int kColumnRows = 16;

// Highest weighted brightness R + 2G + B of a pixel.
constexpr int kMaxBrightness = 1020;

// Whether a pixel of weighted brightness `level` (0..1020) counts as set for a category with
// this threshold and mask (the raw settings values, each taken times four). A negative mask
// means no mask; a mask above the threshold cuts off the levels at or above it (a band); a mask
// at or below the threshold also sets the levels at or below it.
bool IsSetBrightness(int level, std::int32_t threshold, std::int32_t mask);

// The levels IsSetBrightness sets, as at most two inclusive ranges of 0..1020. An unused
// range lies above 1020.
struct SetLevels {
    struct Range {
        int low = kMaxBrightness + 1;
        int high = kMaxBrightness + 1;
    };
    Range first;
    Range second;
};
SetLevels SetLevelsFor(std::int32_t threshold, std::int32_t mask);

// The column words of an image: word x has bit y set when pixel (x, y) is set, for the rows
// 0..15 that a word holds. An empty or malformed buffer gives no words.
std::vector<std::uint16_t> BinarizeColumns(const PixelBuffer& image, std::int32_t threshold,
                                           std::int32_t mask);

// The column text of column words: four uppercase hexadecimal digits per column.
std::string ColumnWordsToText(const std::vector<std::uint16_t>& words);

// The column words of a text made only of uppercase hexadecimal digits; false (and `words`
// undefined) for any other text, including one whose length is not a multiple of four.
bool ColumnTextToWords(std::string_view text, std::vector<std::uint16_t>& words);

} // namespace kesmaro
