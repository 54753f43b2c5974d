#include "records/RecordFile.h"

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "common/Paths.h"
#include "common/TextFile.h"

#include <algorithm>
#ifdef _WIN32
#include <windows.h>
#endif
#include <filesystem>
#include <string>
#include <vector>

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

std::string blanks(std::size_t n)
{
    return std::string(n, ' ');
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = line.find(" ,"); at != std::string::npos; at = line.find(" ,", start)) {
        parts.push_back(line.substr(start, at - start));
        start = at + 2;
    }
    parts.push_back(line.substr(start));
    return parts;
}

std::string fromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

const std::string kTextHeaderBytes =
    fromHex("208c8e93fa208e9e8d8f2020202020204c7620202020202020202045787020202020202020202020"
            "202020bab2dd2020202020202020208a6c93be45787020202020202020202020208a6c93bebab2dd"
            "20202020208c6f89df2895aa292020204578708e9e8b8b2825292020202020bab2dd8e9e8b8b286b"
            "29200d0a");

std::string lineBytes(const std::string& line)
{
    return EncodeCp932(line) + "\r\n";
}

std::size_t occurrences(std::string_view text, std::string_view part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + 1))
        ++n;
    return n;
}

RecordValues sampleValues()
{
    RecordValues v;
    v.stamp = "05/17 21:36";
    v.level = 57;
    v.exp = Currency::FromDouble(12.34);
    v.money = Currency::FromInteger(1234567);
    v.expGain = Currency::FromInteger(3);
    v.moneyGain = Currency::FromInteger(3000);
    v.expMinutes = Currency::FromDouble(6.0);
    v.expRate = Currency::FromInteger(30);
    v.moneyMinutes = Currency::FromDouble(6.0);
    v.moneyRate = Currency::FromInteger(30);
    return v;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The record line

TEST(RecordLine, CsvFieldsCarryNoCommaAndKeepTheWidths)
{
    RecordValues v = sampleValues();
    v.expRate = Currency::FromDouble(1234.5);
    v.moneyRate = Currency::FromDouble(98765.43);
    v.moneyGain = Currency::FromInteger(-12345678);
    const std::string line = BuildRecordLine(v, true);
    const std::vector<std::string> csv = fields(line);
    ASSERT_EQ(csv.size(), 10u);
    for (const std::string& field : csv) {
        SCOPED_TRACE(field);
        EXPECT_EQ(field.find(','), std::string::npos);
    }
    EXPECT_EQ(csv[3], blanks(8) + "1234567 ");
    EXPECT_EQ(csv[5], blanks(7) + "-12345678 ");
    EXPECT_EQ(csv[7], blanks(5) + "1234.50 ");
    EXPECT_EQ(csv[9], blanks(5) + "98765.43 ");
    EXPECT_EQ(ByteWidth(line), 135);
}

TEST(RecordLine, ZeroGainShowsTheDigitAndZeroRateItsDecimals)
{
    RecordValues v = sampleValues();
    v.expMinutes = Currency::FromDouble(5.9); // 359 s
    v.moneyGain = Currency{};
    v.moneyRate = Currency{};
    const std::vector<std::string> csv = fields(BuildRecordLine(v, true));
    EXPECT_EQ(csv[5], blanks(15) + "0 ");
    EXPECT_EQ(csv[6], blanks(5) + "5.9 ");
    EXPECT_EQ(csv[9], blanks(9) + "0.00 ");
}

// ---------------------------------------------------------------------------------------------
// Names and places

TEST(RecordFileName, FollowsThePeriodAndLayoutSettings)
{
    const struct {
        bool monthly, csv;
        const char* name;
    } rows[] = {{true, false, "給与明細200905月.txt"},
                {true, true, "給与明細200905月.csv"},
                {false, false, "給与明細200905172130.txt"},
                {false, true, "給与明細200905172130.csv"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings s;
        s.SaveFolder = "/data/records";
        s.SaveFile = "給与明細";
        s.MonthlyAppend = row.monthly;
        s.SaveCsv = row.csv;
        const RecordTarget t = RecordFileTarget(s, "200905172130", "/prog");
        EXPECT_EQ(t.folder, JoinPath(std::string("/data/records"), "log"));
        EXPECT_EQ(t.path, JoinPath(t.folder, row.name));
        EXPECT_EQ(t.header, row.csv ? kRecordHeaderCsv : kRecordHeaderText);
    }
    Settings noFolder;
    EXPECT_EQ(RecordFileTarget(noFolder, "200905172130", "/prog").folder,
              JoinPath(std::string("/prog"), "log"));
}

// ---------------------------------------------------------------------------------------------
// Writing

class RecordFileTest : public ProgramFixture {
protected:
    RecordFileTest()
        : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {
        Settings& s = p.settings;
        s.SaveFolder = JoinPath(dir.file("records"), "deep");
        s.SaveFile = "給与明細";
        s.MonthlyAppend = true;
        s.SaveCsv = false;
        p.LogStartStamp = "200905172130";
    }

    std::string path() const
    {
        return RecordFileTarget(p.settings, p.LogStartStamp, p.programFolder).path;
    }
    std::string bytes(const std::string& file) const
    {
        return FileExists(file) ? ReadFileBytes(file) : std::string();
    }
    std::string bytes() const { return bytes(path()); }

    // A regular file where a folder should be: no folder can be made below it, also for a user
    // who may write anywhere.
    std::string block(const std::string& name)
    {
        const std::string path = dir.write(name);
        EXPECT_FALSE(path.empty()) << name;
        return path;
    }
    void header() { WriteRecordFile(p, "", RecordWrite::Header); }
    void record(const std::string& line) { WriteRecordFile(p, line, RecordWrite::Line); }

    int txtLogLines(std::string_view part) const
    {
        return static_cast<int>(occurrences(p.txtLog.text(), part));
    }
    int debugLines(std::string_view part) const
    {
        const std::vector<std::string> lines = logLines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
            return line.find(part) != std::string::npos;
        }));
    }
    static bool remove(const std::string& file)
    {
        std::error_code ec;
        return std::filesystem::remove(PathFromUtf8(file), ec);
    }
};

