#include "common/Cp932.h"

#include <gtest/gtest.h>

using namespace kesmaro;

TEST(Cp932Test, ByteWidthCountsHalfWidthAsOneAndEverythingElseAsTwo)
{
    struct Row {
        const char16_t* text;
        int width;
    };
    for (const Row& r : {
             Row{u"ABC 123", 7},
             Row{u"ｱｲｳｴｵﾞ", 6}, // half-width katakana: one byte each
             Row{u"アイウ", 6}, // full-width katakana
             Row{u"給与明細", 8},
             Row{u"～＋－×", 8}, // full-width signs and the multiplication sign
             Row{u"･･･", 3},     // the half-width dots of the log messages
             Row{u"😀", 1},       // no code: one default character
             Row{u"", 0},
         }) {
        const QString text = QString::fromUtf16(r.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(ByteWidth(text), r.width);
        EXPECT_EQ(EncodeCp932(text).size(), r.width);
    }
}

TEST(Cp932Test, WaveDashIsFullWidthTildeBothWays)
{
    EXPECT_EQ(EncodeCp932(u"～"), QByteArray("\x81\x60", 2));
    EXPECT_EQ(DecodeCp932(QByteArray("\x81\x60", 2)), QString(QChar(0xFF5E)));
    // Text pasted from other systems with the JIS wave dash is stored as the same code.
    EXPECT_EQ(EncodeCp932(QString(QChar(0x301C))), QByteArray("\x81\x60", 2));
}

TEST(Cp932Test, InvalidBytesDecodeToReplacementWithoutSwallowingTheNext)
{
    // 0x81 followed by an invalid trail byte, a lone lead byte at the end.
    const QString text = DecodeCp932(QByteArray("\x81\x20"
                                                "A\x82",
                                                4));
    ASSERT_EQ(text.size(), 4);
    EXPECT_EQ(text[0], QChar(QChar::ReplacementCharacter));
    EXPECT_EQ(text[1], QLatin1Char(' '));
    EXPECT_EQ(text[2], QLatin1Char('A'));
    EXPECT_EQ(text[3], QChar(QChar::ReplacementCharacter));
}
