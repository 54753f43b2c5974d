// What drives the live game's numbers: scripts and the simulated player.

#include "tools/simgame/GameScript.h"
#include "tools/simgame/PlayerSimulation.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace kesmaro;

namespace {

TEST(GameScript, ReadsStepsWithAnySeparatorAndSkipsCommentsAndBlankLines)
{
    const GameScript script = ParseGameScript("# seconds level exp coins area\r\n"
                                              "\n"
                                              "0 1 0 0\r\n"
                                              "1.5,2,12.3,1000,both\n"
                                              "  1.5\t3  100 9223372036854775807  none  \n"
                                              "604800 999 0.01 5 4");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.steps.size(), 4u);
    EXPECT_EQ(script.steps[0].atMs, 0);
    EXPECT_FALSE(script.steps[0].coinArea.has_value());
    EXPECT_EQ(script.steps[0].line, 3);
    EXPECT_EQ(script.steps[1].atMs, 1500);
    EXPECT_EQ(script.steps[1].level, 2);
    EXPECT_DOUBLE_EQ(script.steps[1].expPercent, 12.3);
    EXPECT_EQ(script.steps[1].coins, 1000);
    EXPECT_EQ(script.steps[1].coinArea, CoinArea::Both);
    EXPECT_EQ(script.steps[2].coins, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(script.steps[2].coinArea, CoinArea::None);
    EXPECT_EQ(script.steps[3].atMs, 604800000);
    EXPECT_EQ(script.steps[3].coinArea, CoinArea::Area4);
}

TEST(GameScript, BadLinesAreRefusedWithTheirNumber)
{
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"1 2 3", "line 1: needs SECONDS LEVEL EXP COINS [COIN-AREA], not '1 2 3'"},
        {"0 1 0 0\n1 2 3 4 2 extra", "line 2: needs SECONDS"},
        {"-1 1 0 0", "line 1: seconds must be 0 to 604800 with at most three decimals, not '-1'"},
        {"1.2345 1 0 0", "not '1.2345'"},
        {"604801 1 0 0", "not '604801'"},
        {"nan 1 0 0", "not 'nan'"},
        {"2 1 0 0\n1 1 0 0", "line 2: seconds go back from 2 to 1"},
        {"0 0 0 0", "line 1: the level must be 1 to 999, not '0'"},
        {"0 1000 0 0", "not '1000'"},
        {"0 1 100.01 0", "line 1: Exp must be a percentage from 0 to 100"},
        {"0 1 1e2 0", "not '1e2'"},
        {"0 1 0 -5", "line 1: coins must be a whole number from 0 to 9223372036854775807"},
        {"0 1 0 9223372036854775808", "not '9223372036854775808'"},
        {"0 1 0 0 3", "line 1: the coin area must be 2, 4, both or none, not '3'"},
        {"0 1 0 0 \x01", "not '?'"},
        {"0 1 0 0 \xff\xfe", "the coin area must be"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const GameScript script = ParseGameScript(row.text);
        EXPECT_TRUE(script.error.contains(QString::fromUtf8(row.error)))
            << script.error.toStdString();
        EXPECT_FALSE(script.error.contains(u'\n'));
        EXPECT_TRUE(script.steps.empty());
    }
}

TEST(GameScript, FilesThatCannotBeAScriptAreRefused)
{
    QTemporaryDir dir;
    EXPECT_TRUE(LoadGameScript(dir.filePath(QStringLiteral("missing.txt")))
                    .error.startsWith(QStringLiteral("cannot read '")));
    EXPECT_TRUE(LoadGameScript(dir.path()).error.startsWith(QStringLiteral("cannot read")));
    const QString big = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(kMaxScriptBytes + 1, '#'));
    }
    EXPECT_TRUE(LoadGameScript(big).error.contains(QStringLiteral("is larger than")));
    const QString bad = dir.filePath(QStringLiteral("bad.txt"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0 1 0 0\n\n5 x 0 0\n");
    }
    const QString error = LoadGameScript(bad).error;
    EXPECT_TRUE(error.endsWith(QStringLiteral("bad.txt' line 3: the level must be 1 to 999, not "
                                              "'x'")))
        << error.toStdString();
}

TEST(GameScript, AStepKeepsTheCoinAreaUnlessItNamesOne)
{
    GameFrameSpec frameSpec;
    frameSpec.coinArea = CoinArea::Area4;
    frameSpec.windowMode = true;
    ScriptStep step{
        .atMs = 0, .line = 1, .level = 3, .expPercent = 4.5, .coins = 6, .coinArea = {}};
    GameFrameSpec next = ApplyScriptStep(frameSpec, step);
    EXPECT_EQ(next.level, 3);
    EXPECT_DOUBLE_EQ(next.expPercent, 4.5);
    EXPECT_EQ(next.coins, 6);
    EXPECT_EQ(next.coinArea, CoinArea::Area4);
    EXPECT_TRUE(next.windowMode);
    step.coinArea = CoinArea::None;
    EXPECT_EQ(ApplyScriptStep(frameSpec, step).coinArea, CoinArea::None);
}

