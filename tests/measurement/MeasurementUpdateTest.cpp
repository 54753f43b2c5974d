#include "measurement/MeasurementUpdate.h"

#include "ProgramFixture.h"
#include "common/Text.h"
#include "config/Defaults.h"
#include "platform/sim/SimServices.h"
#include "records/LoggingRun.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;
using namespace std::chrono;

namespace {

constexpr std::string_view kCrLf = "\r\n";

class MeasurementUpdateTest : public test::ProgramFixture {
protected:
    MeasurementUpdateTest()
    {
        ApplyDefaults(p.settings, dir.folder());
        p.graph.GraphData.emplace(sim.clock);
        p.LogStartStamp = "202405011200";
        p.measurement.ReadMoney = Currency::FromInteger(-1);
    }

    // One capture at `seconds` after the start: -1 for a value not read; Exp in digits.
    void measure(double seconds, int level, int expDigits, int money)
    {
        sim.scheduler.runUntil(static_cast<std::int64_t>(seconds * 1000));
        p.measurement.ReadLv = level;
        p.measurement.ReadExp = Currency::FromInteger(expDigits);
        p.measurement.ReadMoney = Currency::FromInteger(money);
        if (money >= 0)
            p.measurement.MoneyPair[1] = Currency::FromInteger(money);
        UpdateMeasurement(p);
    }

    // The lines of the text log; the last element is what follows the final line break.
    std::vector<std::string> txtLines() const
    {
        std::vector<std::string> lines;
        const std::string& text = p.txtLog.text();
        std::size_t begin = 0;
        for (std::size_t end; (end = text.find(kCrLf, begin)) != std::string::npos;
             begin = end + kCrLf.size())
            lines.push_back(text.substr(begin, end - begin));
        lines.push_back(text.substr(begin));
        return lines;
    }
    std::string lastLine() const
    {
        const std::vector<std::string> lines = txtLines();
        return lines.size() >= 2 ? lines[lines.size() - 2] : std::string();
    }
    const clsGraphFormat& newestSample() const { return p.graph.GraphData->Value(0); }
};

} // namespace

TEST_F(MeasurementUpdateTest, AFallOrAJumpOfThreeLevelsIsAnotherCharacter)
{
    for (int newLevel : {38, 34}) {
        SCOPED_TRACE(newLevel);
        p.txtLog.setText({});
        p.measurement = MeasurementState{};
        p.measurement.MoneyAreaMode = MoneyAreaSecond;
        p.results = ResultLabels{};
        measure(0, 35, 1234, 1000);
        measure(360, newLevel, 500, 2000);
        const std::string& text = p.txtLog.text();
        const std::size_t change = text.find("キャラクタチェンジ検出\r\n");
        ASSERT_NE(change, std::string::npos);
        const std::size_t report = text.find(" 経過: ", change);
        const std::size_t header = text.find(std::string(kLogColumnHeader) + "\r\n", report);
        ASSERT_NE(report, std::string::npos);
        ASSERT_NE(header, std::string::npos);
        EXPECT_GT(report, change);
        EXPECT_GT(header, report);
        EXPECT_TRUE(StartsWith(lastLine(), "05/01 12:06 ")) << lastLine();
        EXPECT_NE(lastLine().find("5.00 ％"), std::string::npos) << lastLine();
        EXPECT_EQ(p.measurement.MoneyAreaMode, MoneyAreaDetect);
        EXPECT_EQ(p.results.lblStartLv, std::to_string(newLevel));
        EXPECT_EQ(p.measurement.ExpClock[TrackPrevious], p.measurement.ExpClock[TrackCurrent]);
    }
}

TEST_F(MeasurementUpdateTest, ExpIdleWithCoinsMovingGivesAZeroExpSpan)
{
    measure(0, 35, 1234, 1000);
    measure(360, 35, 1234, 2800);
    EXPECT_EQ(p.measurement.ExpClock[TrackDifference], 0);
    EXPECT_TRUE(EndsWith(lastLine(), "    0.0    0.00 ％        18.0 ")) << lastLine();
}

TEST_F(MeasurementUpdateTest, UnreadableCoinsShowNotRecognisedAndGraphMinusOne)
{
    measure(0, 35, 1234, 1000);
    measure(359, 35, 1534, -1);
    EXPECT_TRUE(EndsWith(lastLine(), std::string("    5.9 ") + "  30.08 ％ " + "     未認識 "))
        << lastLine();
    EXPECT_EQ(newestSample().RateM, Currency::FromInteger(-1));
}

TEST_F(MeasurementUpdateTest, AFailedRecognitionRetriesIn15SecondsAndKeepsTheState)
{
    measure(0, 35, 1234, 1000);
    const MeasurementState before = p.measurement;
    measure(360, 35, -1, 1000);
    EXPECT_EQ(lastLine(), "05/01 12:06  認識失敗  Exp NG");
    EXPECT_EQ(p.measurement.NextCaptureTick, sim.clock.TickMs() + 15000);
    EXPECT_EQ(p.measurement.NextCaptureTime, DateTime::FromFields(2024, 5, 1, 12, 6, 15));
    EXPECT_EQ(p.measurement.ExpClock, before.ExpClock);
    EXPECT_EQ(p.measurement.ExpTrack, before.ExpTrack);
}

TEST(ExpPercentTest, ReadingsBecomePercentagesExactly)
{
    EXPECT_EQ(ExpPercent(Currency::FromInteger(1234)), Currency::FromRaw(123400));
    EXPECT_EQ(ExpPercent(Currency::FromInteger(-1)), Currency::FromRaw(-100));
    // More digits than a double holds: 9223372036854.77 itself.
    EXPECT_EQ(ExpPercent(Currency::FromInteger(922337203685477)),
              Currency::FromRaw(92233720368547700));
    EXPECT_EQ(ExpPercent(Currency::FromRaw(250)), Currency::FromRaw(2));
    EXPECT_EQ(ExpPercent(Currency::FromRaw(-350)), Currency::FromRaw(-4));
}

TEST_F(MeasurementUpdateTest, AHugeAveragingCountDoesNotStallACharacterChange)
{
    p.settings.GraphAveNum = 2147483647;
    measure(0, 35, 1234, 1000);
    measure(360, 80, 1234, 1000);
    EXPECT_NE(p.txtLog.text().find("キャラクタチェンジ検出"), std::string::npos);
}
