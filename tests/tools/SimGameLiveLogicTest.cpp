// What drives the live game's numbers: scripts and the simulated player.

#include "tools/simgame/GameScript.h"
#include "tools/simgame/PlayerSimulation.h"

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
                                              "  604800\t999  100 9223372036854775807  4  \n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.steps.size(), 3u);
    EXPECT_EQ(script.steps[0].line, 3);
    EXPECT_FALSE(script.steps[0].coinArea.has_value());
    EXPECT_EQ(script.steps[1].atMs, 1500);
    EXPECT_EQ(script.steps[1].level, 2);
    EXPECT_DOUBLE_EQ(script.steps[1].expPercent, 12.3);
    EXPECT_EQ(script.steps[1].coins, 1000);
    EXPECT_EQ(script.steps[1].coinArea, CoinArea::Both);
    EXPECT_EQ(script.steps[2].atMs, 604800000);
    EXPECT_EQ(script.steps[2].coins, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(script.steps[2].coinArea, CoinArea::Area4);
}

TEST(GameScript, BadLinesAreRefusedWithTheirNumber)
{
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"0 1 0 0\n1 2 3", "line 2: needs SECONDS LEVEL EXP COINS [COIN-AREA], not '1 2 3'"},
        {"1.2345 1 0 0", "line 1: seconds must be 0 to 604800 with at most three decimals"},
        {"2 1 0 0\n1 1 0 0", "line 2: seconds go back from 2 to 1"},
        {"0 1000 0 0", "line 1: the level must be 1 to 999, not '1000'"},
        {"0 1 100.01 0", "line 1: Exp must be a percentage from 0 to 100"},
        {"0 1 0 9223372036854775808", "coins must be a whole number from 0 to"},
        {"0 1 0 0 \x01", "the coin area must be 2, 4, both or none, not '?'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const GameScript script = ParseGameScript(row.text);
        EXPECT_NE(script.error.find(row.error), std::string::npos) << script.error;
        EXPECT_TRUE(script.steps.empty());
    }
}

GameFrameSpec start(int level, double exp, std::int64_t coins)
{
    GameFrameSpec frameSpec;
    frameSpec.level = level;
    frameSpec.expPercent = exp;
    frameSpec.coins = coins;
    return frameSpec;
}

TEST(PlayerSimulation, TheSameSeedPlaysTheSameGame)
{
    const PlayOptions options{.seed = 42, .expPerMinute = 30, .coinsPerMinute = 5000};
    PlayerSimulation a(start(1, 0, 0), options);
    PlayerSimulation b(start(1, 0, 0), options);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(a.tick(), b.tick());
        ASSERT_EQ(a.frameSpec().expPercent, b.frameSpec().expPercent);
        ASSERT_EQ(a.frameSpec().coins, b.frameSpec().coins);
    }
    EXPECT_GT(a.frameSpec().level, 1);
}

TEST(PlayerSimulation, ValuesStayDrawable)
{
    struct Row {
        const char* name;
        GameFrameSpec from;
        PlayOptions options;
    };
    const Row rows[] = {
        {"the last level", start(999, 99.5, 0), {.expPerMinute = kMaxExpRate}},
        {"the largest amount",
         start(1, 0, std::numeric_limits<std::int64_t>::max() - 10),
         {.coinsPerMinute = kMaxCoinRate}},
        {"out-of-range start", start(5000, 1e300, -4), {.expPerMinute = -1, .coinsPerMinute = -1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PlayerSimulation player(row.from, row.options);
        for (int i = 0; i < 20000; ++i) {
            player.tick();
            ASSERT_EQ(CheckGameFrameSpec(player.frameSpec()), "") << "tick " << i;
        }
    }
}

} // namespace