TEST_F(RecordFileTest, AFileDeletedMidRunGetsHeaderAndTheLineThatFoundItMissing)
{
    header();
    record("one");
    ASSERT_TRUE(remove(path()));
    record("two");
    record("three");
    EXPECT_EQ(bytes(), kTextHeaderBytes + lineBytes("two") + lineBytes("three"));
    EXPECT_EQ(txtLogLines("記録ファイル"), 0) << "a missing file is no failure";
}

TEST_F(RecordFileTest, NothingHappensWithoutARun)
{
    p.LogStartStamp.clear();
    header();
    record("x");
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(p.settings.SaveFolder)));
}

TEST_F(RecordFileTest, UnwritableFolderKeepsLinesAndWritesThemInOrderOnRecovery)
{
    const std::string blocker = block("blocker");
    p.settings.SaveFolder = JoinPath(blocker, "sub");
    header();
    record("one");
    record("two");
    EXPECT_EQ(txtLogLines("記録ファイルに書き込めません（CODE76"), 1);
    EXPECT_EQ(debugLines("Record File Write Failed : CODE76  Path not found"), 1);

    ASSERT_TRUE(remove(blocker));
    record("three");
    EXPECT_EQ(bytes(), kTextHeaderBytes + lineBytes("one") + lineBytes("two") + lineBytes("three"));
    EXPECT_EQ(txtLogLines("書き込みが回復しました。保持していた記録 2 行"), 1);
    EXPECT_EQ(debugLines("Record File Write Recovered : 2 Lines Written"), 1);

    record("four");
    EXPECT_EQ(txtLogLines("回復しました"), 1) << "the recovery is told once";
}

#ifdef _WIN32
// A spreadsheet holds an open CSV file without write sharing: the program keeps its lines until
// the file is released and then writes them in order.
TEST_F(RecordFileTest, AFileHeldOpenWithoutWriteSharingKeepsItsLinesUntilReleased)
{
    header();
    record("before");
    const HANDLE held = CreateFileW(PathFromUtf8(path()).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    record("one");
    record("two");
    EXPECT_EQ(bytes(), kTextHeaderBytes + lineBytes("before"));
    EXPECT_EQ(debugLines("Record File Write Failed : CODE70  Permission denied"), 1);
    EXPECT_EQ(txtLogLines("記録ファイルに書き込めません（CODE70  Permission denied）"), 1);

    CloseHandle(held);
    record("three");
    EXPECT_EQ(bytes(), kTextHeaderBytes + lineBytes("before") + lineBytes("one") +
                           lineBytes("two") + lineBytes("three"));
    EXPECT_EQ(txtLogLines("書き込みが回復しました。保持していた記録 2 行"), 1);
}
#endif

// Linux only: the full disk is /dev/full.
#ifndef _WIN32
TEST_F(RecordFileTest, FullDiskReportsOnceAndLosesNothing)
{
    header();
    record("before");
    // The record file turns into a device that refuses every byte, as a full disk does.
    ASSERT_TRUE(remove(path()));
    std::error_code linked;
    std::filesystem::create_symlink("/dev/full", PathFromUtf8(path()), linked);
    ASSERT_FALSE(linked) << linked.message();
    record("one");
    record("two");
    EXPECT_EQ(debugLines("Record File Write Failed : CODE61  Disk full"), 1);
    EXPECT_EQ(txtLogLines("記録ファイルに書き込めません（CODE61  Disk full）"), 1);

    ASSERT_TRUE(remove(path()));
    record("three");
    EXPECT_EQ(bytes(), kTextHeaderBytes + lineBytes("one") + lineBytes("two") + lineBytes("three"));
}
#endif

TEST_F(RecordFileTest, KeptLinesGoToTheFileOfTheirOwnRun)
{
    p.settings.MonthlyAppend = false;
    const std::string blocker = block("records");
    header();
    record("run A");
    const std::string fileA = path();
    p.LogStartStamp = "200905172245";
    ASSERT_TRUE(remove(blocker));
    header();
    record("run B");
    EXPECT_EQ(bytes(fileA), kTextHeaderBytes + lineBytes("run A"));
    EXPECT_EQ(bytes(), kTextHeaderBytes + lineBytes("run B"));
}

TEST_F(RecordFileTest, BacklogKeepsTheNewestTenThousandLines)
{
    const std::string blocker = block("records");
    for (int i = 1; i <= kRecordBacklogLimit + 5; ++i)
        record(std::to_string(i));
    EXPECT_EQ(p.recordFile.backlog.size(), static_cast<std::size_t>(kRecordBacklogLimit));
    EXPECT_EQ(debugLines("Record File Backlog Full"), 1);

    ASSERT_TRUE(remove(blocker));
    record("last");
    std::vector<std::string> lines;
    const std::string file = bytes();
    std::size_t from = 0;
    for (std::size_t at; (at = file.find('\n', from)) != std::string::npos; from = at + 1)
        lines.push_back(file.substr(from, at - from));
    lines.push_back(file.substr(from));
    ASSERT_EQ(lines.size(), kRecordBacklogLimit + 3U); // header, the kept lines, "last", ""
    EXPECT_EQ(lines[1], "6\r");
    EXPECT_EQ(lines[kRecordBacklogLimit + 1], "last\r");
    EXPECT_EQ(debugLines("5 Lines Dropped"), 1);
}
