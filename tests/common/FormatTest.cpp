#include "common/Format.h"

#include "common/Cp932.h"
#include "common/TrappedError.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

using namespace kesmaro;

namespace {

struct ColumnCase {
    const char* name;
    ColumnValue value;
    int width;
    int decimals;
    bool plain;
    const char* expected;
};

} // namespace

TEST(FormatColumnTest, RightAlignsInByteColumnsAndWidensWhenTooLong)
{
    const ColumnCase cases[] = {
        {"grouped integer", 1234567, 12, 0, false, "  1,234,567 "},
        {"zero shows its digit", 0, 6, 0, false, "    0 "},
        {"plain decimals", 3.5, 8, 2, true, "   3.50 "},
        {"boolean", true, 8, 0, false, "   True "},
        {"too long widens", 12345, 6, 0, false, " 12,345 "},
        {"grouped decimals", Currency::FromDouble(1234.5), 12, 2, false, "   1,234.50 "},
        {"rounds half away from zero", 2.345, 7, 2, true, "  2.35 "},
        {"negative", -1500, 8, 0, false, " -1,500 "},
        {"plain large", std::int64_t{1234567}, 10, 0, true, "  1234567 "},
        {"fraction below one with #", 0.4, 5, 0, true, "     "},
        {"two double-byte characters like four letters", "給与", 8, 0, false, "   給与 "},
        {"four letters", "Abcd", 8, 0, false, "   Abcd "},
        {"half-width katakana is narrow", "ｱｲ", 6, 0, false, "   ｱｲ "},
        {"long double-byte text", "給与明細書", 8, 0, false, " 給与明細書 "},
    };
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatColumn(c.value, c.width, 1, c.decimals, c.plain), c.expected);
    }
}

TEST(FormatColumnTest, ColumnTooNarrowForItsBlanksIsAnInvalidArgument)
{
    EXPECT_THROW(FormatColumn("給与明細", 4, 1, 0, false), TrappedError);
    EXPECT_THROW(FormatColumn(1, 1, 1, 0, false), TrappedError);
}

TEST(FormatThousandsTest, GroupsDigitsAndLeavesZeroEmpty)
{
    EXPECT_EQ(FormatThousands(1536, "kByte"), "1,536 kByte");
    EXPECT_EQ(FormatThousands("Byte"), " Byte"); // null value
    EXPECT_EQ(FormatThousands(""), "");
    EXPECT_EQ(FormatThousands(ColumnValue("8388608"), "Byte"), "8,388,608 Byte");
    EXPECT_EQ(FormatThousands(ColumnValue("12abc"), ""), "12");
    EXPECT_EQ(FormatThousands(0, "/ "), " / ");
    EXPECT_EQ(FormatThousands(1536.5, ""), "1,537");
}

TEST(ValTest, ReadsTheLeadingNumber)
{
    EXPECT_EQ(Val("  12 34abc"), 1234);
    EXPECT_EQ(Val("-3.5e2x"), -350);
    EXPECT_EQ(Val("1,536"), 1);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
}

TEST(ValTest, ReadsSignsExponentsAndLimitsAsTheClassicConversion)
{
    struct Row {
        const char* text;
        double value;
    };
    for (const Row& r : {
             Row{"+7", 7},
             Row{"-.5", -0.5},
             Row{"5.", 5},
             Row{"1.5d3", 1500}, // the runtime's double-precision exponent letter
             Row{"2E-2", 0.02},
             Row{"3e", 3}, // an exponent without digits ends the number
             Row{"4e+x", 4},
             Row{"1 e 2", 100}, // blanks are skipped inside the number too
             Row{"1e-400", 0},
             Row{"12経験値", 12}, // other characters end it
             Row{"１２", 0},      // full-width digits are not digits here
             Row{"-", 0},
         }) {
        SCOPED_TRACE(r.text);
        EXPECT_DOUBLE_EQ(Val(r.text), r.value);
    }
    EXPECT_EQ(Val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("-1e400"), -std::numeric_limits<double>::infinity());
}

TEST(OccurrenceTest, ScansWithoutOverlapAndCountsFromOne)
{
    const std::string crlf = "\r\n";
    EXPECT_EQ(CountOccurrences("a\r\nb\r\n", crlf), 2);
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);
    EXPECT_EQ(CountOccurrences("", crlf), 0);
    EXPECT_EQ(FindNthOccurrence("a\r\nb\r\n", crlf, 2), 5);
    EXPECT_EQ(FindNthOccurrence("aaaa", "aa", 2), 3);
    EXPECT_EQ(FindNthOccurrence("a\r\n", crlf, 2), 0);
    EXPECT_EQ(FindNthOccurrence("a\r\n", crlf, 0), 0);
}

// The position counts characters, as the line cutter that uses it does.
TEST(OccurrenceTest, PositionsCountCharactersNotBytes)
{
    const std::string crlf = "\r\n";
    EXPECT_EQ(FindNthOccurrence("経験\r\n値\r\n", crlf, 1), 3);
    EXPECT_EQ(FindNthOccurrence("経験\r\n値\r\n", crlf, 2), 6);
    EXPECT_EQ(FindNthOccurrence("😀\r\n", crlf, 1), 2);
    EXPECT_EQ(CountOccurrences("経\r\n験\r\n", crlf), 2);
}

// Blanks pad to a count of characters; the column's room is counted in CP932 bytes.
TEST(FormatColumnTest, PaddingCountsCharactersOfJapaneseText)
{
    const ColumnCase cases[] = {
        {"one double-byte character", "経", 6, 0, false, "   経 "},
        {"mixed widths", "経A", 8, 0, false, "    経A "},
        {"exactly filling", "経験値", 8, 0, false, " 経験値 "},
        {"a character without a code is one column", "😀", 4, 0, false, "  😀 "},
    };
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string column = FormatColumn(c.value, c.width, 1, c.decimals, c.plain);
        EXPECT_EQ(column, c.expected);
        EXPECT_EQ(ByteWidth(column), std::max(c.width, ByteWidth(c.expected)));
    }
}
