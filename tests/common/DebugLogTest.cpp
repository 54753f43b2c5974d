#include "common/DebugLog.h"

#include "common/TextFile.h"
#include "platform/sim/SimClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

LocalDateTime at(int y, unsigned mo, unsigned d, int h, int mi, int s)
{
    return local_days(year(y) / month(mo) / day(d)) + hours(h) + minutes(mi) + seconds(s);
}

class DebugLogTest : public ::testing::Test {
protected:
    QByteArray logBytes() const { return ReadFileBytes(m_log.path()); }
    QByteArray backupBytes() const { return ReadFileBytes(m_log.backupPath()); }

    QTemporaryDir m_dir;
    SimClock m_clock{at(2010, 2, 3, 9, 5, 0), 0};
    DebugLog m_log{m_dir.path(), m_clock};
};

} // namespace

TEST_F(DebugLogTest, EachStartMovesThePreviousLogToTheBackup)
{
    m_log.WriteDebugLog(QStringLiteral("first start"), 1);
    m_log.WriteDebugLog(QStringLiteral("first run line"));
    m_clock.advanceTo(61'000);
    m_log.WriteDebugLog(QStringLiteral("second start"), 1);
    EXPECT_EQ(backupBytes(), QByteArray("2010/02/03 09:05:00 first start\r\n"
                                        "2010/02/03 09:05:00 first run line\r\n"));
    EXPECT_EQ(logBytes(), QByteArray("2010/02/03 09:06:01 second start\r\n"));
    m_log.WriteDebugLog(QStringLiteral("third start"), 1); // an older backup is replaced
    EXPECT_EQ(backupBytes(), QByteArray("2010/02/03 09:06:01 second start\r\n"));
}

TEST_F(DebugLogTest, ALogDeletedMidRunStartsAgainWithoutBackup)
{
    m_log.WriteDebugLog(QStringLiteral("start"), 1);
    QFile::remove(m_log.path());
    m_log.WriteDebugLog(QStringLiteral("after delete"));
    EXPECT_EQ(logBytes(), QByteArray("2010/02/03 09:05:00 after delete\r\n"));
    EXPECT_FALSE(QFile::exists(m_log.backupPath()));
}

TEST_F(DebugLogTest, AnUnwritableLogNeverStopsTheCaller)
{
    SimClock clock{at(2010, 2, 3, 9, 5, 0), 0};
    DebugLog log(m_dir.path() + QStringLiteral("/missing/folder"), clock);
    log.WriteDebugLog(QStringLiteral("lost"), 1);
    EXPECT_TRUE(log.lastWriteFailed());
    m_log.WriteDebugLog(QStringLiteral("fine"));
    EXPECT_FALSE(m_log.lastWriteFailed());
}

TEST_F(DebugLogTest, NowStampTextPadsEveryFieldBelowTheYear)
{
    SimClock clock{at(987, 12, 31, 23, 59, 59), 0};
    EXPECT_EQ(NowStampText(clock), QStringLiteral("0987/12/31 23:59:59"));
    EXPECT_EQ(NowStampText(m_clock), QStringLiteral("2010/02/03 09:05:00"));
}

TEST_F(DebugLogTest, TrapRunsEveryStatementAndReportsTheLastFailure)
{
    std::vector<int> ran;
    {
        Trap trap(m_log, QStringLiteral("ChangeSuspend"));
        trap([&] { ran.push_back(1); });
        EXPECT_FALSE(trap([&] { Raise(ErrSubscript); }));
        trap([&] { ran.push_back(3); });
        trap([&] { Raise(ErrOverflow); });
        EXPECT_TRUE(trap.failed());
    }
    {
        Trap quiet(m_log, QStringLiteral("DisplayResult"));
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
    EXPECT_EQ(logBytes(), QByteArray("2010/02/03 09:05:00 Error Trap : ChangeSuspend : CODE6  "
                                     "Overflow\r\n"));
}
