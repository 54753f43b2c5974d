#include "common/Files.h"

#include "TempFolder.h"
#include "common/ErrorNumbers.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace kesmaro;
namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(Files, Utf8PathsNameTheSameFileBothWays)
{
    test::TempFolder dir;
    const std::string folder = PathToUtf8(dir.path()) + "/記録フォルダ";
    const fs::path path = PathFromUtf8(folder + "/ログ_経験値.txt");
    ASSERT_TRUE(fs::create_directories(PathFromUtf8(folder)));
    ASSERT_EQ(AppendLineAndClose(path, "a"), 0);
    EXPECT_EQ(PathToUtf8(path.filename()), "ログ_経験値.txt");
    // The folder lists the name that was written, not a code-page approximation of it.
    const auto entry = *fs::directory_iterator(PathFromUtf8(folder));
    EXPECT_EQ(PathToUtf8(entry.path().filename()), "ログ_経験値.txt");
    // Element by element: Windows joins with a backslash but reads '/' as a separator too.
    EXPECT_EQ(PathFromUtf8("a/経/b.txt"), fs::path("a") / PathFromUtf8("経") / "b.txt");
}

TEST(Files, AppendedLinesEndInCrLfAndEachIsWrittenWhenTheCallReturns)
{
    test::TempFolder dir;
    const fs::path path = dir.path() / "debug.txt";
    ASSERT_EQ(AppendLineAndClose(path, "first"), 0);
    EXPECT_EQ(ReadWholeFile(path).bytes, "first\r\n");
    ASSERT_EQ(AppendLineAndClose(path, ""), 0);
    ASSERT_EQ(AppendLineAndClose(path, std::string("\x82\xa0 sjis\0z", 9)), 0);
    EXPECT_EQ(ReadWholeFile(path).bytes, "first\r\n\r\n\x82\xa0 sjis\0z\r\n"s);
}

TEST(Files, AtomicReplacementLeavesTheWholeNewContentAndNoTemporaryFile)
{
    test::TempFolder dir;
    const fs::path path = dir.path() / "settings.ini";
    ASSERT_EQ(AppendLineAndClose(path, "old content that is longer"), 0);
    for (const std::string& bytes :
         {std::string("new\r\n"), std::string(), std::string(200000, 'x')}) {
        ASSERT_EQ(ReplaceFileAtomic(path, bytes), 0);
        EXPECT_EQ(ReadWholeFile(path).bytes, bytes);
    }
    ASSERT_EQ(ReplaceFileAtomic(dir.path() / "created.ini", "c"), 0);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        names.push_back(PathToUtf8(e.path().filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"created.ini", "settings.ini"}));
}

TEST(Files, FailuresComeBackAsTheClassicErrorNumbers)
{
    test::TempFolder dir;
    const fs::path missingFolder = dir.path() / "missing" / "file.txt";
    const fs::path missingFile = dir.path() / "file.txt";
    const fs::path folder = dir.path() / "folder";
    fs::create_directory(folder);
    EXPECT_EQ(AppendLineAndClose(missingFolder, "x"), ErrPathNotFound);
    EXPECT_EQ(ReplaceFileAtomic(missingFolder, "x"), ErrPathNotFound);
    EXPECT_EQ(ReadWholeFile(missingFolder).error, ErrPathNotFound);
    EXPECT_EQ(ReadWholeFile(missingFile).error, ErrFileNotFound);
    EXPECT_EQ(AppendLineAndClose(folder, "x"), ErrPathFileAccess);
    EXPECT_EQ(ReplaceFileAtomic(folder, "x"), ErrPathFileAccess);
    EXPECT_EQ(ReadWholeFile(folder).error, ErrPathFileAccess);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(ReadWholeFile(folder).bytes, "");
}
