#include "common/StringBuffer.h"

#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

std::string chars(std::size_t n, char c = 'x')
{
    return std::string(n, c);
}

std::string repeated(std::size_t n, const std::string& piece)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += piece;
    return out;
}

} // namespace

TEST(StringBufferTest, GrowsInSteps256WhenTheContentWouldReachTheCapacity)
{
    clsStringBuffer fresh;
    EXPECT_EQ(fresh.BufferSize(), 1024);
    EXPECT_EQ(fresh.Text(), "");

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

// Sizes count characters: 1023 three-byte characters still fit the first 1024.
TEST(StringBufferTest, SizesCountCharactersNotBytes)
{
    struct Row {
        const char* name;
        std::string piece;
        std::size_t count;
        std::int32_t bufferSize;
    };
    for (const Row& r : {
             Row{"ASCII below the capacity", "x", 1023, 1024},
             Row{"Japanese below the capacity", "経", 1023, 1024},
             Row{"Japanese reaching the capacity", "経", 1024, 1280},
             Row{"four-byte characters", "😀", 1024, 1280},
         }) {
        SCOPED_TRACE(r.name);
        clsStringBuffer b;
        b.Append(repeated(r.count, r.piece));
        EXPECT_EQ(b.BufferSize(), r.bufferSize);
        EXPECT_EQ(b.length(), static_cast<std::int32_t>(r.count));
    }
    clsStringBuffer cut;
    cut.Append("給与明細");
    cut.setBufferSize(3); // keeps two characters, never half of one
    EXPECT_EQ(cut.Text(), "給与");
    EXPECT_EQ(cut.length(), 2);
}

TEST(StringBufferTest, AppendVariantsSkipEmptyPieces)
{
    clsStringBuffer b;
    b.Append("");
    EXPECT_EQ(b.Text(), "");
    b.AppendLF("");
    EXPECT_EQ(b.Text(), "\r\n");
    b.Append2("", "second");
    b.Append2("first", "");
    b.Append2("", "");
    b.Append2LF("a", "b");
    EXPECT_EQ(b.Text(), "\r\nsecondfirstab\r\n");
    EXPECT_EQ(b.length(), 17);
}

TEST(StringBufferTest, WritingTextReplacesTheContentAndMayGrow)
{
    clsStringBuffer b;
    b.setText("abcde");
    b.setText("xy");
    EXPECT_EQ(b.Text(), "xy");
    b.Append("z");
    EXPECT_EQ(b.Text(), "xyz");
    b.setText(chars(2000));
    EXPECT_EQ(b.BufferSize(), 2048);
    EXPECT_EQ(b.Text().size(), 2000U);
}

TEST(StringBufferTest, ResizingKeepsTheInvariant)
{
    clsStringBuffer b;
    b.Append("hello");
    b.setBufferSize(2000);
    EXPECT_EQ(b.BufferSize(), 2000);
    EXPECT_EQ(b.Text(), "hello");
    b.setBufferSize(3); // below the content: the content is cut, one spare character kept
    EXPECT_EQ(b.BufferSize(), 3);
    EXPECT_EQ(b.Text(), "he");
    b.setBufferSize(0);
    b.setBufferSize(-5);
    EXPECT_EQ(b.BufferSize(), 3);
    b.Append("llo");
    EXPECT_EQ(b.Text(), "hello");
    EXPECT_GT(b.BufferSize(), b.length());
}
