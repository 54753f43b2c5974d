#include "common/StringBuffer.h"

#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

QString chars(int n, char c = 'x')
{
    return QString(n, QLatin1Char(c));
}

} // namespace

TEST(StringBufferTest, GrowsInSteps256WhenTheContentWouldReachTheCapacity)
{
    clsStringBuffer fresh;
    EXPECT_EQ(fresh.BufferSize(), 1024);
    EXPECT_EQ(fresh.Text(), QString());

    clsStringBuffer almost;
    almost.Append(chars(1023));
    EXPECT_EQ(almost.BufferSize(), 1024);

    clsStringBuffer full;
    full.Append(chars(1024));
    EXPECT_EQ(full.BufferSize(), 1280);

    clsStringBuffer steps;
    steps.Append(chars(1000, 'a'));
    steps.Append(chars(600, 'b')); // 1600 >= 1024, 1280, 1536; < 1792
    EXPECT_EQ(steps.BufferSize(), 1792);
    EXPECT_EQ(steps.Text(), chars(1000, 'a') + chars(600, 'b'));

    clsStringBuffer lineEnd;
    lineEnd.Append(chars(1021));
    lineEnd.AppendLF(chars(1)); // 1021 + 1 + CR LF = 1024 reaches the capacity
    EXPECT_EQ(lineEnd.BufferSize(), 1280);
}

TEST(StringBufferTest, AppendVariantsSkipEmptyPieces)
{
    clsStringBuffer b;
    b.Append(QString());
    EXPECT_EQ(b.Text(), QString());
    b.AppendLF(QString());
    EXPECT_EQ(b.Text(), QStringLiteral("\r\n"));
    b.Append2(QString(), QStringLiteral("second"));
    b.Append2(QStringLiteral("first"), QString());
    b.Append2(QString(), QString());
    b.Append2LF(QStringLiteral("a"), QStringLiteral("b"));
    EXPECT_EQ(b.Text(), QStringLiteral("\r\nsecondfirstab\r\n"));
}

TEST(StringBufferTest, WritingTextReplacesTheContentAndMayGrow)
{
    clsStringBuffer b;
    b.setText(QStringLiteral("abcde"));
    b.setText(QStringLiteral("xy"));
    EXPECT_EQ(b.Text(), QStringLiteral("xy"));
    b.Append(QStringLiteral("z"));
    EXPECT_EQ(b.Text(), QStringLiteral("xyz"));
    b.setText(chars(2000));
    EXPECT_EQ(b.BufferSize(), 2048);
    EXPECT_EQ(b.Text().size(), 2000);
}

TEST(StringBufferTest, ResizingKeepsTheInvariant)
{
    clsStringBuffer b;
    b.Append(QStringLiteral("hello"));
    b.setBufferSize(2000);
    EXPECT_EQ(b.BufferSize(), 2000);
    EXPECT_EQ(b.Text(), QStringLiteral("hello"));
    b.setBufferSize(3); // below the content: the content is cut, one spare character kept
    EXPECT_EQ(b.BufferSize(), 3);
    EXPECT_EQ(b.Text(), QStringLiteral("he"));
    b.setBufferSize(0);
    b.setBufferSize(-5);
    EXPECT_EQ(b.BufferSize(), 3);
    b.Append(QStringLiteral("llo"));
    EXPECT_EQ(b.Text(), QStringLiteral("hello"));
    EXPECT_GT(b.BufferSize(), b.length());
}
