#include "ConfigFileFixture.h"
#include "common/Paths.h"

#include <filesystem>
#include <functional>
#include <gmock/gmock.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

using namespace kesmaro;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

const char* const kScreen = "検査領域追従選択";
const char* const kColour1 = "EXP基準パターン選択1/4";
const char* const kRead = "設定ファイル読込み";
const char* const kWrite = "設定ファイル書き込み";

const char* const kOldFileText = "古い設定ファイルを読み込みました。\r\n"
                                 "　　新しい項目を追加した設定ファイルを再作成します。\r\n"
                                 "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。\r\n";
const char* const kUnreadableText =
    "読込みできない設定ファイルです。\r\n"
    "　　初期値で設定ファイルを再作成します。\r\n"
    "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。\r\n";
const char* const kFolderText =
    "時給記録フォルダが不正のため\r\nデフォルトフォルダに変更しました。";

} // namespace

// ---------------------------------------------------------------------------------------------
// The writer

using ConfigWriterTest = ConfigFileFixture;

TEST_F(ConfigWriterTest, DefaultsWrittenReadAndWrittenAgainGiveTheSameBytes)
{
    m_settings = defaults();
    ConfigFile(m_ctx, ConfigMode::Write);
    const auto first = contents(file());
    ASSERT_TRUE(first);

    reset();
    EXPECT_EQ(ConfigFileReadV230(m_ctx, file()), ConfigReadResult::Done);
    ConfigFile(m_ctx, ConfigMode::Write);
    EXPECT_EQ(contents(file()), first);
    EXPECT_THAT(titles(), IsEmpty());
}

