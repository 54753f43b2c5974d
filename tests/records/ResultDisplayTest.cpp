#include "records/ResultDisplay.h"

#include "ProgramFixture.h"
#include "common/TrappedError.h"

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

std::string blanks(int n)
{
    return std::string(static_cast<std::size_t>(n), ' ');
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class ResultDisplayTest : public ProgramFixture {
protected:
    ResultDisplayTest()
        : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {
        p.LogStartStamp = "200905172130";
        DisplayResult(p, DisplayMode::Clear);
    }

    // What a capture leaves behind: the three readings, and a valid coin reading also in the
    // money pair. A negative money means "not read".
    void capture(std::int32_t level, std::int64_t expHundredths, std::int64_t money = -1)
    {
        MeasurementState& m = p.measurement;
        m.ReadLv = level;
        m.ReadExp = Currency::FromInteger(expHundredths);
        m.ReadMoney = Currency::FromInteger(money < 0 ? -1 : money);
        if (money >= 0)
            m.MoneyPair[1] = Currency::FromInteger(money);
    }
    void update(std::int32_t level, std::int64_t expHundredths, std::int64_t money = -1)
    {
        capture(level, expHundredths, money);
        DisplayResult(p, DisplayMode::Update);
    }
    void at(int hour, int minute, int second)
    {
        const std::int64_t target =
            ((hour * 60 + minute) * 60 + second) * 1000LL - (21 * 60 + 30) * 60 * 1000LL;
        sim.scheduler.runUntil(target);
    }

    const ResultLabels& labels() const { return p.results; }
};

} // namespace

TEST_F(ResultDisplayTest, ClearEmptiesEveryLabelAndMarksMoneyMissing)
{
    update(57, 1234, 1000);
    p.results.lblCapture = {"57", "1234", "1000", "x", "y"};
    DisplayResult(p, DisplayMode::Clear);
    const ResultLabels& r = labels();
    for (const std::string& text :
         {r.lblStartTime, r.lblEndTime, r.lblElapseTime, r.lblStartLv, r.lblElapseExp,
          r.lblStartMoney, r.lblEndMoney, r.lblCapture[2]})
        EXPECT_TRUE(text.empty()) << text;
    EXPECT_EQ(r.lblCapture[3], "x");
    const Currency none = Currency::FromInteger(-1);
    EXPECT_EQ(p.measurement.MoneyPair[0], none);
    EXPECT_EQ(p.measurement.MoneyPair[1], none);
}

