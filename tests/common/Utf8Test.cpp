#include "common/Utf8.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

std::vector<char32_t> decode(std::string_view text)
{
    std::vector<char32_t> out;
    for (const char32_t c : CodePoints(text))
        out.push_back(c);
    return out;
}

constexpr char32_t R = kReplacementCharacter;

} // namespace

TEST(Utf8, CountsAndDecodesCharactersNotBytes)
{
    const struct {
        std::string text;
        std::vector<char32_t> points;
    } cases[] = {
        {"", {}},
        {"abc", {U'a', U'b', U'c'}},
        {"経験値", {U'経', U'験', U'値'}},
        {"Lv\u00e9", {U'L', U'v', U'\u00e9'}},
        {"\U0001F600x", {U'\U0001F600', U'x'}}, // four bytes, one character
        {"ｶﾅ", {U'ｶ', U'ﾅ'}},                   // half-width katakana: 3 bytes each
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode(c.text), c.points) << c.text;
        EXPECT_EQ(Utf8Length(c.text), c.points.size()) << c.text;
    }
}

TEST(Utf8, IllFormedSequencesAreOneReplacementEachAndNeverReadPastTheEnd)
{
    const struct {
        std::string text;
        std::vector<char32_t> points;
    } cases[] = {
        {"\x80", {R}}, // a lone continuation byte
        {"a\xFF"
         "b",
         {U'a', R, U'b'}},                  // a byte that never starts a character
        {"\xC0\xAF", {R, R}},               // overlong '/': C0 is never valid
        {"\xE0\x80\xAF", {R, R, R}},        // overlong three-byte form
        {"\xED\xA0\x80", {R, R, R}},        // an encoded surrogate
        {"\xF4\x90\x80\x80", {R, R, R, R}}, // past U+10FFFF
        {"\xE7\xB5", {R}},                  // truncated at the end: one character
        {"\xE7\xB5"
         "A",
         {R, U'A'}},           // truncated before ASCII
        {"\xF0\x9F\x98", {R}}, // truncated four-byte form
        {"\xE7\xB5\x8C\xE9", {U'経', R}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode(c.text), c.points) << testing::PrintToString(c.text);
        EXPECT_EQ(Utf8Length(c.text), c.points.size()) << testing::PrintToString(c.text);
    }
}

TEST(Utf8, LeftMidAndRightSliceWholeCharactersAndClampLikeQString)
{
    const std::string text = "経験値abc";
    const struct {
        std::string_view got;
        std::string_view expected;
    } cases[] = {
        {Utf8Left(text, 0), ""},
        {Utf8Left(text, 2), "経験"},
        {Utf8Left(text, 4), "経験値a"},
        {Utf8Left(text, 99), text},
        {Utf8Right(text, 0), ""},
        {Utf8Right(text, 4), "値abc"},
        {Utf8Right(text, 99), text},
        {Utf8Mid(text, 1, 2), "験値"},
        {Utf8Mid(text, 2), "値abc"},
        {Utf8Mid(text, 5, 9), "c"},
        {Utf8Mid(text, 6), ""},
        {Utf8Mid(text, 99, 1), ""},
        // Ill-formed bytes stay as they are, one character each.
        {Utf8Left("\xE7\xB5"
                  "AB",
                  2),
         "\xE7\xB5"
         "A"},
        {Utf8Right("A\xFF", 1), "\xFF"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
}

TEST(Utf8, ConvertsToUtf16WithSurrogatePairsAndBack)
{
    const struct {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"ss\\", u"ss\\"},
        {"記録フォルダ", u"記録フォルダ"},
        {"\U0001F600", {0xD83D, 0xDE00}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
        EXPECT_EQ(WideToUtf8(Utf8ToWide(c.utf8)), c.utf8) << c.utf8;
    }
    EXPECT_EQ(Utf8ToWide("値").size(), 1U);
    EXPECT_EQ(Utf8ToWide("\U0001F600").size(), sizeof(wchar_t) == 2 ? 2U : 1U);
}

TEST(Utf8, IllFormedInputOfEitherSideBecomesReplacementCharacters)
{
    EXPECT_EQ(Utf8ToUtf16("a\xFF"), (std::u16string{u'a', 0xFFFD}));
    const struct {
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {{0xD83D}, "\uFFFD"},               // a high surrogate at the end
        {{0xD83D, u'x'}, "\uFFFDx"},        // a high surrogate without its pair
        {{0xDE00, 0xD83D}, "\uFFFD\uFFFD"}, // the pair in the wrong order
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    std::string out;
    AppendUtf8(out, 0x110000);
    AppendUtf8(out, 0xDC00);
    EXPECT_EQ(out, "\uFFFD\uFFFD");
}