TEST_F(ConfigWriterTest, ValuesSurviveASaveAndALoad)
{
    struct Row {
        const char* name;
        std::function<void(Settings&)> edit;
    };
    const Row rows[] = {
        {"commas and wide texts",
         [](Settings& s) {
             s.SaveFolder = "/home/ユーザー/a,b";
             s.SaveFile = ",月,報";
             s.StartUpPath = {"C:\\Tools\\a,b.exe", "/opt/x,"};
             s.SaveFormat = "あいうえおかきく";
             s.SearchWindowClass = "Game,Window";
             s.PatternString[2][10] = ",AB,CD";
         }},
        {"empty texts after a folder with commas, extreme numbers",
         [](Settings& s) {
             s.SaveFolder = "/a,b";
             s.SaveFile.clear();
             s.SaveFormat.clear();
             s.CaptureInterval = INT32_MIN;
             s.GraphAveNum = INT32_MAX;
             s.WindowPosition = {-2048, 4096, 0, -7};
             s.BeepMode = -9;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Settings saved = defaults();
        row.edit(saved);
        Settings loaded;
        loaded.SearchWindowClass = saved.SearchWindowClass;
        ConfigContext ctx{loaded, m_prompter, log, folder()};
        EXPECT_EQ(ReadConfigBytes(ctx, encode(ConfigFileLines(saved)), ConfigLayout::V230),
                  ConfigReadResult::Done);
        EXPECT_EQ(ConfigFileLines(loaded), ConfigFileLines(saved));
    }
}

TEST_F(ConfigWriterTest, LineBreakInsideATextKeepsTheFileReadable)
{
    m_settings = defaults();
    m_settings.SaveFile = "a\r\nb";
    ConfigFile(m_ctx, ConfigMode::Write);
    EXPECT_EQ(ConfigFileReadV230(m_ctx, file()), ConfigReadResult::Done);
    EXPECT_EQ(m_settings.SaveFile, "a  b");
}

// ---------------------------------------------------------------------------------------------
// The readers

class ConfigReaderTest : public ConfigFileFixture {
protected:
    // Reads a default file with line `line` (1-based) replaced by `text`.
    ConfigReadResult readWith(int line, const std::string& text)
    {
        std::vector<std::string> lines = ConfigFileLines(defaults());
        lines[line - 1] = text;
        reset();
        return ReadConfigBytes(m_ctx, encode(lines), ConfigLayout::V230);
    }
};

TEST_F(ConfigReaderTest, FieldRules)
{
    struct Row {
        const char* name;
        int line; // 1-based line of a default file replaced by `text`
        std::string text;
        std::function<void(const Settings&)> check;
    };
    const Row rows[] = {
        {"blanks and tabs around a number", 8, "\t 12 \t,  c",
         [](const Settings& s) { EXPECT_EQ(s.CaptureInterval, 12); }},
        {"flag word in any case", 7, " false ,c",
         [](const Settings& s) { EXPECT_FALSE(s.AutoStart); }},
        {"number as a flag", 11, "  1 ,c", [](const Settings& s) { EXPECT_TRUE(s.SaveCsv); }},
        {"half rounds to even, down", 13, " 2.5 ,c",
         [](const Settings& s) { EXPECT_EQ(s.LagCancelTime, 2); }},
        {"half rounds to even, up", 14, "3.5,c",
         [](const Settings& s) { EXPECT_EQ(s.StartDelay, 4); }},
        {"sound mode True", 9, "   True ,c", [](const Settings& s) { EXPECT_EQ(s.BeepMode, 1); }},
        {"sound mode of two characters", 9, "  12 ,c",
         [](const Settings& s) { EXPECT_EQ(s.BeepMode, 12); }},
        {"sound mode of three characters is a flag", 9, "100,c",
         [](const Settings& s) { EXPECT_EQ(s.BeepMode, 1); }},
        {"pattern trimmed", 28, "  ABCD \t ,     c",
         [](const Settings& s) { EXPECT_EQ(s.PatternString[0][0], "ABCD"); }},
        {"comment left out", 7, "   False ", [](const Settings& s) { EXPECT_FALSE(s.AutoStart); }},
        {"hand-edited comment holding commas", 10, "/x , 記録 , saved, here",
         [](const Settings& s) {
             EXPECT_EQ(s.SaveFolder, "/x");
             EXPECT_EQ(s.SaveFile, "記録");
         }},
        {"areas 4 and 5 take the sizes of areas 2 and 3", 3, "1,2,60,12,c",
         [](const Settings& s) {
             EXPECT_EQ(s.CaptureArea[1], (CaptureRect{1, 2, 60, 12}));
             EXPECT_EQ(s.CaptureArea[3], (CaptureRect{0, 0, 60, 12}));
             EXPECT_EQ(s.CaptureArea[4], (CaptureRect{846, 43, 179, 9}));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readWith(row.line, row.text), ConfigReadResult::Done);
        row.check(m_settings);
    }
    EXPECT_THAT(logged(), Not(Contains(StartsWith("Error Trap"))));
}

TEST_F(ConfigReaderTest, TextsThatDoNotConvertFailTheRead)
{
    struct Row {
        const char* name;
        int line;
        std::string text;
        const char* logLine;
    };
    const Row rows[] = {
        {"number too large", 8, "2147483648,c", "CODE6  Overflow"},
        {"not a number", 8, "12abc,c", "CODE13  Type mismatch"},
        {"not a flag", 7, "yes,c", "CODE13  Type mismatch"},
        {"missing number", 2, "1,2,3", "CODE62  Input past end of file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(PathFromUtf8(log.path()));
        EXPECT_EQ(readWith(row.line, row.text), ConfigReadResult::Failed);
        EXPECT_THAT(logged(),
                    ElementsAre(std::string("Error Trap : ConfigFileReadV230 : ") + row.logLine));
    }
}

TEST_F(ConfigReaderTest, AnyLineEndReads)
{
    const std::string crlf = encode(ConfigFileLines(defaults()));
    for (const char* end : {"\n", "\r"}) {
        SCOPED_TRACE(end[0] == '\n' ? "LF" : "CR");
        reset();
        EXPECT_EQ(ReadConfigBytes(m_ctx, ReplaceAll(crlf, "\r\n", end), ConfigLayout::V230),
                  ConfigReadResult::Done);
        EXPECT_EQ(ConfigFileLines(m_settings), ConfigFileLines(defaults()));
    }
}

TEST_F(ConfigReaderTest, OldLayoutFillsWhatItHolds)
{
    put(file(), sample("v220.ini"));
    m_settings.CaptureArea[3] = m_settings.CaptureArea[4] = {7, 7, 7, 7};
    m_settings.WindowPosition = {5, 5, 5, 5};
    EXPECT_EQ(ConfigFileReadV220(m_ctx, file()), ConfigReadResult::Done);
    EXPECT_EQ(m_settings.CaptureArea[0], (CaptureRect{400, 700, 50, 14}));
    EXPECT_EQ(m_settings.CaptureArea[3], (CaptureRect{7, 7, 7, 7}));
    EXPECT_EQ(m_settings.WindowPosition, (CaptureRect{5, 5, 5, 5}));
    EXPECT_EQ(m_settings.SaveFormat, ".jpg90");
    EXPECT_EQ(m_settings.BinaryMask[2], 10);
    EXPECT_EQ(m_settings.PatternString[1][10], "E10");
    EXPECT_THAT(logged(), ElementsAre("Target Change : Gamebryo Application"));
}

TEST_F(ConfigReaderTest, AnotherWindowClassIsAskedFor)
{
    const struct {
        const char* fileClass;
        bool asked, accepted;
    } rows[] = {{"Gamebryo Application", false, false},
                {"Game", false, false}, // four characters or fewer mean the current class
                {"Game.exe", true, true},
                {"Game.exe", true, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fileClass << (row.accepted ? " accepted" : ""));
        std::filesystem::remove(PathFromUtf8(log.path()));
        m_prompter.clearAsked();
        if (row.asked)
            m_prompter.queue(row.accepted ? PromptAnswer::Yes : PromptAnswer::No);
        EXPECT_EQ(readWith(65, std::string(row.fileClass) + "     , 検索ウィンドウ名"),
                  row.asked ? ConfigReadResult::Asked : ConfigReadResult::Done);
        const std::string chosen = row.accepted ? "Game.exe" : "Gamebryo Application";
        EXPECT_EQ(m_settings.SearchWindowClass, chosen);
        EXPECT_EQ(logged(),
                  std::vector<std::string>(row.accepted ? 2 : 1, "Target Change : " + chosen));
        ASSERT_EQ(m_prompter.asked().size(), row.asked ? 1u : 0u);
        if (row.asked) {
            EXPECT_EQ(m_prompter.asked()[0].prompt.text,
                      "ターゲットは Game.exe でよろしいいですか？\r\n"
                      "「いいえ」のときは[Gamebryo Application]");
        }
    }
}

TEST(ConfigVersionTest, EightCharactersFromTheFirstVer)
{
    EXPECT_EQ(ConfigFileVersion(kProgramTitle), "Ver.2.30");
    EXPECT_EQ(ConfigFileVersion("x Ver.2.20 Ver.2.30"), "Ver.2.20");
    EXPECT_EQ(ConfigFileVersion("ver.2.30"), "");
    EXPECT_EQ(ConfigFileVersion("Ver.2"), "Ver.2");
}

// ---------------------------------------------------------------------------------------------
// The mode chain: what is asked, what the record holds, and which files are left behind

using ConfigFileTest = ConfigFileFixture;

TEST_F(ConfigFileTest, CurrentFileIsReadAndLeftAsItIs)
{
    std::vector<std::string> lines = ConfigFileLines(defaults());
    lines[7] = "9,hand-edited";
    const std::string original = encode(lines);
    put(file(), original);
    EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Read);
    EXPECT_THAT(titles(), IsEmpty());
    EXPECT_EQ(m_settings.CaptureInterval, 9);
    EXPECT_EQ(contents(file()), original);
    EXPECT_FALSE(contents(backup()));
}

TEST_F(ConfigFileTest, AskedWindowClassRewritesTheFileWhateverTheAnswer)
{
    for (PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No}) {
        SCOPED_TRACE(answer == PromptAnswer::Yes ? "Yes" : "No");
        std::vector<std::string> lines = ConfigFileLines(defaults());
        lines[64] = "Game.exe     , c";
        put(file(), encode(lines));
        m_settings.SearchWindowClass = kDefaultWindowClass;
        m_prompter.clearAsked();
        m_prompter.queue(answer);
        EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Write);
        EXPECT_THAT(titles(), ElementsAre("ターゲット変更選択"));
        lines[64] = std::string(answer == PromptAnswer::Yes ? "Game.exe" : "Gamebryo Application") +
                    "     , 検索ウィンドウ名";
        EXPECT_EQ(contents(file()), encode(lines));
        EXPECT_FALSE(contents(backup()));
    }
}

TEST_F(ConfigFileTest, MissingRecordFolderIsResetAndSaved)
{
    Settings s = defaults();
    s.SaveFolder = "/nonexistent/records";
    put(file(), encode(ConfigFileLines(s)));
    EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Write);
    ASSERT_THAT(titles(), ElementsAre(kRead));
    EXPECT_EQ(m_prompter.asked()[0].prompt.text, kFolderText);
    EXPECT_EQ(m_settings.SaveFolder, folder());
    EXPECT_EQ(contents(file()), sample("default-fullscreen-yellow.ini"));
    EXPECT_FALSE(contents(backup()));
}

