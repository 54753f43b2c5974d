#include "common/Cp932.h"

#include <gtest/gtest.h>

using namespace kesmaro;

TEST(Cp932Test, ByteWidthCountsHalfWidthAsOneAndEverythingElseAsTwo)
{
    struct Row {
        const char* text;
        int width;
    };
    for (const Row& r : {
             Row{"ABC 123", 7},
             Row{"ｱｲｳｴｵﾞ", 6}, // half-width katakana: one byte each
             Row{"アイウ", 6}, // full-width katakana
             Row{"給与明細", 8},
             Row{"～＋－×", 8}, // full-width signs and the multiplication sign
             Row{"･･･", 3},     // the half-width dots of the log messages
             Row{"😀", 1},       // no code: one default character
             Row{"a\xff"
                 "b",
                 3}, // ill-formed UTF-8: one default character
             Row{"", 0},
         }) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ByteWidth(r.text), r.width);
        EXPECT_EQ(EncodeCp932(r.text).size(), static_cast<std::size_t>(r.width));
    }
}

TEST(Cp932Test, RoundTripsJapaneseText)
{
    for (const char* text : {"経験値 12,345 (ｱｲ) ～給与～", "ABC", "", "\r\n"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(DecodeCp932(EncodeCp932(text)), text);
    }
    EXPECT_EQ(EncodeCp932("経験値"), "\x8c\x6f\x8c\xb1\x92\x6c");
    EXPECT_EQ(EncodeCp932("ｱ"), "\xb1");
}

TEST(Cp932Test, WaveDashIsFullWidthTildeBothWays)
{
    EXPECT_EQ(EncodeCp932("～"), "\x81\x60");
    EXPECT_EQ(DecodeCp932("\x81\x60"), "\uFF5E");
    // Text pasted from other systems with the JIS wave dash is stored as the same code.
    EXPECT_EQ(EncodeCp932("\u301C"), "\x81\x60");
}

TEST(Cp932Test, CharactersWithoutACodeBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(EncodeCp932("a😀b"), "a?b");
    EXPECT_EQ(EncodeCp932("\xe3\x81"), "?");  // a truncated sequence is one character
    EXPECT_EQ(EncodeCp932("\xc0\xaf"), "??"); // an overlong form: two ill-formed bytes
}

TEST(Cp932Test, InvalidBytesDecodeToReplacementWithoutSwallowingTheNext)
{
    // 0x81 followed by an invalid trail byte, a lone lead byte at the end.
    EXPECT_EQ(DecodeCp932(std::string_view("\x81\x20"
                                           "A\x82",
                                           4)),
              "\uFFFD A\uFFFD");
}
