#include "measurement/StatusLine.h"

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "common/TextFile.h"
#include "measurement/CaptureCycle.h"
#include "recognition/Recognition.h"
#include "records/LoggingRun.h"

#include <gtest/gtest.h>
#include <string>

using namespace kesmaro;

namespace {

class StatusLineTest : public test::ProgramFixture {
protected:
    StatusLineTest() : ProgramFixture({.start = test::At(2024, 5, 1, 10), .defaults = true})
    {
        p.settings.StartDelay = 0;
        // The captures are the test's own: the timer only has to exist for the run.
        p.timers.timCaptureInterval = sim.scheduler.CreateTimer([] {});
        p.timers.timCaptureInterval->setInterval(kCaptureTickMs);
    }

    // A capture of these values at `minutes` after the start.
    void captureAt(int minutes, const char* lv, const char* exp, const char* coins)
    {
        show(lv, exp, coins);
        sim.scheduler.runUntil(std::int64_t{minutes} * 60 * 1000);
        CaptureImage(p);
    }

    StatusTexts status() const { return ComputeStatusLine(p); }
};

} // namespace

TEST(StatusLineFormat, ApproximateDurations)
{
    const struct {
        std::optional<double> seconds;
        const char* text;
    } cases[] = {
        {std::nullopt, "―"},
        {-1.0, "―"},
        {0.0, "1分未満"},
        {59.0, "1分未満"},
        {60.0, "約1分"},
        {89.0, "約1分"},
        {90.0, "約2分"},
        {59 * 60.0 + 29, "約59分"},
        {59 * 60.0 + 31, "約1時間"},
        {83 * 60.0, "約1時間23分"},
        {23 * 3600.0 + 59 * 60, "約23時間59分"},
        {24 * 3600.0, "約1日"},
        {27 * 3600.0 + 10 * 60, "約1日3時間"},
        {1000.0 * 24 * 3600, "999日以上"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApproximateDuration(c.seconds), c.text) << (c.seconds ? *c.seconds : -999.0);
}

TEST(StatusLineFormat, ElapsedTimes)
{
    EXPECT_EQ(ElapsedText(-5), "1分未満");
    EXPECT_EQ(ElapsedText(59'999), "1分未満");
    EXPECT_EQ(ElapsedText(5 * 60'000), "5分");
    EXPECT_EQ(ElapsedText(65 * 60'000), "1時間5分");
    EXPECT_EQ(ElapsedText((51 * 60 + 7) * 60'000LL), "2日3時間");
    // Unlike the approximate durations, whole hours and days keep their zero part.
    EXPECT_EQ(ElapsedText(60 * 60'000), "1時間0分");
    EXPECT_EQ(ElapsedText(24 * 60 * 60'000LL), "1日0時間");
}

TEST(StatusLineFormat, RateTexts)
{
    const struct {
        std::optional<double> rate;
        const char* text;
    } expCases[] = {
        {std::nullopt, "―"},
        {3.214, "3.21%/h"},
        {40.0, "40.00%/h"},
        {-10.0, "-10.00%/h"},
        // Exact halves go away from zero, whichever neighbour is even.
        {0.125, "0.13%/h"},
        {0.375, "0.38%/h"},
        {2.625, "2.63%/h"},
        {-0.125, "-0.13%/h"},
        {-7.875, "-7.88%/h"},
        // Decimal halves that a double holds just below stay below.
        {2.675, "2.67%/h"},
        {1.005, "1.00%/h"},
        // A falling rate too small to show keeps its sign; a negative zero does not.
        {-0.001, "-0.00%/h"},
        {-0.0, "0.00%/h"},
        {123456.785, "123456.79%/h"},
    };
    for (const auto& c : expCases)
        EXPECT_EQ(ExpRateText(c.rate), c.text) << (c.rate ? *c.rate : -999.0);
    EXPECT_EQ(CoinRateText(std::nullopt), "―");
    EXPECT_EQ(CoinRateText(12344.5), "12345/h");
    EXPECT_EQ(CoinRateText(-0.4), "0/h");
    EXPECT_EQ(CoinRateText(-2.5), "-3/h");
}

TEST(StatusLineFormat, TimeToNextLevelFromKnownRates)
{
    const Currency half = Currency::FromInteger(50);
    EXPECT_EQ(SecondsToNextLevel(half, std::nullopt), std::nullopt);
    EXPECT_EQ(SecondsToNextLevel(half, 0.0), std::nullopt);
    EXPECT_EQ(SecondsToNextLevel(half, -3.5), std::nullopt);
    EXPECT_DOUBLE_EQ(*SecondsToNextLevel(half, 25.0), 7200.0);
    EXPECT_DOUBLE_EQ(*SecondsToNextLevel(Currency::FromDouble(98.5), 90.0), 60.0);
    // A reading past 100 (a table that reads more) leaves nothing to go, not a negative time.
    EXPECT_DOUBLE_EQ(*SecondsToNextLevel(Currency::FromInteger(101), 10.0), 0.0);
}

TEST_F(StatusLineTest, NoRunShowsDashes)
{
    const StatusTexts t = status();
    EXPECT_EQ(t.nextLevel, "次のLvまで ―（直近60分 ―）");
    EXPECT_EQ(t.rolling, "直近60分  Exp ―  ｺｲﾝ ―");
    EXPECT_TRUE(t.health.empty());
    // The debug log is CP932: the dashes must survive it, not turn into "?".
    log.WriteDebugLog(t.logText());
    const std::string written = DecodeCp932(ReadFileBytes(log.path()));
    EXPECT_NE(written.find(t.logText()), std::string::npos) << written;
    EXPECT_EQ(written.find('?'), std::string::npos);
}

TEST_F(StatusLineTest, RunAndRollingRatesGiveTheTimeToTheNextLevel)
{
    LoggingControl(p, LoggingMode::Start);
    captureAt(0, "35", "10.00", "1000");
    // One sample spans no time: no rate yet.
    EXPECT_EQ(status().nextLevel, "次のLvまで ―（直近60分 ―）");
    captureAt(30, "35", "20.00", "2000");
    captureAt(60, "35", "30.00", "3000");
    captureAt(90, "35", "60.00", "9000");

    // Run: 50 % in 90 min = 33.33 %/h; 40 % to go = 72 min. Rolling (30..90): 40 %/h = 60 min.
    const StatusTexts t = status();
    EXPECT_EQ(t.nextLevel, "次のLvまで 約1時間12分（直近60分 約1時間）");
    EXPECT_EQ(t.rolling, "直近60分  Exp 40.00%/h  ｺｲﾝ 7000/h");
    EXPECT_TRUE(t.health.empty());

    // A level-up counts on: 35 60% -> 36 20% in 30 min is 60 %/h.
    p.extra.RollingMinutes = 30;
    captureAt(120, "36", "20.00", "9000");
    EXPECT_EQ(status().rolling, "直近30分  Exp 120.00%/h  ｺｲﾝ 0/h");
}

TEST_F(StatusLineTest, TheRollingWindowDropsOldSamples)
{
    LoggingControl(p, LoggingMode::Start);
    captureAt(0, "35", "10.00", "1000");
    captureAt(30, "35", "20.00", "1000");
    captureAt(90, "35", "60.00", "1000");
    // Ten minutes back from the newest sample hold it alone.
    EXPECT_FALSE(RollingRates(p.rates, 10).expPerHour);
    EXPECT_DOUBLE_EQ(*RollingRates(p.rates, 60).expPerHour, 40.0);
    EXPECT_NEAR(*RollingRates(p.rates, 240).expPerHour, 33.333, 0.001);

    // Samples older than the longest window go; the run's rate keeps its first sample.
    captureAt(400, "35", "70.00", "1000");
    ASSERT_EQ(p.rates.recent.size(), 1U);
    EXPECT_FALSE(RollingRates(p.rates, 240).expPerHour);
    EXPECT_NEAR(*RunRates(p.rates).expPerHour, 60.0 / 400 * 60, 1e-4);
    EXPECT_EQ(*RunRates(p.rates).coinsPerHour, 0.0);
}

TEST_F(StatusLineTest, AZeroOrFallingRateShowsADash)
{
    LoggingControl(p, LoggingMode::Start);
    captureAt(0, "35", "50.00", "1000");
    captureAt(30, "35", "50.00", "1000");
    EXPECT_EQ(status().nextLevel, "次のLvまで ―（直近60分 ―）");
    captureAt(60, "35", "40.00", "1000"); // a death
    EXPECT_EQ(status().nextLevel, "次のLvまで ―（直近60分 ―）");
    EXPECT_EQ(status().rolling, "直近60分  Exp -10.00%/h  ｺｲﾝ 0/h");
}

TEST_F(StatusLineTest, AnotherCharacterStartsTheRatesAfresh)
{
    LoggingControl(p, LoggingMode::Start);
    captureAt(0, "35", "10.00", "1000");
    captureAt(30, "35", "20.00", "1000");
    captureAt(40, "12", "90.00", "50");
    EXPECT_FALSE(RunRates(p.rates).expPerHour);
    captureAt(100, "13", "10.00", "50");
    EXPECT_DOUBLE_EQ(*RunRates(p.rates).expPerHour, 20.0);
}

TEST_F(StatusLineTest, EachCaptureHealthReasonFromItsCause)
{
    const struct {
        const char* name;
        std::function<void(StatusLineTest&)> cause;
        const char* reason;
    } cases[] = {
        {"no window", [](StatusLineTest& t) { t.closeGame(); }, "ゲームウィンドウが見つかりません"},
        {"behind", [](StatusLineTest& t) { t.background(); }, "ゲームウィンドウが前面にありません"},
        {"exp blank", [](StatusLineTest& t) { t.show("35", "", "1000"); },
         "Exp読取失敗: 範囲に文字色なし"},
        {"coins blank", [](StatusLineTest& t) { t.show("35", "12.34", ""); },
         "ｺｲﾝ読取失敗: 範囲に文字色なし"},
        {"level outside", [](StatusLineTest& t) { t.p.settings.CaptureArea[AreaLevel].X = 1090; },
         "Lv読取失敗: 範囲がウィンドウの外"},
        {"level glyphs unknown",
         [](StatusLineTest& t) {
             for (std::string& glyph : t.p.settings.PatternString[CategoryLevel])
                 glyph = "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF";
         },
         "Lv読取失敗: パターンにない文字"},
        {"two at once", [](StatusLineTest& t) { t.show("", "12.34", ""); },
         "Lv読取失敗: 範囲に文字色なし / ｺｲﾝ読取失敗: 範囲に文字色なし"},
        // What a game drawn past its window's device context gives the window capture source.
        {"all black",
         [](StatusLineTest& t) {
             const Rect r = t.windows.WindowRect(t.gameWindow);
             t.windows.setImage(t.gameWindow, PixelBuffer(r.width, r.height));
         },
         "all regions black — try the screen capture source"},
        // Black regions of which one lies outside the window: that cause, not the capture source.
        {"all black, level outside",
         [](StatusLineTest& t) {
             const Rect r = t.windows.WindowRect(t.gameWindow);
             t.windows.setImage(t.gameWindow, PixelBuffer(r.width, r.height));
             t.p.settings.CaptureArea[AreaLevel].X = 1090;
         },
         "Lv読取失敗: 範囲がウィンドウの外 / Exp読取失敗: 範囲に文字色なし / ｺｲﾝ読取失敗: "
         "範囲に文字色なし"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusLineTest& t = *this;
        const Settings saved = p.settings;
        LoggingControl(p, LoggingMode::Start);
        show("35", "12.34", "1000");
        CaptureImage(p);
        EXPECT_TRUE(p.captureHealth.healthy());
        EXPECT_TRUE(status().health.empty());

        c.cause(t);
        CaptureImage(p);
        EXPECT_EQ(status().healthReason, c.reason);
        EXPECT_EQ(status().health, std::string(c.reason) + "（1分未満継続）");
        sim.scheduler.runUntil(sim.clock.elapsedMs() + 5 * 60 * 1000);
        CaptureImage(p);
        EXPECT_EQ(status().health, std::string(c.reason) + "（5分継続）");
        EXPECT_TRUE(EndsWith(status().logText(), " | " + std::string(c.reason)));

        p.settings = saved;
        show("35", "12.34", "1000");
        foreground();
        CaptureImage(p);
        EXPECT_TRUE(status().health.empty());
        LoggingControl(p, LoggingMode::Stop);
    }
}

TEST_F(StatusLineTest, TheRollingWindowIsSetWithinItsBoundsAndSaved)
{
    EXPECT_TRUE(SetRollingMinutes(p, 5));
    EXPECT_EQ(p.extra.RollingMinutes, 10);
    EXPECT_EQ(status().rolling, "直近10分  Exp ―  ｺｲﾝ ―");
    EXPECT_TRUE(SetRollingMinutes(p, 500));
    EXPECT_EQ(LoadExtraSettings(p.programFolder).RollingMinutes, 240);
    EXPECT_FALSE(FileExists(JoinPath(p.programFolder, "KM2DConfig.ini")));
}
