#include "common/TextFile.h"

#include "ErrorOf.h"
#include "TempFolder.h"
#include "common/Files.h"
#include "common/TrappedError.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace kesmaro;
namespace fs = std::filesystem;

namespace {

using test::errorOf;

class TextFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const
    {
        return PathToUtf8(m_dir.path()) + "/" + name;
    }
    std::size_t fileCount() const
    {
        std::size_t n = 0;
        for (const auto& entry : fs::directory_iterator(m_dir.path()))
            n += entry.is_regular_file() ? 1 : 0;
        return n;
    }
    test::TempFolder m_dir;
};

} // namespace

TEST_F(TextFileTest, AtomicWriteReplacesWholeFile)
{
    const std::string file = path("settings.ini");
    WriteTextLinesAtomic(file, {"old", "content"});
    WriteTextLinesAtomic(file, {"new", ""});
    EXPECT_EQ(ReadFileBytes(file), "new\r\n\r\n");
    // No temporary file is left beside it.
    EXPECT_EQ(fileCount(), 1U);
}

TEST_F(TextFileTest, ReaderSplitsEveryLineEndAndRaisesPastTheEnd)
{
    TextLineReader reader =
        TextLineReader::FromBytes(std::string_view("a\r\nb\nc\rd\r\n\r\ne", 13));
    std::vector<std::string> lines;
    while (!reader.atEnd())
        lines.push_back(reader.readLine());
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(reader.lineNumber(), 6);
    EXPECT_EQ(errorOf([&] { reader.readLine(); }), ErrPastEndOfFile);
    EXPECT_TRUE(TextLineReader::FromBytes("").atEnd());
}

TEST_F(TextFileTest, FailuresCarryTheirErrorNumbers)
{
    EXPECT_EQ(errorOf([&] { ReadFileBytes(path("missing.txt")); }), ErrFileNotFound);
    EXPECT_EQ(errorOf([&] { AppendTextLine(path("no/such/dir.txt"), {}); }), ErrPathNotFound);
    EXPECT_EQ(errorOf([&] { RewriteTextLine(path("no/such/dir.txt"), {}); }), ErrPathNotFound);
    EXPECT_EQ(errorOf([&] { WriteTextLinesAtomic(path("no/dir.ini"), {}); }), ErrPathNotFound);
    EXPECT_EQ(errorOf([&] { TextLineReader reader(path("missing.txt")); }), ErrFileNotFound);
    if (fs::exists("/dev/full")) {
        EXPECT_EQ(errorOf([] { AppendTextLine("/dev/full", "x"); }), ErrDiskFull);
    }
}

// Japanese folder and file names, Japanese lines: CP932 with CR LF on disk, UTF-8 in memory.
TEST_F(TextFileTest, JapaneseNamesAndLinesRoundTripThroughCp932)
{
    const std::string folder = path("記録 フォルダ");
    ASSERT_TRUE(fs::create_directory(PathFromUtf8(folder)));
    const std::string log = folder + "/ログ_経験値.txt";
    RewriteTextLine(log, "経験値");
    AppendTextLine(log, "ｱｲ～");
    RewriteTextLine(folder + "/単一.txt", "一行");
    WriteTextLinesAtomic(folder + "/設定.ini", {"[設定]", "名前=ケスマロ"});

    EXPECT_EQ(ReadFileBytes(log), "\x8c\x6f\x8c\xb1\x92\x6c\r\n\xb1\xb2\x81\x60\r\n");
    struct Row {
        std::string file;
        std::vector<std::string> lines;
    };
    for (const Row& r : {
             Row{log, {"経験値", "ｱｲ～"}},
             Row{folder + "/単一.txt", {"一行"}},
             Row{folder + "/設定.ini", {"[設定]", "名前=ケスマロ"}},
         }) {
        SCOPED_TRACE(r.file);
        TextLineReader reader(r.file);
        std::vector<std::string> lines;
        while (!reader.atEnd())
            lines.push_back(reader.readLine());
        EXPECT_EQ(lines, r.lines);
    }
    RewriteTextLine(log, "上書き"); // rewriting empties the file first
    EXPECT_EQ(SplitTextLines(ReadFileBytes(log)).size(), 1U);
}

TEST(SplitTextLinesTest, KeepsTheBytesOfEveryLine)
{
    EXPECT_EQ(SplitTextLines("経\r\n験\n\n"), (std::vector<std::string>{"経", "験", ""}));
    EXPECT_EQ(SplitTextLines("\r"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitTextLines("").empty());
}
