#include "common/Text.h"

#include <gtest/gtest.h>

using namespace kesmaro;

TEST(TextTest, IntegersTakeOneSignAndNothingAround)
{
    EXPECT_EQ(ParseInteger("42"), 42);
    EXPECT_EQ(ParseInteger("+42"), 42);
    EXPECT_EQ(ParseInteger("-42"), -42);
    EXPECT_EQ(ParseInteger("9223372036854775807"), INT64_MAX);
    for (const char* bad : {"", "+", "-", "+-5", "-+5", "++5", "--5", " 5", "5 ", "5x", "0x10",
                            "1.5", "9223372036854775808"})
        EXPECT_EQ(ParseInteger(bad), std::nullopt) << bad;
}

TEST(TextTest, TrimsKeepTheirOwnSetsOfSpaces)
{
    EXPECT_EQ(TrimBlanks(" \t a b \t "), "a b");
    EXPECT_EQ(TrimBlanks("\r\na\r\n"), "\r\na\r\n");
    EXPECT_EQ(TrimAsciiSpaces("\t\n\v\f\r a \r\n"), "a");
    EXPECT_EQ(TrimAsciiSpaces("\u3000a\u3000"), "\u3000a\u3000");
    // The ideographic and no-break spaces go too, as users type them in Japanese text.
    EXPECT_EQ(TrimSpaces("\u3000\u00A0 記録 \u3000"), "記録");
    EXPECT_EQ(TrimSpaces("\u3000 "), "");
    EXPECT_EQ(TrimSpaces("a\u3000b"), "a\u3000b");
}

TEST(TextTest, ReplacingAndComparing)
{
    EXPECT_EQ(ReplaceAll("a\r\nb\r\n", "\r\n", "\\n"), "a\\nb\\n");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_TRUE(EqualsIgnoringAsciiCase("TrUe", "true"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("true", "truE "));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("ÄB", "äb")); // ASCII letters only
}