GameFrameSpec start(int level, double exp, std::int64_t coins)
{
    GameFrameSpec frameSpec;
    frameSpec.level = level;
    frameSpec.expPercent = exp;
    frameSpec.coins = coins;
    return frameSpec;
}

// Plays `ticks` ticks and returns the player.
PlayerSimulation play(const GameFrameSpec& from, const PlayOptions& options, int ticks)
{
    PlayerSimulation player(from, options);
    for (int i = 0; i < ticks; ++i)
        player.tick();
    return player;
}

TEST(PlayerSimulation, TheSameSeedPlaysTheSameGameAndAnotherSeedAnother)
{
    const PlayOptions options{.seed = 42, .expPerMinute = 30, .coinsPerMinute = 5000};
    PlayerSimulation a(start(1, 0, 0), options);
    PlayerSimulation b(start(1, 0, 0), options);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(a.tick(), b.tick());
        ASSERT_EQ(a.frameSpec().level, b.frameSpec().level);
        ASSERT_EQ(a.frameSpec().expPercent, b.frameSpec().expPercent);
        ASSERT_EQ(a.frameSpec().coins, b.frameSpec().coins);
    }
    const PlayerSimulation c =
        play(start(1, 0, 0), {.seed = 43, .expPerMinute = 30, .coinsPerMinute = 5000}, 5000);
    EXPECT_NE(c.frameSpec().coins, a.frameSpec().coins);
}

TEST(PlayerSimulation, GainsFollowTheRatesWithLevelUpsAndOccasionalDeaths)
{
    // Four hours of play at 30 % a minute: about 72 levels, less what the deaths cost.
    const int ticks = 4 * 60 * 60 * 1000 / PlayerSimulation::kTickMs;
    const PlayerSimulation player =
        play(start(1, 0, 0), {.seed = 1, .expPerMinute = 30, .coinsPerMinute = 600}, ticks);
    EXPECT_GT(player.deaths(), 20);
    EXPECT_LT(player.deaths(), 100);
    const double deathLoss = player.deaths() * PlayerSimulation::kDeathPenalty / 10000.0;
    const double levels = player.frameSpec().level - 1 + player.frameSpec().expPercent / 100.0;
    EXPECT_EQ(player.levelUps(), player.frameSpec().level - 1);
    EXPECT_NEAR(levels + deathLoss, 72.0, 3.0);
    EXPECT_NEAR(static_cast<double>(player.frameSpec().coins), 600.0 * 240, 600.0 * 240 * 0.05);
}

TEST(PlayerSimulation, ValuesStayDrawable)
{
    struct Row {
        const char* name;
        GameFrameSpec from;
        PlayOptions options;
    };
    const Row rows[] = {
        {"the last level keeps a full bar", start(999, 99.5, 0), {.expPerMinute = kMaxExpRate}},
        {"coins stop at the largest amount",
         start(1, 0, std::numeric_limits<std::int64_t>::max() - 10),
         {.coinsPerMinute = kMaxCoinRate}},
        {"nothing gained at zero rates", start(3, 50, 7), {.expPerMinute = 0, .coinsPerMinute = 0}},
        {"out-of-range starting values are brought in",
         start(5000, 1e300, -4),
         {.expPerMinute = -1, .coinsPerMinute = -1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PlayerSimulation player(row.from, row.options);
        for (int i = 0; i < 20000; ++i) {
            player.tick();
            ASSERT_EQ(CheckGameFrameSpec(player.frameSpec()), "") << "tick " << i;
        }
    }
    const PlayerSimulation last =
        play(start(999, 99.5, 0), {.expPerMinute = kMaxExpRate, .coinsPerMinute = 0}, 400);
    EXPECT_EQ(last.frameSpec().level, 999);
    EXPECT_GT(last.frameSpec().expPercent, 90.0);
    const PlayerSimulation idle =
        play(start(3, 50, 7), {.expPerMinute = 0, .coinsPerMinute = 0}, 20000);
    EXPECT_EQ(idle.frameSpec().level, 3);
    EXPECT_EQ(idle.frameSpec().coins, 7);
    EXPECT_LE(idle.frameSpec().expPercent, 50.0); // only deaths change it
}

} // namespace