TEST_F(ConfigFileTest, OldFileIsKeptAsBackupAndRewritten)
{
    struct Row {
        const char* name;
        std::string folderInFile;
        std::vector<std::string> titles;
    };
    const Row rows[] = {
        {"record folder exists", "{folder}", {kRead, kColour1}},
        {"record folder missing", "/nonexistent", {kRead, kRead, kColour1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<std::string> v220 = contents(KESMARO_TEST_DATA "/config/v220.ini");
        ASSERT_TRUE(v220);
        const std::string original = ReplaceAll(ReplaceAll(*v220, "{folder}", row.folderInFile),
                                                "{folder}", EncodeCp932(folder()));
        put(file(), original);
        reset();
        m_prompter.clearAsked();
        EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Write);
        EXPECT_EQ(titles(), row.titles);
        EXPECT_EQ(m_prompter.asked()[0].prompt.text, kOldFileText);
        EXPECT_EQ(contents(backup()), original);
        EXPECT_EQ(contents(file()), encode(ConfigFileLines(m_settings)));

        // Kept from the old file, the glyph sets chosen anew.
        EXPECT_EQ(m_settings.CaptureInterval, 10);
        EXPECT_EQ(m_settings.SaveFolder, folder());
        EXPECT_EQ(m_settings.PatternString, defaults().PatternString);
        // The rewritten file gives areas 4 and 5 the sizes of areas 2 and 3.
        EXPECT_EQ(ConfigFileReadV230(m_ctx, file()), ConfigReadResult::Done);
        EXPECT_EQ(m_settings.CaptureArea[3], (CaptureRect{0, 0, 48, 10}));
        EXPECT_EQ(m_settings.CaptureArea[4], (CaptureRect{0, 0, 170, 9}));
    }
}

TEST_F(ConfigFileTest, UnreadableFileIsKeptAsBackupAndReplacedByDefaults)
{
    std::vector<std::string> current = ConfigFileLines(defaults());
    current[0] = "Kesmaro  for  Dragonica    ver.2.30b2";
    std::vector<std::string> broken = ConfigFileLines(defaults());
    broken[20] = "True, many, words";
    const std::pair<const char*, std::string> rows[] = {
        {"empty file", std::string()},
        {"lower-case version", encode(current)},
        {"current layout with a bad line", encode(broken)},
        {"binary", std::string("\x81\x00\xff\r\n\x82", 6)},
    };
    for (const auto& [name, original] : rows) {
        SCOPED_TRACE(name);
        put(file(), original);
        put(backup(), "previous generation");
        m_prompter.clearAsked();
        EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Write);
        ASSERT_THAT(titles(), ElementsAre(kRead, kScreen, kScreen, kColour1));
        EXPECT_EQ(m_prompter.asked()[0].prompt.text, kUnreadableText);
        EXPECT_EQ(contents(backup()), original);
        EXPECT_EQ(contents(file()), sample("default-fullscreen-yellow.ini"));
    }
    EXPECT_THAT(logged(), Not(Contains(StartsWith("Error Trap : ConfigFile :"))));
}

