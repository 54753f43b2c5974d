#include "common/Paths.h"

#include "TempFolder.h"
#include "common/Files.h"
#include "common/OsCalls.h"
#include "common/TrappedError.h"
#include "common/Utf8.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

using namespace kesmaro;
namespace fs = std::filesystem;

namespace {

const std::string kSep(1, os::PathSeparator());

std::string utf8(const fs::path& path)
{
    return PathToUtf8(path);
}

// The path with '.' and '..' resolved and the platform's separators.
std::string native(const std::string& path)
{
    return PathToUtf8(PathFromUtf8(path).lexically_normal());
}

bool makeFolder(const std::string& path)
{
    std::error_code ec;
    fs::create_directories(PathFromUtf8(path), ec);
    return fs::is_directory(PathFromUtf8(path), ec);
}

bool makeFile(const std::string& path)
{
    return AppendLineAndClose(PathFromUtf8(path), "") == 0;
}

bool isEmptyFolder(const std::string& path)
{
    return fs::is_empty(PathFromUtf8(path));
}

// Sets (or, with nullopt, removes) an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const std::optional<std::string> old = get(name))
            m_old = *old;
        set(name, value);
    }
    ~ScopedEnv() { set(m_name.c_str(), m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    static std::optional<std::string> get(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void set(const char* name, const std::optional<std::string>& value)
    {
#ifdef _WIN32
        // Wide, so that a Japanese value reaches _wgetenv unchanged; "" removes it there.
        _wputenv_s(Utf8ToWide(name).c_str(), Utf8ToWide(value.value_or("")).c_str());
#else
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
#endif
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

// The per-user data folder of the tests: a temporary one, never the user's own.
#ifdef _WIN32
constexpr const char* kDataVariable = "LOCALAPPDATA";
#else
constexpr const char* kDataVariable = "XDG_DATA_HOME";
#endif

} // namespace

TEST(PathsTest, GetFileNameTakesTheLastComponent)
{
    EXPECT_EQ(GetFileName("/opt/kesmaro/ReadMe.txt"), "ReadMe.txt");
    EXPECT_EQ(GetFileName("ReadMe.txt"), "ReadMe.txt");
    EXPECT_EQ(GetFileName("/opt/kesmaro/"), "");
    EXPECT_EQ(GetFileName("http://example.org/help"), "help");
    EXPECT_EQ(GetFileName("/記録/経験値ログ.txt"), "経験値ログ.txt");
}

TEST(PathsTest, JoinPathAddsOneSeparator)
{
    EXPECT_EQ(JoinPath("a", "b.txt"), "a" + kSep + "b.txt");
    EXPECT_EQ(JoinPath("a/", "b.txt"), "a/b.txt");
    EXPECT_EQ(JoinPath("", "b.txt"), "b.txt");
    EXPECT_EQ(JoinPath("記録", "ログ"), "記録" + kSep + "ログ");
}

TEST(PathsTest, CreateFolderPathMakesEveryLevelAndEndsInASeparator)
{
    test::TempFolder dir;
    const std::string base = utf8(dir.path());
    for (const std::string& relative :
         {std::string("/a/b"), std::string("/記録/スクリーンショット")}) {
        SCOPED_TRACE(relative);
        std::string path = base + relative;
        CreateFolderPath(path);
        EXPECT_EQ(path, base + relative + kSep);
        EXPECT_TRUE(fs::is_directory(PathFromUtf8(base + relative)));
        CreateFolderPath(path); // existing levels are fine
        EXPECT_EQ(path, base + relative + kSep);
    }
    EXPECT_TRUE(FileExists(base + "/a"));
    EXPECT_TRUE(FileExists(base + "/記録"));
    EXPECT_FALSE(FileExists(base + "/c"));
    EXPECT_FALSE(FileExists(""));
}

TEST(PathsTest, CreateFolderPathRaisesWhenALevelIsAFileOrUnwritable)
{
    test::TempFolder dir;
    ASSERT_TRUE(makeFile(utf8(dir.path() / "plain")));
    std::string through = utf8(dir.path()) + "/plain/sub";
    EXPECT_THROW(CreateFolderPath(through), TrappedError);
    if (fs::exists("/proc/self")) {
        std::string underProc = "/proc/kesmaro-test/x";
        EXPECT_THROW(CreateFolderPath(underProc), TrappedError);
    }
}

TEST(PathsTest, TempFolderNestingComparesWholeComponents)
{
    const std::string temp = "/tmp";
    EXPECT_TRUE(IsInTempFolder("/tmp", temp));
    EXPECT_TRUE(IsInTempFolder("/tmp/archive/kesmaro", temp));
    EXPECT_TRUE(IsInTempFolder("/tmp/./archive/../x/", temp));
    EXPECT_TRUE(IsInTempFolder("/", temp)); // the temp folder inside the program's
    EXPECT_FALSE(IsInTempFolder("/home/me/tmp/kesmaro", temp));
    EXPECT_FALSE(IsInTempFolder("/tmpfiles/kesmaro", temp));
    EXPECT_FALSE(IsInTempFolder("/opt/kesmaro", temp));
    EXPECT_FALSE(IsInTempFolder("", temp));
    const std::string system = os::TempFolder();
    ASSERT_FALSE(system.ends_with(kSep));
    EXPECT_TRUE(IsInTempFolder(system + "/x"));
    EXPECT_TRUE(IsInTempFolder(system + "/解凍/ケスマロ"));
    EXPECT_FALSE(IsInTempFolder(system + "x/kesmaro")); // a sibling whose name starts alike
}

// Where settings and logs of an installed copy go, as the desktop's rules (and the Qt build
// before) resolve it.
TEST(PathsTest, UserDataFolderFollowsThePlatformsRules)
{
    struct Row {
        const char* name;
        std::optional<std::string> data;
        std::optional<std::string> home;
        std::string expected;
    };
#ifdef _WIN32
    const Row rows[] = {
        {"local application data", "C:\\Users\\me\\AppData\\Local", std::nullopt,
         "C:\\Users\\me\\AppData\\Local\\kesmaro"},
        {"Japanese user name", "C:\\Users\\太郎\\AppData\\Local", std::nullopt,
         "C:\\Users\\太郎\\AppData\\Local\\kesmaro"},
    };
#else
    const Row rows[] = {
        {"data home set", "/x/y", "/home/me", "/x/y/kesmaro"},
        {"data home relative, taken as it is", "rel/z", "/home/me", "rel/z/kesmaro"},
        {"data home empty", "", "/home/me/", "/home/me/.local/share/kesmaro"},
        {"data home unset", std::nullopt, "/home/太郎", "/home/太郎/.local/share/kesmaro"},
        {"no home: the root folder", std::nullopt, "", "/.local/share/kesmaro"},
        {"no home at all", std::nullopt, std::nullopt, "/.local/share/kesmaro"},
    };
#endif
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScopedEnv data(kDataVariable, row.data);
#ifndef _WIN32
        const ScopedEnv home("HOME", row.home);
#endif
        EXPECT_EQ(UserDataFolder(), row.expected);
    }
}

TEST(PathsTest, ProgramFolderIsTheExecutablesWhenWritableElseThePerUserOne)
{
    test::TempFolder dir;
    const std::string data = utf8(dir.path()) + "/データ";
    const ScopedEnv env(kDataVariable, data);
    const std::string portable = utf8(dir.path()) + "/持ち運び";
    ASSERT_TRUE(makeFolder(portable));
    EXPECT_EQ(ResolveProgramFolder(portable), native(portable));
    EXPECT_TRUE(isEmptyFolder(portable)); // the probe leaves nothing behind
    EXPECT_FALSE(FileExists(data));

    // A folder that cannot take a file: the per-user folder, created.
    const std::string missing = utf8(dir.path()) + "/無い";
    EXPECT_EQ(ResolveProgramFolder(missing), native(data + "/kesmaro"));
    EXPECT_TRUE(fs::is_directory(PathFromUtf8(data + "/kesmaro")));
    if (fs::exists("/proc/self")) {
        EXPECT_EQ(ResolveProgramFolder("/proc"), native(data + "/kesmaro"));
    }
}

// An installed copy (<prefix>/bin beside <prefix>/share/doc/kesmaro) writes into the per-user
// data folder even where its bin folder is writable, and leaves nothing there.
TEST(PathsTest, AnInstalledCopyUsesThePerUserFolderEvenWhenItsFolderIsWritable)
{
    test::TempFolder dir;
    const std::string prefix = utf8(dir.path()) + "/インストール先";
    const ScopedEnv env(kDataVariable, utf8(dir.path()) + "/data");
    const std::string bin = prefix + "/bin";
    ASSERT_TRUE(makeFolder(bin));
    ASSERT_TRUE(makeFolder(prefix + "/share/doc/kesmaro"));
    const std::string docs = native(prefix + "/share/doc/kesmaro");
    EXPECT_EQ(InstalledDocumentFolder(bin), docs);
    EXPECT_EQ(InstalledDocumentFolder(bin + "/"), docs);
    const std::string folder = ResolveProgramFolder(bin);
    EXPECT_EQ(folder, UserDataFolder());
    EXPECT_TRUE(fs::is_directory(PathFromUtf8(folder)));
    EXPECT_TRUE(isEmptyFolder(bin));
}

TEST(PathsTest, DocumentsComeFromBesideTheExecutableFirstThenTheInstalledFolder)
{
    const std::vector<std::string> documents{"ReadMeD.txt", "使用方法D.html"};
    struct Row {
        const char* name;
        bool besideHasOne, installedExists;
        const char* expected; // folder under the prefix
    };
    const Row rows[] = {
        {"build tree or portable copy", true, false, "bin"},
        {"portable copy that also finds an installed one", true, true, "bin"},
        {"installed", false, true, "share/doc/kesmaro"},
        {"no documents anywhere: reported beside the executable", false, false, "bin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempFolder dir;
        const std::string prefix = utf8(dir.path()) + "/ケスマロ";
        const std::string bin = prefix + "/bin";
        ASSERT_TRUE(makeFolder(bin));
        if (row.besideHasOne) {
            ASSERT_TRUE(makeFile(bin + "/" + documents[1]));
        }
        if (row.installedExists) {
            ASSERT_TRUE(makeFolder(prefix + "/share/doc/kesmaro"));
        }
        EXPECT_EQ(ResolveDocumentFolder(bin, documents), native(prefix + "/" + row.expected));
    }
}
