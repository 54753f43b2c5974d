#include "common/DebugLog.h"

#include "TempFolder.h"
#include "common/Cp932.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/TextFile.h"
#include "platform/sim/SimClock.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace kesmaro;
using namespace std::chrono;
namespace fs = std::filesystem;

namespace {

LocalDateTime at(int y, unsigned mo, unsigned d, int h, int mi, int s)
{
    return local_days(year(y) / month(mo) / day(d)) + hours(h) + minutes(mi) + seconds(s);
}

class DebugLogTest : public ::testing::Test {
protected:
    std::string logBytes() const { return ReadFileBytes(m_log.path()); }
    std::string backupBytes() const { return ReadFileBytes(m_log.backupPath()); }

    test::TempFolder m_dir;
    SimClock m_clock{at(2010, 2, 3, 9, 5, 0), 0};
    DebugLog m_log{PathToUtf8(m_dir.path()), m_clock};
};

} // namespace

TEST_F(DebugLogTest, EachStartMovesThePreviousLogToTheBackup)
{
    m_log.WriteDebugLog("first start", 1);
    m_log.WriteDebugLog("first run line");
    m_clock.advanceTo(61'000);
    m_log.WriteDebugLog("second start", 1);
    EXPECT_EQ(backupBytes(), "2010/02/03 09:05:00 first start\r\n"
                             "2010/02/03 09:05:00 first run line\r\n");
    EXPECT_EQ(logBytes(), "2010/02/03 09:06:01 second start\r\n");
    m_log.WriteDebugLog("third start", 1); // an older backup is replaced
    EXPECT_EQ(backupBytes(), "2010/02/03 09:06:01 second start\r\n");
}

TEST_F(DebugLogTest, ALogDeletedMidRunStartsAgainWithoutBackup)
{
    m_log.WriteDebugLog("start", 1);
    fs::remove(PathFromUtf8(m_log.path()));
    m_log.WriteDebugLog("after delete");
    EXPECT_EQ(logBytes(), "2010/02/03 09:05:00 after delete\r\n");
    EXPECT_FALSE(FileExists(m_log.backupPath()));
}

TEST_F(DebugLogTest, AnUnwritableLogNeverStopsTheCaller)
{
    SimClock clock{at(2010, 2, 3, 9, 5, 0), 0};
    DebugLog log(PathToUtf8(m_dir.path() / "missing" / "folder"), clock);
    log.WriteDebugLog("lost", 1);
    EXPECT_TRUE(log.lastWriteFailed());
    m_log.WriteDebugLog("fine");
    EXPECT_FALSE(m_log.lastWriteFailed());
}

// The file names and the lines are the same in a Japanese folder, and the lines go out in
// CP932 as the program has always written them.
TEST_F(DebugLogTest, WritesInAJapaneseFolderInCp932)
{
    const std::string folder = PathToUtf8(m_dir.path()) + "/ケスマロ記録";
    ASSERT_TRUE(fs::create_directories(PathFromUtf8(folder)));
    SimClock clock{at(2010, 2, 3, 9, 5, 0), 0};
    DebugLog log(folder, clock);
    EXPECT_EQ(log.path(), JoinPath(folder, "debug.txt"));
    EXPECT_EQ(log.backupPath(), JoinPath(folder, "debugBackUp.txt"));
    log.WriteDebugLog("起動", 1);
    log.WriteDebugLog("経験値～");
    log.WriteDebugLog("再起動", 1);
    EXPECT_FALSE(log.lastWriteFailed());
    EXPECT_EQ(ReadFileBytes(log.backupPath()), "2010/02/03 09:05:00 \x8b\x4e\x93\xae\r\n"
                                               "2010/02/03 09:05:00 \x8c\x6f\x8c\xb1\x92\x6c"
                                               "\x81\x60\r\n");
    TextLineReader reader(log.path());
    EXPECT_EQ(reader.readLine(), "2010/02/03 09:05:00 再起動");
    EXPECT_TRUE(reader.atEnd());
}

TEST_F(DebugLogTest, NowStampTextPadsEveryFieldBelowTheYear)
{
    SimClock clock{at(987, 12, 31, 23, 59, 59), 0};
    EXPECT_EQ(NowStampText(clock), "0987/12/31 23:59:59");
    EXPECT_EQ(NowStampText(m_clock), "2010/02/03 09:05:00");
}

TEST_F(DebugLogTest, TrapRunsEveryStatementAndReportsTheLastFailure)
{
    std::vector<int> ran;
    {
        Trap trap(m_log, "ChangeSuspend");
        trap([&] { ran.push_back(1); });
        EXPECT_FALSE(trap([&] { Raise(ErrSubscript); }));
        trap([&] { ran.push_back(3); });
        trap([&] { Raise(ErrOverflow); });
        EXPECT_TRUE(trap.failed());
    }
    {
        Trap quiet(m_log, "DisplayResult");
        quiet([] {});
    }
    {
        Trap collect(TrapPolicy::Collect);
        Trap silent(TrapPolicy::Silent);
        EXPECT_FALSE(collect([] { throw 42; }));
        EXPECT_FALSE(silent([] { Raise(ErrOverflow); }));
        EXPECT_EQ(collect.error()->number, ErrInternal);
        EXPECT_FALSE(silent.failed());
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    EXPECT_EQ(logBytes(), "2010/02/03 09:05:00 Error Trap : ChangeSuspend : CODE6  "
                          "Overflow\r\n");
}

TEST_F(DebugLogTest, TrapReportsAnOwnDescriptionInCp932)
{
    {
        Trap trap(m_log, "設定読込");
        trap([] { throw TrappedError(ErrFileNotFound, "ファイルなし"); });
    }
    EXPECT_EQ(DecodeCp932(logBytes()),
              "2010/02/03 09:05:00 Error Trap : 設定読込 : CODE53  ファイルなし\r\n");
}

TEST(TrappedErrorTest, EveryNumberHasItsStandardDescription)
{
    struct Row {
        int number;
        const char* description;
    };
    for (const Row& r : {
             Row{ErrInvalidArgument, "Invalid procedure call or argument"},
             Row{ErrOverflow, "Overflow"},
             Row{ErrOutOfMemory, "Out of memory"},
             Row{ErrSubscript, "Subscript out of range"},
             Row{ErrDivisionByZero, "Division by zero"},
             Row{ErrFileNotFound, "File not found"},
             Row{ErrPathNotFound, "Path not found"},
             Row{12345, "Application-defined or object-defined error"},
         }) {
        EXPECT_EQ(TrappedError(r.number).description, r.description) << r.number;
    }
}