TEST_F(ConfigFileTest, EntryModesRunTheRestOfTheChain)
{
    struct Row {
        const char* name;
        ConfigMode mode;
        std::vector<std::string> titles;
        std::int32_t expThreshold;
    };
    const std::vector<std::string> all = {kScreen, kScreen, kColour1, "EXP基準パターン選択2/4"};
    const auto noStep = static_cast<ConfigMode>(8);
    const Row rows[] = {
        {"reset", ConfigMode::Reset, all, 107},
        {"screen mode", ConfigMode::ScreenMode, all, 107},
        {"colour", ConfigMode::Colour, {kColour1, "EXP基準パターン選択2/4"}, 107},
        {"write", ConfigMode::Write, {}, 99},
        {"no step", noStep, {}, 99},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(PathFromUtf8(file()));
        m_settings = defaults();
        m_settings.CaptureInterval = 77;
        m_settings.BinaryThreshold[1] = 99;
        m_prompter.clearAsked();
        if (row.mode <= ConfigMode::ScreenMode) {
            m_prompter.queue(PromptAnswer::Yes);
            m_prompter.queue(PromptAnswer::Ok);
        }
        m_prompter.queue(PromptAnswer::No);
        m_prompter.queue(PromptAnswer::Yes);
        EXPECT_EQ(ConfigFile(m_ctx, row.mode), row.mode == noStep ? noStep : ConfigMode::Write);
        EXPECT_EQ(titles(), row.titles);
        EXPECT_EQ(m_settings.BinaryThreshold[1], row.expThreshold);
        EXPECT_EQ(m_settings.CaptureInterval, row.mode == ConfigMode::Reset ? 6 : 77);
        EXPECT_FALSE(contents(backup()));
        if (row.mode == noStep)
            EXPECT_FALSE(contents(file()));
        else
            EXPECT_EQ(contents(file()), encode(ConfigFileLines(m_settings)));
    }
}

