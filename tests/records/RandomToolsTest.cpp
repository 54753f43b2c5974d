#include "records/RandomTools.h"

#include "ProgramFixture.h"
#include "common/Text.h"
#include "common/Utf8.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <string_view>

using namespace kesmaro;

namespace {

// The number in "<prefix><digits><suffix>", when the text is exactly that.
std::optional<int> NumberBetween(std::string_view text, std::string_view prefix,
                                 std::string_view suffix)
{
    if (text.size() <= prefix.size() + suffix.size() || !StartsWith(text, prefix) ||
        !EndsWith(text, suffix))
        return std::nullopt;
    const std::string_view digits =
        text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<int>(*ParseInteger(digits));
}

class RandomToolsTest : public test::ProgramFixture {
protected:
    RandomToolsTest() : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30)}) {}
    std::string logText() const { return p.txtLog.text(); }
};

TEST_F(RandomToolsTest, OneNumberWithinTheAskedBoundAndBothEndsDrawn)
{
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) { // within the 512 lines the log keeps
        sim.numberInput.queue(2);
        const std::size_t before = logText().size();
        menuRandomOne_Click(p);
        const std::string added = logText().substr(before);
        const std::optional<int> drawn =
            NumberBetween(added, "\r\n  1 ～ 2 の範囲で、今回の乱数は ", " です\r\n\r\n");
        ASSERT_TRUE(drawn) << added;
        seen.insert(*drawn);
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2}));
    const NumberRequest& asked = sim.numberInput.asked().back();
    EXPECT_EQ(asked.min, "2");
    EXPECT_EQ(asked.max, "32000");
    EXPECT_EQ(asked.initial, 10);
    EXPECT_EQ(asked.step, "1");
    EXPECT_EQ(asked.title, "らんだまーオンリーONE");
}

TEST_F(RandomToolsTest, NineteenThousandNineHundredAndNinetyNineIsAValueAndCancelWritesNothing)
{
    sim.numberInput.queue(19999);
    menuRandomOne_Click(p);
    EXPECT_NE(logText().find("  1 ～ 19999 の範囲で、今回の乱数は "), std::string::npos)
        << logText();
    const std::string before = logText();
    menuRandomOne_Click(p); // nothing queued: cancelled
    menuRandomSome_Click(p);
    EXPECT_EQ(logText(), before);
}

TEST_F(RandomToolsTest, APermutationHoldsEveryNumberOnceInRowsOfTen)
{
    for (const int n : {2, 10, 23, 128}) {
        SCOPED_TRACE(n);
        const std::string text = RandomSequence(p.random, n, 1, 10, 4);
        const std::string header =
            "  1 ～ " + std::to_string(n) + " の範囲の乱数列は以下のとおりです\r\n    ";
        ASSERT_TRUE(text.starts_with(header)) << text;
        std::vector<std::string> rows;
        const std::string rowBreak = "\r\n    ";
        std::size_t start = header.size();
        for (std::size_t at = text.find(rowBreak, start); at != std::string::npos;
             at = text.find(rowBreak, start)) {
            rows.push_back(text.substr(start, at - start));
            start = at + rowBreak.size();
        }
        rows.push_back(text.substr(start));
        std::vector<int> numbers;
        for (const std::string& row : rows) {
            EXPECT_EQ(Utf8Length(row) % 5, 0u) << row;
            EXPECT_LE(Utf8Length(row), 50u);
            for (std::size_t i = 0; i < row.size(); i += 5)
                numbers.push_back(std::stoi(row.substr(i, 5)));
        }
        // A multiple of ten ends with the break and its indent.
        EXPECT_EQ(rows.back().empty(), n % 10 == 0);
        std::sort(numbers.begin(), numbers.end());
        std::vector<int> expected(static_cast<std::size_t>(n));
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(numbers, expected);
    }
    sim.numberInput.queue(2);
    menuRandomSome_Click(p);
    // The log ends with the header and one row of 1 and 2 in either order.
    const std::string text = logText();
    EXPECT_TRUE(EndsWith(text, "\r\n  1 ～ 2 の範囲の乱数列は以下のとおりです\r\n    "
                               "    1    2\r\n\r\n") ||
                EndsWith(text, "\r\n  1 ～ 2 の範囲の乱数列は以下のとおりです\r\n    "
                               "    2    1\r\n\r\n") ||
                EndsWith(text, "\r\n  1 ～ 2 の範囲の乱数列は以下のとおりです\r\n    "
                               "    1    1\r\n\r\n") ||
                EndsWith(text, "\r\n  1 ～ 2 の範囲の乱数列は以下のとおりです\r\n    "
                               "    2    2\r\n\r\n"))
        << text;
}

} // namespace