TEST_F(ResultDisplayTest, ExpGainCountsLevelsAndFoldsAboveHundred)
{
    struct Row {
        const char* name;
        std::int32_t startLv;
        std::int64_t startExp;
        std::int32_t lv;
        std::int64_t exp;
        const char* levelGain;
        const char* expGain;
    };
    const Row rows[] = {
        {"same level", 57, 1234, 57, 1534, "0", "3.00 ％"},
        {"level up", 57, 9000, 58, 1000, "1", "20.00 ％"},
        {"two levels, above 100", 57, 4000, 59, 5025, "2", "10.00 ％"},
        {"exactly 100 stays", 57, 4000, 58, 4000, "1", "100.00 ％"},
        {"half rounds to even, down", 57, 4000, 58, 4050, "1", "0.00 ％"},
        {"half rounds to even, up", 57, 4000, 58, 4150, "1", "2.00 ％"},
        {"loss", 57, 5000, 57, 4000, "0", "-10.00 ％"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DisplayResult(p, DisplayMode::Clear);
        update(row.startLv, row.startExp);
        update(row.lv, row.exp);
        EXPECT_EQ(labels().lblElapseLv, row.levelGain);
        EXPECT_EQ(labels().lblElapseExp, row.expGain);
    }
}

TEST_F(ResultDisplayTest, MoneyGainTrailsTheEndMoneyByOneUpdate)
{
    update(57, 1234, 1000);
    update(57, 1300, 1500);
    EXPECT_EQ(labels().lblElapseMoney, "0");
    EXPECT_EQ(labels().lblEndMoney, "1500");
    update(57, 1400, 1800);
    update(57, 1500); // coins not read: the money labels stay
    EXPECT_EQ(labels().lblElapseMoney, "500");
    EXPECT_EQ(labels().lblEndMoney, "1800");
}

TEST_F(ResultDisplayTest, MoneyReadOnlyLaterBecomesTheStartMoney)
{
    update(57, 1234);
    EXPECT_EQ(labels().lblStartMoney, "------");
    update(57, 1300, 1200);
    EXPECT_EQ(labels().lblStartMoney, "1200");
    update(57, 1400, 1500);
    update(57, 1500, 1900);
    EXPECT_EQ(labels().lblElapseMoney, "300");
}

TEST(ElapsedText, CountsMinuteBoundaries)
{
    struct Row {
        const char* end;
        const char* start;
        const char* text;
    };
    const Row rows[] = {
        {"2009/05/18 00:00:01", "2009/05/17 23:59:59", "0日 0時 1分間"},
        {"2009/05/17 21:30:59", "2009/05/17 21:30:00", "0日 0時 0分間"},
        {"2009/05/19 21:31:00", "2009/05/17 21:30:00", "2日 0時 1分間"},
        {"2008/03/01 00:00:00", "2008/02/28 00:00:00", "2日 0時 0分間"},
        {"2009/05/17 21:29:00", "2009/05/17 21:30:00", "0日 0時 -1分間"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.start) + " -> " + row.end);
        EXPECT_EQ(ElapsedText(row.end, row.start), row.text);
    }
}

TEST(ElapsedText, UnreadableDateIsTypeMismatch)
{
    for (const char* text : {"", "------", "2009/02/30 00:00:00", "2009/05/17 24:00:00"}) {
        SCOPED_TRACE(text);
        try {
            ElapsedText("2009/05/17 21:30:00", text);
            ADD_FAILURE() << "no error";
        } catch (const TrappedError& e) {
            EXPECT_EQ(e.number, ErrTypeMismatch);
        }
    }
}

TEST_F(ResultDisplayTest, UpdateSkipsAFailingStatementAndReportsIt)
{
    update(57, 1234);
    at(21, 40, 0);
    update(57, 1300);
    p.results.lblStartTime = "not a date";
    update(58, 100);
    EXPECT_EQ(labels().lblElapseTime, "0日 0時 10分間") << "kept from before";
    EXPECT_EQ(labels().lblEndLv, "58");
    EXPECT_EQ(logLines(),
              std::vector<std::string>{"Error Trap : DisplayResult : CODE13  Type mismatch"});
}

TEST_F(ResultDisplayTest, ClosingReportEdgeCases)
{
    update(57, 1234);
    update(57, 1300);
    p.txtLog.setText({});
    DisplayResult(p, DisplayMode::ClosingReport);
    EXPECT_EQ(labels().lblEndMoney, "");
    EXPECT_TRUE(
        contains(p.txtLog.text(), "    終了  Lv:  57    Exp:  13.00 ％   ｺｲﾝ:" + blanks(15) + "0 "))
        << "no coin reading shows no negative coins";

    p.results.lblEndLv = "-1";
    p.results.lblEndExp = "-0.01 ％";
    p.txtLog.setText({});
    DisplayResult(p, DisplayMode::ClosingReport);
    EXPECT_FALSE(contains(p.txtLog.text(), "終了"))
        << "both end labels negative leave out the end row";

    p.LogStartStamp.clear();
    p.txtLog.setText({});
    const int before = view.results;
    DisplayResult(p, DisplayMode::ClosingReport);
    EXPECT_TRUE(p.txtLog.text().empty()) << "without a run";
    EXPECT_EQ(view.results, before + 1);
}