// ---------------------------------------------------------------------------------------------
// Failures

// A full disk is made with a file size limit, which Windows does not have.
#ifndef _WIN32
namespace {

// Files may grow to `bytes` only, as on a full disk; the process is told by an error, not a
// signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

} // namespace

TEST_F(ConfigFileTest, FailedSaveIsReportedAndKeepsTheOldFile)
{
    const std::string original = sample("default-fullscreen-yellow.ini");
    put(file(), original);
    m_settings = defaults();
    m_settings.CaptureInterval = 30;
    {
        const FileSizeLimit limit(1024);
        EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Write), ConfigMode::Write);
    }
    ASSERT_THAT(titles(), ElementsAre(kWrite));
    EXPECT_EQ(m_prompter.asked()[0].prompt.text, "設定をファイルに保存できませんでした。");
    EXPECT_THAT(logged(), ElementsAre(StartsWith("Error Trap : ConfigFile 2 : CODE")));
    EXPECT_EQ(contents(file()), original);
    EXPECT_EQ(m_settings.CaptureInterval, 30);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2U); // no temporary file left over
}
#endif

TEST_F(ConfigFileTest, FailedBackupKeepsTheUnreadableFile)
{
    const std::string original("not a settings file\r\n");
    put(file(), original);
    ASSERT_TRUE(std::filesystem::create_directories(PathFromUtf8(JoinPath(backup(), "occupied"))));
    EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Write);
    EXPECT_THAT(titles(), ElementsAre(kRead, kScreen, kScreen, kColour1, kWrite));
    EXPECT_THAT(logged(), Contains(StartsWith("Error Trap : ConfigFile : CODE")));
    EXPECT_THAT(logged(), Not(Contains(StartsWith("Error Trap : ConfigFile 2"))));
    EXPECT_EQ(contents(file()), original);
    EXPECT_EQ(m_settings.CaptureInterval, 6); // the defaults still hold in memory
}

TEST_F(ConfigFileTest, SettingsPathThatIsAFolderIsSurvived)
{
    ASSERT_TRUE(std::filesystem::create_directories(PathFromUtf8(JoinPath(file(), "inside"))));
    EXPECT_EQ(ConfigFile(m_ctx, ConfigMode::Read), ConfigMode::Write);
    EXPECT_EQ(titles().front(), kRead);
    EXPECT_EQ(titles().back(), kWrite);
    EXPECT_THAT(logged(), Contains(StartsWith("Error Trap : ConfigFileReadV220 : CODE")));
    EXPECT_EQ(m_settings.CaptureInterval, 6);
}
