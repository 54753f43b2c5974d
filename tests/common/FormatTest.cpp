#include "common/Format.h"

#include "common/TrappedError.h"

#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

struct ColumnCase {
    const char* name;
    ColumnValue value;
    int width;
    int decimals;
    bool plain;
    const char16_t* expected;
};

} // namespace

TEST(FormatColumnTest, RightAlignsInByteColumnsAndWidensWhenTooLong)
{
    const ColumnCase cases[] = {
        {"grouped integer", 1234567, 12, 0, false, u"  1,234,567 "},
        {"zero shows its digit", 0, 6, 0, false, u"    0 "},
        {"plain decimals", 3.5, 8, 2, true, u"   3.50 "},
        {"boolean", true, 8, 0, false, u"   True "},
        {"too long widens", 12345, 6, 0, false, u" 12,345 "},
        {"grouped decimals", Currency::FromDouble(1234.5), 12, 2, false, u"   1,234.50 "},
        {"rounds half away from zero", 2.345, 7, 2, true, u"  2.35 "},
        {"negative", -1500, 8, 0, false, u" -1,500 "},
        {"plain large", std::int64_t{1234567}, 10, 0, true, u"  1234567 "},
        {"fraction below one with #", 0.4, 5, 0, true, u"     "},
        {"two double-byte characters like four letters", QStringLiteral("給与"), 8, 0, false,
         u"   給与 "},
        {"four letters", QStringLiteral("Abcd"), 8, 0, false, u"   Abcd "},
        {"half-width katakana is narrow", QStringLiteral("ｱｲ"), 6, 0, false, u"   ｱｲ "},
        {"long double-byte text", QStringLiteral("給与明細書"), 8, 0, false, u" 給与明細書 "},
    };
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatColumn(c.value, c.width, 1, c.decimals, c.plain),
                  QString::fromUtf16(c.expected));
    }
}

TEST(FormatColumnTest, ColumnTooNarrowForItsBlanksIsAnInvalidArgument)
{
    EXPECT_THROW(FormatColumn(QStringLiteral("給与明細"), 4, 1, 0, false), TrappedError);
    EXPECT_THROW(FormatColumn(1, 1, 1, 0, false), TrappedError);
}

TEST(FormatThousandsTest, GroupsDigitsAndLeavesZeroEmpty)
{
    EXPECT_EQ(FormatThousands(1536, QStringLiteral("kByte")), QStringLiteral("1,536 kByte"));
    EXPECT_EQ(FormatThousands(QStringLiteral("Byte")), QStringLiteral(" Byte")); // null value
    EXPECT_EQ(FormatThousands(QString()), QString());
    EXPECT_EQ(FormatThousands(ColumnValue(QStringLiteral("8388608")), QStringLiteral("Byte")),
              QStringLiteral("8,388,608 Byte"));
    EXPECT_EQ(FormatThousands(ColumnValue(QStringLiteral("12abc")), QString()),
              QStringLiteral("12"));
    EXPECT_EQ(FormatThousands(0, QStringLiteral("/ ")), QStringLiteral(" / "));
    EXPECT_EQ(FormatThousands(1536.5, QString()), QStringLiteral("1,537"));
}

TEST(ValTest, ReadsTheLeadingNumber)
{
    EXPECT_EQ(Val(QStringLiteral("  12 34abc")), 1234);
    EXPECT_EQ(Val(QStringLiteral("-3.5e2x")), -350);
    EXPECT_EQ(Val(QStringLiteral("1,536")), 1);
    EXPECT_EQ(Val(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(Val(QStringLiteral("abc")), 0);
    EXPECT_EQ(Val(QString()), 0);
}

TEST(OccurrenceTest, ScansWithoutOverlapAndCountsFromOne)
{
    const QString crlf = QStringLiteral("\r\n");
    EXPECT_EQ(CountOccurrences(QStringLiteral("a\r\nb\r\n"), crlf), 2);
    EXPECT_EQ(CountOccurrences(QStringLiteral("aaaa"), QStringLiteral("aa")), 2);
    EXPECT_EQ(CountOccurrences(QString(), crlf), 0);
    EXPECT_EQ(FindNthOccurrence(QStringLiteral("a\r\nb\r\n"), crlf, 2), 5);
    EXPECT_EQ(FindNthOccurrence(QStringLiteral("aaaa"), QStringLiteral("aa"), 2), 3);
    EXPECT_EQ(FindNthOccurrence(QStringLiteral("a\r\n"), crlf, 2), 0);
    EXPECT_EQ(FindNthOccurrence(QStringLiteral("a\r\n"), crlf, 0), 0);
}
